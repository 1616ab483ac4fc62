#pragma once
// A copy of a user's file, kept in the recovery folder (RecoveryFolder) while the file itself is
// rewritten in place: between the moment the file is emptied and the moment its new contents are
// on disk, a crash or a power cut would otherwise leave it empty or cut. The copy names the file
// it belongs to, is on disk before the file is touched, and goes only once the new contents are.
// A copy whose owner did not live to remove it is offered back by the next start.

#include <QByteArray>
#include <QString>

#include <optional>

class KeptFile {
public:
    // Writes the copy of what the target holds; the copy's path, or "" when it could not be made
    // durable (and then the target must not be touched).
    static QString Keep(const QString& target, const QByteArray& contents);
    // A copy read back; nothing for a file that is not a whole copy.
    static std::optional<KeptFile> Read(const QString& copyPath);
    // Writes the kept contents back into the target, as safely as any export; FALSE on failure.
    bool PutBack() const;

    QString target;
    QByteArray contents;
};
