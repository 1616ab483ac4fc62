#pragma once
// A copy of a user's file, kept in the recovery folder (RecoveryFolder) while the file itself is
// rewritten in place: between the moment the file is emptied and the moment its new contents are
// on disk, a crash or a power cut would otherwise leave it empty or cut. The copy names the file
// it belongs to and which file that was (device and inode), is on disk before the file is touched,
// and goes only once the new contents are. Each block of new contents is added to the copy before
// it reaches the file, and "done" once all of it is on disk, so that a later start can tell a file
// cut short by the crash (offered back) from one finished, or written since by someone else
// (left alone).
//
// The copy: "TallyscopeKeptFile 2", the target's path in base64, "<device> <inode>", the previous
// contents' size, the previous contents; then any number of "new <size>" blocks and "done".

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

class QIODevice;

class KeptFile {
public:
    // What the target holds now, compared with what the interrupted rewrite left or could have left.
    enum class TargetState { Previous, CutShort, Other };

    // Writes the copy of what the target holds; the copy's path, or "" when it could not be made
    // durable (and then the target must not be touched).
    static QString Keep(const QString& target, const QByteArray& contents);
    // Adds a block of the new contents, before it is written to the target.
    static bool AddNew(const QString& copyPath, const char* data, qint64 size);
    // Notes durably that the new contents are whole on disk.
    static bool MarkDone(const QString& copyPath);
    // A copy read back; nothing for a file that is not a whole copy.
    static std::optional<KeptFile> Read(const QString& copyPath);
    static std::optional<KeptFile> Parse(QIODevice& device);
    // Whether the target still holds the previous contents, or the start of the new ones that the
    // rewrite did not finish: only then may the copy be put back.
    TargetState StateOfTarget() const;
    // Writes the kept contents back into the target, as safely as any export; FALSE on failure.
    bool PutBack() const;

    QString target;
    QByteArray contents;
    quint64 device = 0;
    quint64 inode = 0;
    bool identityKnown = false; // copies of the first kind name no device and inode
    QByteArray newContents;     // what reached the copy of the new contents
    bool newComplete = false;
};
