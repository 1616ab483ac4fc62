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

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

class RecoveryFolder {
public:
    // The folder, made (private to the user) on first use; empty when it cannot be had.
    static QString Path();
    // This program's owner id; the first call takes the lock that marks it live.
    static QString InstanceId();
    // A path in the folder for this program: "<id>.<suffix>".
    static QString OwnPath(const QString& suffix);

    static bool WriteDurably(const QString& path, const QByteArray& contents);
    // Removes a file and flushes its folder.
    static bool RemoveDurably(const QString& path);
    // Flushes a folder's entries (a rename or removal in it) to disk.
    static bool SyncFolder(const QString& folder);

    // The orphans with this suffix ("journal", "kept"), newest first.
    static QStringList Orphans(const QString& suffix);
    // Takes an orphan's owner lock for as long as the claim lives, so that two programs starting at
    // once never both offer it; null when its owner turns out to be alive or the lock cannot be had.
    static std::unique_ptr<QLockFile> Claim(const QString& orphanPath);
    // Keeps the file as the one backup of its kind ("previous.<suffix>.bak"), replacing the last.
    static bool KeepAsBackup(const QString& path, const QString& suffix);
};
