// Opens arbitrary bytes as a picture through the program's own loading path: the bytes are written
// to a file whose extension follows their signature, as a user's file would be named, and loaded
// with OleLoadPictureFile as the document does. A picture that loads must answer its size and
// handle consistently, every pixel must be readable, and a second load of the same file must give
// the same pixels: a picture never shows memory the file did not define.
#include "platform/Picture.h"

#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>

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

// The decoded pixels, read whole, as one checksum; 0 when the file did not load.
std::uint64_t LoadAndSum(const QString& path) {
    IPictureDisp* raw = nullptr;
    const HRESULT hr = OleLoadPictureFile(COleVariant(path.toUtf8().constData()), &raw);
    std::unique_ptr<IPictureDisp> picture(raw);
    if (FAILED(hr)) {
        if (picture != nullptr)
            std::abort(); // a failure hands out no picture
        return 0;
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
    // Pictures are held in 24-bit rows; every byte of every pixel is read.
    if (handle->format() != QImage::Format_RGB888)
        std::abort();
    const qsizetype rowBytes = qsizetype(handle->width()) * 3;
    std::uint64_t sum = 1469598103934665603ull;
    for (int y = 0; y < handle->height(); ++y) {
        const uchar* line = handle->constScanLine(y);
        for (qsizetype i = 0; i < rowBytes; ++i)
            sum = (sum ^ line[i]) * 1099511628211ull;
    }
    return sum;
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
    const std::uint64_t first = LoadAndSum(path);
    if (LoadAndSum(path) != first) {
        std::fprintf(stderr, "two loads of the same file gave different pixels\n");
        std::abort();
    }
    return 0;
}
