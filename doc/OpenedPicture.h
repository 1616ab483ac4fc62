#pragma once
// The open picture's file as it was when it was opened, for the two records of the work that name
// it: the journal's stamp (RecoveredWork::PictureStamp) and the work file's identity
// (WorkState::PictureIdentity). The file is held open from the moment the picture was read, and
// its bytes are hashed from there when a record first needs them (a picture of no more than the
// journal's whole-hash limit once, for both): a file saved over, moved or deleted afterwards is
// still the one held, so it is never mistaken for the one the points were picked on. A file
// rewritten in place before its bytes were read is known to be so: its stamp has no hash and its
// identity is unknown, and neither passes for any file. Safe to use from several threads.

#include "doc/RecoveredWork.h"
#include "platform/core/FileIdentity.h"
#include "work/WorkState.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>

class QFile;

class OpenedPicture {
public:
    // Holds the file at path as it is now. Its identity is not valid when it cannot be opened.
    static std::shared_ptr<const OpenedPicture> Take(const QString& path);
    ~OpenedPicture();
    OpenedPicture(const OpenedPicture&) = delete;
    OpenedPicture& operator=(const OpenedPicture&) = delete;

    // The file when it was taken.
    const FileIdentity& Identity() const { return m_identity; }
    // Both read the held file the first time they are asked.
    RecoveredWork::PictureStamp JournalStamp() const;
    WorkState::PictureIdentity WorkIdentity() const;

private:
    OpenedPicture();
    // The hex SHA-256 of the held bytes [0, headEnd) and [tailFrom, size); empty when they cannot
    // be read or are no longer the file's as it was taken.
    QByteArray Hash(qint64 headEnd, qint64 tailFrom) const;
    // Both hashes are known: the file need not be held any longer.
    void LetGoOfFileIfDone() const;

    FileIdentity m_identity;
    mutable std::mutex m_mutex;
    mutable std::unique_ptr<QFile> m_file;
    // Hex SHA-256 as the journal takes it and of every byte, once read; empty when unknown.
    mutable std::optional<QByteArray> m_journalHash;
    mutable std::optional<QByteArray> m_wholeHash;
};
