#pragma once
// The open picture's file as it was when it was opened, for the two records of the work that name
// it: the journal's stamp (RecoveredWork::PictureStamp) and the work file's identity
// (WorkState::PictureIdentity). The file is held open from the moment the picture was read, and
// its bytes are hashed once, on a thread of their own, for both (the journal's first): a file
// saved over, moved or deleted afterwards is still the one held, so it is never mistaken for the
// one the points were picked on. A file rewritten in place before its bytes were read is known to
// be so: its stamp has no hash and its identity is unknown, and neither passes for any file.

#include "doc/RecoveredWork.h"
#include "platform/core/FileIdentity.h"
#include "work/WorkState.h"

#include <QString>

#include <atomic>
#include <future>
#include <memory>

class OpenedPicture {
public:
    // Holds the file at path as it is now and starts hashing it. Its identity is not valid when
    // the file cannot be opened.
    static std::shared_ptr<const OpenedPicture> Take(const QString& path);
    ~OpenedPicture();
    OpenedPicture(const OpenedPicture&) = delete;
    OpenedPicture& operator=(const OpenedPicture&) = delete;

    // The file when it was taken.
    const FileIdentity& Identity() const { return m_identity; }
    // Both wait until the bytes have been hashed.
    RecoveredWork::PictureStamp JournalStamp() const;
    WorkState::PictureIdentity WorkIdentity() const;

private:
    OpenedPicture() = default;

    FileIdentity m_identity;
    // Hex SHA-256 as the journal takes it and of every byte; empty when the bytes could not be
    // read while the file stayed the one taken.
    std::shared_future<QByteArray> m_journalHash;
    std::shared_future<QByteArray> m_wholeHash;
    // Set when nobody needs the hashes any more: the hashing stops at its next block.
    std::shared_ptr<std::atomic_bool> m_abandoned = std::make_shared<std::atomic_bool>(false);
};
