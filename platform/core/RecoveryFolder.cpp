#include "platform/core/RecoveryFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// The error of the first write that did not take all of the bytes; 0 when all were written.
int WriteAll(int descriptor, const QByteArray& contents) {
    const char* at = contents.constData();
    qsizetype left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, at, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        at += written;
        left -= written;
    }
    return 0;
}

QString Location() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir(base).filePath(QStringLiteral("tallyscope"));
}

// Why the folder cannot be made: the error of making its last part, once its parents are made.
int MakeFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isDir())
        return 0;
    if (info.exists() || info.isSymLink())
        return ENOTDIR;
    QDir().mkpath(info.absolutePath());
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 || errno == EEXIST)
        return QFileInfo(folder).isDir() ? 0 : ENOTDIR;
    return errno;
}

// "<id>.journal" and "<id>-3.kept" are both owned by <id>.
QString OwnerIdOf(const QString& fileName) {
    const QString base = fileName.section(QLatin1Char('.'), 0, 0);
    return base.section(QLatin1Char('-'), 0, 1);
}

// What an owner keeps: journals and kept copies. Files set aside or kept as backups are nobody's.
bool IsOwnedFile(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".journal")) || fileName.endsWith(QStringLiteral(".kept"));
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
        if (IsOwnedFile(name))
            ownersWithFiles.insert(OwnerIdOf(name));
    }
    for (const QString& name : names) {
        const QString id = OwnerIdOf(name);
        if (name.endsWith(lockSuffix) && id != ownId && !ownersWithFiles.contains(id))
            TryLock(dir.filePath(name)); // held by a live program, or taken and at once let go
    }
}

} // namespace

std::atomic<int> RecoveryFolder::injectedErrorForTesting{0};
std::atomic<RecoveryFolder::Observer> RecoveryFolder::observerForTesting{nullptr};

QString RecoveryFolder::Path() {
    const QString folder = Location();
    if (MakeFolder(folder) != 0)
        return QString();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

QString RecoveryFolder::InstanceId() {
    const std::lock_guard<std::mutex> guard(g_ownerMutex);
    Owner& owner = TheOwner();
    const QString folder = Path();
    if (folder.isEmpty())
        return QString();
    if (!owner.id.isEmpty() && owner.lock && QFileInfo(owner.lock->fileName()).absolutePath() == folder) {
        if (QFileInfo::exists(owner.lock->fileName()))
            return owner.id;
        // The folder was removed or replaced while the program ran: the same id marks it live
        // again, so that its journal keeps its name and is never taken for an orphan.
        owner.lock.reset();
        owner.lock = TryLock(LockPath(folder, owner.id));
        return owner.lock ? owner.id : QString();
    }
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

// The probe is not flushed: a folder that takes no file, or no byte, says so at the write, and a
// start-up is not held up by the disk.
StorageFailure RecoveryFolder::Check() {
    const QString folder = Location();
    if (const int error = MakeFolder(folder))
        return StorageFailure::FromError(error, folder);
    if (const int injected = injectedErrorForTesting.load())
        return StorageFailure::FromError(injected, folder);
    const QByteArray probe =
        QFile::encodeName(QDir(folder).filePath(QStringLiteral(".probe-%1").arg(QCoreApplication::applicationPid())));
    const int descriptor = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return StorageFailure::FromError(errno, folder);
    int error = WriteAll(descriptor, QByteArrayLiteral("probe\n"));
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    ::unlink(probe.constData());
    StorageFailure failure = StorageFailure::FromError(error, folder);
    failure.folder = folder;
    return failure;
}

// The contents go to "<path>.new", are flushed, and the name is moved over the target; every
// step's error is kept, so that the user can be told what stands in the way.
bool RecoveryFolder::WriteDurably(const QString& path, const QByteArray& contents, StorageFailure* failure) {
    const QString folder = QFileInfo(path).absolutePath();
    const auto fail = [&](int error) {
        if (failure != nullptr)
            *failure = StorageFailure::FromError(error, folder);
        return false;
    };
    if (const int injected = injectedErrorForTesting.load())
        return fail(injected);
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".new";
    const int descriptor = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return fail(errno);
    int error = WriteAll(descriptor, contents);
    if (error == 0 && ::fsync(descriptor) != 0)
        error = errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return fail(error);
    }
    if (!SyncFolder(folder))
        return fail(errno);
    if (failure != nullptr)
        *failure = StorageFailure();
    return true;
}

bool RecoveryFolder::RemoveDurably(const QString& path) {
    if (const Observer observer = observerForTesting.load())
        observer("remove", path);
    if (!QFile::remove(path) && QFileInfo::exists(path))
        return false;
    SyncFolder(QFileInfo(path).absolutePath());
    return true;
}

// A file system that cannot flush a folder at all (EINVAL) has nothing more to flush.
bool RecoveryFolder::SyncFolder(const QString& folder) {
    if (const Observer observer = observerForTesting.load())
        observer("sync", folder);
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = SyncDescriptor(descriptor) || (descriptor >= 0 && errno == EINVAL);
    const int error = errno;
    if (descriptor >= 0)
        ::close(descriptor);
    errno = error;
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

// The newest backup keeps the one name the user knows; older ones take the time they were let go
// in their name. A backup goes only when ten newer ones are kept and it is more than a week old.
bool RecoveryFolder::KeepAsBackup(const QString& path, const QString& suffix) {
    const QDir folder(QFileInfo(path).absolutePath());
    const QString tail = QLatin1Char('.') + suffix + QStringLiteral(".bak");
    const QString newest = folder.filePath(QStringLiteral("previous") + tail);
    if (QFileInfo::exists(newest)) {
        const QString stamp = QFileInfo(newest).lastModified().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
        QString older = folder.filePath(QStringLiteral("previous-") + stamp + tail);
        for (int n = 2; QFileInfo::exists(older); ++n)
            older = folder.filePath(QStringLiteral("previous-%1-%2").arg(stamp).arg(n) + tail);
        if (!QFile::rename(newest, older))
            return false; // the last backup is never replaced unseen
    }
    const bool kept = QFile::rename(path, newest);
    ForgetOldBackups(folder, tail);
    SyncFolder(folder.absolutePath());
    return kept;
}

void RecoveryFolder::ForgetOldBackups(const QDir& folder, const QString& tail) {
    QFileInfoList backups = folder.entryInfoList({QStringLiteral("previous*") + tail}, QDir::Files);
    std::sort(backups.begin(), backups.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.lastModified() > b.lastModified(); });
    const QDateTime weekAgo = QDateTime::currentDateTime().addDays(-kBackupDays);
    for (qsizetype i = kBackupCount; i < backups.size(); ++i) {
        if (backups[i].lastModified() < weekAgo)
            QFile::remove(backups[i].absoluteFilePath());
    }
}

QString RecoveryFolder::SetAside(const QString& path, const QString& reason) {
    QString aside = path + QLatin1Char('.') + reason;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.%2-%3").arg(path, reason).arg(n);
    if (!QFile::rename(path, aside))
        return QString();
    SyncFolder(QFileInfo(path).absolutePath());
    return aside;
}
