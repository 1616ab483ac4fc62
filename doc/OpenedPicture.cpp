#include "doc/OpenedPicture.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>

namespace {

constexpr qint64 kBlock = qint64{1} << 20;

// Whether the bytes held are still those of the file taken: a rewrite in place shows in its size
// and modification time. Its change time is not looked at: it moves as well when the file is only
// saved over (renamed onto) or removed, which leaves the bytes held as they were.
bool SameBytes(const FileIdentity& now, const FileIdentity& taken) {
    return now.device == taken.device && now.inode == taken.inode && now.size == taken.size &&
           now.modifiedNs == taken.modifiedNs;
}

bool Feed(QFile& file, qint64 from, qint64 to, QCryptographicHash& hash) {
    if (from >= to)
        return true;
    if (!file.seek(from))
        return false;
    QByteArray block(static_cast<qsizetype>(std::min(kBlock, to - from)), Qt::Uninitialized);
    for (qint64 at = from; at < to;) {
        const qint64 got = file.read(block.data(), std::min<qint64>(block.size(), to - at));
        if (got <= 0)
            return false;
        hash.addData(QByteArrayView(block.constData(), got));
        at += got;
    }
    return true;
}

} // namespace

OpenedPicture::OpenedPicture() = default;
OpenedPicture::~OpenedPicture() = default;

std::shared_ptr<const OpenedPicture> OpenedPicture::Take(const QString& path) {
    std::shared_ptr<OpenedPicture> opened(new OpenedPicture);
    auto file = std::make_unique<QFile>(path);
    if (path.isEmpty() || !file->open(QIODevice::ReadOnly))
        return opened;
    opened->m_identity = FileIdentity::OfDescriptor(file->handle());
    opened->m_file = std::move(file);
    return opened;
}

QByteArray OpenedPicture::Hash(qint64 headEnd, qint64 tailFrom) const {
    if (!m_file)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const qint64 size = m_identity.size;
    const bool read = Feed(*m_file, 0, headEnd, hash) && Feed(*m_file, std::max(tailFrom, headEnd), size, hash);
    if (!read || !SameBytes(FileIdentity::OfDescriptor(m_file->handle()), m_identity))
        return {};
    return hash.result().toHex();
}

void OpenedPicture::LetGoOfFileIfDone() const {
    if (m_journalHash && m_wholeHash)
        m_file.reset();
}

// A large picture is stamped in the journal by its first and last halves of the limit only, as
// RecoveredWork::PictureStamp::Of stamps it; a smaller one by all its bytes, the work file's hash.
RecoveredWork::PictureStamp OpenedPicture::JournalStamp() const {
    RecoveredWork::PictureStamp stamp;
    if (!m_identity.IsValid())
        return stamp;
    const std::lock_guard lock(m_mutex);
    if (!m_journalHash) {
        const qint64 size = m_identity.size;
        const qint64 half = RecoveredWork::kWholeHashLimit / 2;
        if (size > RecoveredWork::kWholeHashLimit) {
            m_journalHash = Hash(half, size - half);
        } else {
            m_wholeHash = Hash(size, size);
            m_journalHash = m_wholeHash;
        }
        LetGoOfFileIfDone();
    }
    stamp.size = m_identity.size;
    stamp.modifiedNs = m_identity.modifiedNs;
    stamp.hash = *m_journalHash;
    return stamp;
}

WorkState::PictureIdentity OpenedPicture::WorkIdentity() const {
    if (!m_identity.IsValid())
        return {};
    const std::lock_guard lock(m_mutex);
    if (!m_wholeHash) {
        m_wholeHash = Hash(m_identity.size, m_identity.size);
        if (m_identity.size <= RecoveredWork::kWholeHashLimit)
            m_journalHash = m_wholeHash;
        LetGoOfFileIfDone();
    }
    return m_wholeHash->isEmpty() ? WorkState::PictureIdentity::Unknown(m_identity.size)
                                  : WorkState::PictureIdentity{m_identity.size, *m_wholeHash};
}
