#include "doc/OpenedPicture.h"

#include <QCryptographicHash>
#include <QFile>
#include <QThreadPool>

#include <algorithm>

namespace {

constexpr qint64 kBlock = qint64{1} << 20;

// The pictures' hashing has a thread of its own, so that it never waits behind other work of the
// global pool, and never takes more than one core from the program however fast pictures are
// opened one after another.
QThreadPool& HashingPool() {
    static QThreadPool pool;
    static const bool oneThread = [] {
        pool.setMaxThreadCount(1);
        return true;
    }();
    (void)oneThread;
    return pool;
}

// Feeds the part of the block [at, at + size) that lies within [from, to) to the hash.
void AddWithin(QCryptographicHash& hash, const char* block, qint64 at, qint64 size, qint64 from, qint64 to) {
    const qint64 begin = std::max(at, from);
    const qint64 end = std::min(at + size, to);
    if (begin < end)
        hash.addData(QByteArrayView(block + (begin - at), end - begin));
}

} // namespace

std::shared_ptr<const OpenedPicture> OpenedPicture::Take(const QString& path) {
    std::shared_ptr<OpenedPicture> opened(new OpenedPicture);
    auto file = std::make_shared<QFile>(path);
    std::promise<Hashes> promise;
    opened->m_hashes = promise.get_future().share();
    if (path.isEmpty() || !file->open(QIODevice::ReadOnly)) {
        promise.set_value(Hashes());
        return opened;
    }
    opened->m_identity = FileIdentity::OfDescriptor(file->handle());
    HashingPool().start([file, identity = opened->m_identity, abandoned = opened->m_abandoned,
                         promise = std::make_shared<std::promise<Hashes>>(std::move(promise))] {
        // Large pictures are stamped in the journal by their first and last halves of its limit.
        const qint64 size = identity.size;
        const qint64 half = RecoveredWork::kWholeHashLimit / 2;
        const bool partial = size > RecoveredWork::kWholeHashLimit;
        QCryptographicHash whole(QCryptographicHash::Sha256);
        QCryptographicHash journal(QCryptographicHash::Sha256);
        QByteArray block(static_cast<qsizetype>(std::min(kBlock, std::max<qint64>(size, 1))), Qt::Uninitialized);
        Hashes hashes;
        qint64 at = 0;
        while (at < size && !*abandoned) {
            const qint64 got = file->read(block.data(), std::min<qint64>(block.size(), size - at));
            if (got <= 0)
                break;
            whole.addData(QByteArrayView(block.constData(), got));
            if (partial) {
                AddWithin(journal, block.constData(), at, got, 0, half);
                AddWithin(journal, block.constData(), at, got, size - half, size);
            }
            at += got;
        }
        hashes.known = at == size && FileIdentity::OfDescriptor(file->handle()) == identity;
        if (hashes.known) {
            hashes.whole = whole.result().toHex();
            hashes.journal = partial ? journal.result().toHex() : hashes.whole;
        }
        file->close();
        promise->set_value(std::move(hashes));
    });
    return opened;
}

OpenedPicture::~OpenedPicture() {
    *m_abandoned = true;
}

RecoveredWork::PictureStamp OpenedPicture::JournalStamp() const {
    RecoveredWork::PictureStamp stamp;
    if (!m_identity.IsValid())
        return stamp;
    stamp.size = m_identity.size;
    stamp.modifiedNs = m_identity.modifiedNs;
    stamp.hash = m_hashes.get().journal;
    return stamp;
}

WorkState::PictureIdentity OpenedPicture::WorkIdentity() const {
    if (!m_identity.IsValid())
        return {};
    const Hashes& hashes = m_hashes.get();
    return hashes.known ? WorkState::PictureIdentity{m_identity.size, hashes.whole}
                        : WorkState::PictureIdentity::Unknown(m_identity.size);
}
