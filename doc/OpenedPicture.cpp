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

// Reads the held file from where it stands into the hashes, until `end`, a block at a time;
// false when it cannot, or when the hashes are no longer wanted.
class HeldFile {
public:
    HeldFile(std::shared_ptr<QFile> file, std::shared_ptr<std::atomic_bool> abandoned)
        : m_file(std::move(file)), m_abandoned(std::move(abandoned)), m_block(kBlock, Qt::Uninitialized) {}

    bool Feed(qint64 from, qint64 end, std::initializer_list<QCryptographicHash*> hashes) {
        if (!m_file->seek(from))
            return false;
        for (qint64 at = from; at < end; ) {
            if (*m_abandoned)
                return false;
            const qint64 got = m_file->read(m_block.data(), std::min<qint64>(m_block.size(), end - at));
            if (got <= 0)
                return false;
            for (QCryptographicHash* hash : hashes)
                hash->addData(QByteArrayView(m_block.constData(), got));
            at += got;
        }
        return true;
    }
    // Whether the bytes held are still those of the file taken: a rewrite in place shows in its
    // size and modification time. Its change time is not looked at: it moves as well when the
    // file is only saved over (renamed onto) or removed, which leaves the bytes held as they were.
    bool Unchanged(const FileIdentity& identity) const {
        const FileIdentity now = FileIdentity::OfDescriptor(m_file->handle());
        return now.device == identity.device && now.inode == identity.inode && now.size == identity.size &&
               now.modifiedNs == identity.modifiedNs;
    }

private:
    std::shared_ptr<QFile> m_file;
    std::shared_ptr<std::atomic_bool> m_abandoned;
    QByteArray m_block;
};

} // namespace

// The journal's hash of a large picture is ready once its two ends are read, so that the journal
// never waits for the whole file; the work file's hash comes when every byte is read.
std::shared_ptr<const OpenedPicture> OpenedPicture::Take(const QString& path) {
    std::shared_ptr<OpenedPicture> opened(new OpenedPicture);
    auto file = std::make_shared<QFile>(path);
    auto journal = std::make_shared<std::promise<QByteArray>>();
    auto whole = std::make_shared<std::promise<QByteArray>>();
    opened->m_journalHash = journal->get_future().share();
    opened->m_wholeHash = whole->get_future().share();
    if (path.isEmpty() || !file->open(QIODevice::ReadOnly)) {
        journal->set_value(QByteArray());
        whole->set_value(QByteArray());
        return opened;
    }
    opened->m_identity = FileIdentity::OfDescriptor(file->handle());
    HashingPool().start([file, identity = opened->m_identity, abandoned = opened->m_abandoned, journal, whole] {
        HeldFile held(file, abandoned);
        const qint64 size = identity.size;
        const qint64 half = RecoveredWork::kWholeHashLimit / 2;
        QCryptographicHash wholeHash(QCryptographicHash::Sha256);
        if (size > RecoveredWork::kWholeHashLimit) {
            QCryptographicHash ends(QCryptographicHash::Sha256);
            const bool read = held.Feed(0, half, {&ends, &wholeHash}) && held.Feed(size - half, size, {&ends}) &&
                              held.Unchanged(identity);
            journal->set_value(read ? ends.result().toHex() : QByteArray());
            const bool all = read && held.Feed(half, size, {&wholeHash}) && held.Unchanged(identity);
            whole->set_value(all ? wholeHash.result().toHex() : QByteArray());
        } else {
            const bool all = held.Feed(0, size, {&wholeHash}) && held.Unchanged(identity);
            const QByteArray hash = all ? wholeHash.result().toHex() : QByteArray();
            journal->set_value(hash);
            whole->set_value(hash);
        }
        file->close();
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
    stamp.hash = m_journalHash.get();
    return stamp;
}

WorkState::PictureIdentity OpenedPicture::WorkIdentity() const {
    if (!m_identity.IsValid())
        return {};
    const QByteArray& hash = m_wholeHash.get();
    return hash.isEmpty() ? WorkState::PictureIdentity::Unknown(m_identity.size)
                          : WorkState::PictureIdentity{m_identity.size, hash};
}
