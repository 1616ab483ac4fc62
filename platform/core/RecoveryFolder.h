#pragma once
// The per-user folder where work that must outlive a crash, a kill or a power cut is kept:
// $XDG_STATE_HOME/tallyscope (~/.local/state/tallyscope when the variable is not set), never beside
// the user's own files. Each running program is one owner there, known by an id and holding the
// lock file "<id>.lock" (QLockFile, with its process id) for as long as it runs; what an owner
// keeps is named "<id>.<what>" or "<id>-<n>.<what>". Files whose owner no longer runs are orphans:
// a later start finds them and offers them back. A live program's files are never orphans.
//
// Writes are durable: the contents go to a temporary file that is flushed to disk (fsync) and then
// renamed over the target, and the folder is flushed too, so after any crash a file is either
// whole, new or old, or absent.

#include "platform/core/StorageFailure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QDir;
class QLockFile;

class RecoveryFolder {
public:
    // The folder, made (private to the user) on first use; empty when it cannot be had.
    static QString Path();
    // This program's owner id; the first call takes the lock that marks it live.
    static QString InstanceId();
    // A path in the folder for this program: "<id>.<suffix>".
    static QString OwnPath(const QString& suffix);

    // Whether a file can be kept in the folder now: it is made if need be, and a small file is
    // written durably there and removed; the failure says why not.
    static StorageFailure Check();

    // FALSE when any step failed; the failure (when asked for) says why, and the target is as it was.
    static bool WriteDurably(const QString& path, const QByteArray& contents, StorageFailure* failure = nullptr);
    // Removes a file and flushes its folder.
    static bool RemoveDurably(const QString& path);
    // Flushes a folder's entries (a rename or removal in it) to disk.
    static bool SyncFolder(const QString& folder);

    // The orphans with this suffix ("journal", "kept"), newest first.
    static QStringList Orphans(const QString& suffix);
    // Takes an orphan's owner lock for as long as the claim lives, so that two programs starting at
    // once never both offer it; null when its owner turns out to be alive or the lock cannot be had.
    static std::unique_ptr<QLockFile> Claim(const QString& orphanPath);
    // Keeps a file that was let go as the newest backup of its kind ("previous.<suffix>.bak"); the
    // one it replaces is renamed "previous-<time>.<suffix>.bak". The last kBackupCount backups
    // are kept, and older ones while they are younger than kBackupDays. Renamed "<anything>.<suffix>",
    // a backup is offered again.
    static bool KeepAsBackup(const QString& path, const QString& suffix);
    static constexpr int kBackupCount = 10;
    static constexpr int kBackupDays = 7;
    // Moves a file out of the offers ("<name>.<reason>"), without deleting it; its new path, or ""
    // when it could not be moved.
    static QString SetAside(const QString& path, const QString& reason);

    // An errno that every durable write (and Check) fails with, as a full or read-only disk would
    // make it fail; 0 for none.
    static std::atomic<int> injectedErrorForTesting;
    // Told of every folder flush ("sync") and removal ("remove"), in the order they happen.
    using Observer = void (*)(const char* step, const QString& path);
    static std::atomic<Observer> observerForTesting;

private:
    static void ForgetOldBackups(const QDir& folder, const QString& tail);
};
