#include "platform/picture/PicturePrefetch.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <future>
#include <mutex>

namespace {

QString AbsolutePath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

struct Pending {
    QString path; // absolute
    std::future<DecodedPicture> picture;
};

std::mutex g_mutex;
std::optional<Pending> g_pending;

// Takes the pending prefetch out of the shared state, only of this file when one is named, so that
// waiting for it holds no lock.
std::optional<Pending> Release(const QString& absolutePath = QString()) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_pending || (!absolutePath.isEmpty() && g_pending->path != absolutePath))
        return std::nullopt;
    std::optional<Pending> pending = std::move(g_pending);
    g_pending.reset();
    return pending;
}

} // namespace

void PicturePrefetch::Begin(const QString& path) {
    Discard();
    AllowLargePictures(); // on this thread, so that the worker finds the limit raised and only reads it
    Pending pending{AbsolutePath(path), std::async(std::launch::async, DecodePictureFile, path)};
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_pending = std::move(pending);
}

// The decode knows the file it read by device, inode, size and times; the picture is taken only
// when the name still leads to exactly that file. Size and modification time alone would let a
// same-size file rewritten within the file system's time resolution, or put in the old one's place,
// be shown as it was before.
std::optional<DecodedPicture> PicturePrefetch::Take(const QString& path) {
    std::optional<Pending> pending = Release(AbsolutePath(path));
    if (!pending)
        return std::nullopt;
    DecodedPicture picture = pending->picture.get();
    if (!picture.source.IsValid() || !(FileIdentity::Of(path) == picture.source))
        return std::nullopt;
    return picture;
}

void PicturePrefetch::Discard() {
    if (std::optional<Pending> pending = Release())
        pending->picture.wait();
}
