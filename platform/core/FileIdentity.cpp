#include "platform/core/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace {
qint64 Nanoseconds(const timespec& time) {
    return static_cast<qint64>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileIdentity FromStat(const struct stat& status) {
    FileIdentity identity;
    identity.device = static_cast<quint64>(status.st_dev);
    identity.inode = static_cast<quint64>(status.st_ino);
    identity.size = static_cast<qint64>(status.st_size);
    identity.modifiedNs = Nanoseconds(status.st_mtim);
    identity.changedNs = Nanoseconds(status.st_ctim);
    return identity;
}
} // namespace

FileIdentity FileIdentity::Of(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return FileIdentity();
    return FromStat(status);
}

FileIdentity FileIdentity::OfDescriptor(int descriptor) {
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0)
        return FileIdentity();
    return FromStat(status);
}
