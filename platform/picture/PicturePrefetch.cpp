#include "platform/picture/PicturePrefetch.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <future>
#include <mutex>

namespace {

// What identifies the file a prefetch decoded: its absolute path, and its size and time of last
// change, so that a file rewritten in between is decoded again rather than shown as it was.
struct FileStamp {
    QString path;
    qint64 size = -1;
    QDateTime modified;

    static FileStamp Of(const QString& path) {
        const QFileInfo info(path);
        return FileStamp{QDir::cleanPath(info.absoluteFilePath()), info.size(), info.lastModified()};
    }
    bool operator==(const FileStamp&) const = default;
};

struct Pending {
    FileStamp stamp;
    std::future<DecodedPicture> picture;
};

std::mutex g_mutex;
std::optional<Pending> g_pending;

// Takes the pending prefetch out of the shared state, only of this file when one is named, so that
// waiting for it holds no lock.
std::optional<Pending> Release(const QString& absolutePath = QString()) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_pending || (!absolutePath.isEmpty() && g_pending->stamp.path != absolutePath))
        return std::nullopt;
    std::optional<Pending> pending = std::move(g_pending);
    g_pending.reset();
    return pending;
}

} // namespace

void PicturePrefetch::Begin(const QString& path) {
    Discard();
    AllowLargePictures(); // on this thread, so that the worker finds the limit raised and only reads it
    Pending pending{FileStamp::Of(path), std::async(std::launch::async, DecodePictureFile, path)};
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_pending = std::move(pending);
}

std::optional<DecodedPicture> PicturePrefetch::Take(const QString& path) {
    std::optional<Pending> pending = Release(FileStamp::Of(path).path);
    if (!pending)
        return std::nullopt;
    DecodedPicture picture = pending->picture.get();
    if (!(FileStamp::Of(path) == pending->stamp))
        return std::nullopt;
    return picture;
}

void PicturePrefetch::Discard() {
    if (std::optional<Pending> pending = Release())
        pending->picture.wait();
}
