#include "platform/core/RecoveryFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>

namespace {

// The lock of this program's owner id, held from the first use to the end of the process.
struct Owner {
    QString id;
    std::unique_ptr<QLockFile> lock;
};

Owner& TheOwner() {
    static Owner owner;
    return owner;
}

std::mutex g_ownerMutex;

bool SyncDescriptor(int descriptor) {
    return descriptor >= 0 && ::fsync(descriptor) == 0;
}

// "<id>.journal" and "<id>-3.kept" are both owned by <id>.
QString OwnerIdOf(const QString& fileName) {
    const QString base = fileName.section(QLatin1Char('.'), 0, 0);
    return base.section(QLatin1Char('-'), 0, 1);
}

QString LockPath(const QString& folder, const QString& id) {
    return QDir(folder).filePath(id + QStringLiteral(".lock"));
}

// Stale means only that the owner process is gone: a live program may hold its lock for days.
std::unique_ptr<QLockFile> TryLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

// A killed program cannot take its lock away with it: an owner that left nothing to offer back
// would leave its lock file behind for good. Taking such a lock and letting it go removes it.
void ForgetDeadOwnersWithNothingLeft(const QString& folder, const QString& ownId) {
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files);
    const QString lockSuffix = QStringLiteral(".lock");
    QSet<QString> ownersWithFiles;
    for (const QString& name : names) {
        if (!name.endsWith(lockSuffix))
            ownersWithFiles.insert(OwnerIdOf(name));
    }
    for (const QString& name : names) {
        const QString id = OwnerIdOf(name);
        if (name.endsWith(lockSuffix) && id != ownId && !ownersWithFiles.contains(id))
            TryLock(dir.filePath(name)); // held by a live program, or taken and at once let go
    }
}

} // namespace

QString RecoveryFolder::Path() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = QDir(base).filePath(QStringLiteral("tallyscope"));
    if (!QDir().mkpath(folder))
        return QString();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

QString RecoveryFolder::InstanceId() {
    const std::lock_guard<std::mutex> guard(g_ownerMutex);
    Owner& owner = TheOwner();
    const QString folder = Path();
    if (!owner.id.isEmpty() && owner.lock && QFileInfo(owner.lock->fileName()).absolutePath() == folder)
        return owner.id;
    // A new folder (tests change it) takes a new id; so does an id whose lock is somebody else's.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString id = QStringLiteral("%1-%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (std::unique_ptr<QLockFile> lock = TryLock(LockPath(folder, id))) {
            owner.id = id;
            owner.lock = std::move(lock);
            return id;
        }
    }
    return QString();
}

QString RecoveryFolder::OwnPath(const QString& suffix) {
    const QString id = InstanceId();
    return id.isEmpty() ? QString() : QDir(Path()).filePath(id + QLatin1Char('.') + suffix);
}

bool RecoveryFolder::WriteDurably(const QString& path, const QByteArray& contents) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(contents) != contents.size() || !file.flush() || !SyncDescriptor(file.handle())) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit() && SyncFolder(QFileInfo(path).absolutePath());
}

bool RecoveryFolder::RemoveDurably(const QString& path) {
    if (!QFile::remove(path) && QFileInfo::exists(path))
        return false;
    SyncFolder(QFileInfo(path).absolutePath());
    return true;
}

bool RecoveryFolder::SyncFolder(const QString& folder) {
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = SyncDescriptor(descriptor);
    if (descriptor >= 0)
        ::close(descriptor);
    return synced;
}

QStringList RecoveryFolder::Orphans(const QString& suffix) {
    const QString folder = Path();
    if (folder.isEmpty())
        return {};
    const QString ownId = InstanceId();
    ForgetDeadOwnersWithNothingLeft(folder, ownId);
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.") + suffix}, QDir::Files);
    std::sort(files.begin(), files.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.lastModified() > b.lastModified(); });
    QStringList orphans;
    for (const QFileInfo& file : files) {
        const QString id = OwnerIdOf(file.fileName());
        if (id == ownId || file.fileName().startsWith(QStringLiteral("previous.")))
            continue;
        // The owner is alive while its lock is held by a running process.
        if (TryLock(LockPath(folder, id)))
            orphans.append(file.absoluteFilePath());
    }
    return orphans;
}

std::unique_ptr<QLockFile> RecoveryFolder::Claim(const QString& orphanPath) {
    const QFileInfo file(orphanPath);
    if (!file.exists())
        return nullptr;
    return TryLock(LockPath(file.absolutePath(), OwnerIdOf(file.fileName())));
}

bool RecoveryFolder::KeepAsBackup(const QString& path, const QString& suffix) {
    const QString backup = QDir(QFileInfo(path).absolutePath())
                               .filePath(QStringLiteral("previous.") + suffix + QStringLiteral(".bak"));
    QFile::remove(backup);
    const bool kept = QFile::rename(path, backup);
    SyncFolder(QFileInfo(path).absolutePath());
    return kept;
}
