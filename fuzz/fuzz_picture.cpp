// Opens arbitrary bytes as a picture through the program's own loading path: the bytes are written
// to a file whose extension follows their signature, as a user's file would be named, and loaded
// with OleLoadPictureFile as the document does. A picture that loads must answer its size and
// handle consistently, every pixel must be readable, and a second load of the same file must give
// the same pixels: a picture never shows memory the file did not define. Large pictures the loader
// would accept are left out (see kLargestDecodedPixels).
#include "platform/picture/Picture.h"

#include <QGuiApplication>
#include <QHashFunctions>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

QString g_folder;

const char* ExtensionFor(std::string_view bytes) {
    if (bytes.starts_with("BM"))
        return ".bmp";
    if (bytes.starts_with("GIF8"))
        return ".gif";
    if (bytes.starts_with("\xFF\xD8"))
        return ".jpg";
    return ".dat";
}

// The decoded pixels, read whole, as one checksum (0 when the file did not load), and how many.
struct Loaded {
    std::uint64_t sum = 0;
    qint64 pixels = 0;
};

Loaded LoadAndSum(const QString& path) {
    IPictureDisp* raw = nullptr;
    const HRESULT hr = OleLoadPictureFile(COleVariant(path.toUtf8().constData()), &raw);
    std::unique_ptr<IPictureDisp> picture(raw);
    if (FAILED(hr)) {
        if (picture != nullptr)
            std::abort(); // a failure hands out no picture
        return {};
    }
    short type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = nullptr;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (picture == nullptr || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture->get_Handle(&handle)) || handle == nullptr || handle->isNull() ||
        FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)) ||
        width != AfxPixelsToHimetric(handle->width()) || height != AfxPixelsToHimetric(handle->height()))
        std::abort();
    // Pictures are held in 24-bit rows; every byte of every pixel is read. Qt hashes the rows: an
    // instrumented loop over a picture of a gigabyte would take longer than the input's time limit.
    if (handle->format() != QImage::Format_RGB888)
        std::abort();
    const qsizetype rowBytes = qsizetype(handle->width()) * 3;
    std::size_t sum = 1;
    for (int y = 0; y < handle->height(); ++y)
        sum = qHashBits(handle->constScanLine(y), static_cast<std::size_t>(rowBytes), sum);
    return {sum == 0 ? 1 : sum, qint64{handle->width()} * handle->height()}; // 0: did not load
}

// Pictures the loader accepts are decoded by the same code at every size, but under the fuzzer's
// instrumentation one of hundreds of megapixels takes a minute, mostly in per-row loops, and a
// run would spend its time there. Inputs declaring more pixels than this are left out, unless
// they declare more than the loader holds at all: that refusal is quick and is fuzzed.
constexpr qint64 kLargestDecodedPixels = qint64{4} << 20;

// The pixels the header promises. Qt answers a GIF's first frame, but the picture is as large as
// the logical screen, which the bytes after the signature give.
qint64 DeclaredPixels(const QString& path, std::string_view bytes) {
    const QSize declared = QImageReader(path).size();
    qint64 pixels = qint64{declared.width()} * std::abs(qint64{declared.height()});
    if (bytes.starts_with("GIF8") && bytes.size() >= 10) {
        const auto at = [&](std::size_t i) { return qint64{static_cast<unsigned char>(bytes[i])}; };
        pixels = std::max(pixels, (at(6) | at(7) << 8) * (at(8) | at(9) << 8));
    }
    return pixels;
}

bool DeclaresAPictureTooSlowToFuzz(const QString& path, std::string_view bytes) {
    const qint64 pixels = DeclaredPixels(path, bytes);
    const qint64 loaderLimitPixels = qint64{kPictureAllocationLimitMB} * 1048576 / 3;
    return pixels > kLargestDecodedPixels && pixels <= loaderLimitPixels;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    static QTemporaryDir folder;
    g_folder = folder.path();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QString path = g_folder + "/input" + ExtensionFor(bytes);
    {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(bytes.data(), static_cast<qint64>(size)) != qint64(size) || !file.commit())
            return 0;
    }
    if (DeclaresAPictureTooSlowToFuzz(path, bytes))
        return -1; // kept out of the corpus
    const Loaded first = LoadAndSum(path);
    if (first.pixels > kLargestDecodedPixels)
        return -1; // a header Qt reads otherwise than the loader does: no second, slow load
    if (LoadAndSum(path).sum != first.sum) {
        std::fprintf(stderr, "two loads of the same file gave different pixels\n");
        std::abort();
    }
    return 0;
}
