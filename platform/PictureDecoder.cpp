#include "platform/PictureDecoder.h"

#include "platform/JpegReader.h"
#include "platform/PictureIntegrity.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cstdlib>
#include <cstring>

namespace {

enum class FileKind { Jpeg, Bmp, Gif, Other };

FileKind KindOf(const QByteArray& head) {
    if (IsJpegSignature(head))
        return FileKind::Jpeg;
    if (head.startsWith("BM"))
        return FileKind::Bmp;
    if (head.startsWith("GIF8"))
        return FileKind::Gif;
    return FileKind::Other;
}

// What the file's structure promises, read through a mapping of the file so that nothing is
// copied; the mapping goes again before the decoder allocates the picture.
struct Findings {
    FileIntegrity integrity = FileIntegrity::Whole;
    BmpIntegrity bmp;
};

bool Inspect(QFile& file, FileKind kind, Findings& findings) {
    if (kind != FileKind::Bmp && kind != FileKind::Gif)
        return true;
    const qint64 size = file.size();
    uchar* bytes = size > 0 ? file.map(0, size) : nullptr;
    if (bytes == nullptr)
        return false;
    if (kind == FileKind::Bmp) {
        findings.bmp = CheckBmpFile(bytes, size);
        findings.integrity = findings.bmp.integrity;
    } else {
        findings.integrity = CheckGifFile(bytes, size).integrity;
    }
    file.unmap(bytes);
    return findings.integrity != FileIntegrity::Unusable;
}

// Narrows Qt's result to opaque 24-bit rows in its own memory. Transparent pixels are painted over
// white first (white behind the picture, which is the picture drawn on white paper), then Qt packs
// the 32-bit pixels into 24 bits without a second buffer; palette and grey images are expanded.
bool To24Bit(QImage& image) {
    if (image.hasAlphaChannel()) {
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(image.rect(), Qt::white);
    }
    image.convertTo(QImage::Format_RGB888);
    return !image.isNull();
}

// A BMP that breaks off: the rows the file never reached are made white, whatever the reader left
// in them.
void WhitenMissingRows(QImage& image, const BmpIntegrity& bmp) {
    const int missing = image.height() - bmp.completeRows;
    const int first = bmp.topDown ? bmp.completeRows : 0;
    for (int y = first; y < first + missing; ++y)
        std::memset(image.scanLine(y), 0xFF, static_cast<std::size_t>(image.bytesPerLine()));
}

DecodedPicture ReadWithQt(const QString& path, FileKind kind, const Findings& findings) {
    DecodedPicture result;
    if (QImageReader::allocationLimit() < kPictureAllocationLimitMB)
        QImageReader::setAllocationLimit(kPictureAllocationLimitMB);
    QImageReader reader(path);
    reader.setAutoTransform(false);
    if (kind == FileKind::Bmp)
        reader.setFormat("bmp");
    else if (kind == FileKind::Gif)
        reader.setFormat("gif");
    // Pixels that an RLE bitmap's runs skip are left by Qt's reader as they were; it reuses an image
    // of the right size and format, so one made beforehand gives them the first palette colour.
    QImage image;
    const bool prefill = kind == FileKind::Bmp && findings.bmp.leavesGaps;
    if (prefill) {
        const QSize size = reader.size(); // as the header gives it: negative for a top-down bitmap
        image = QImage(size.width(), std::abs(size.height()), QImage::Format_Indexed8);
        if (image.isNull())
            return result;
        image.fill(0);
    }
    const uchar* prefilled = image.constBits();
    if (!reader.read(&image) || image.isNull())
        return result;
    if (prefill && image.constBits() != prefilled)
        return result; // a reader that made its own image cannot vouch for the skipped pixels
    if (!To24Bit(image)) {
        result.result = E_OUTOFMEMORY;
        return result;
    }
    if (kind == FileKind::Bmp && findings.integrity == FileIntegrity::Incomplete)
        WhitenMissingRows(image, findings.bmp);
    result.result = findings.integrity == FileIntegrity::Incomplete ? S_PICTURE_INCOMPLETE : S_OK;
    result.image = std::make_unique<QImage>(std::move(image));
    return result;
}

} // namespace

DecodedPicture DecodePictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return DecodedPicture();
    const FileKind kind = KindOf(file.peek(4));
    if (kind == FileKind::Jpeg) {
        file.close();
        DecodedPicture jpeg = ReadJpegFile(path);
        if (jpeg.result != E_NOTIMPL)
            return jpeg;
    }
    Findings findings;
    const bool usable = Inspect(file, kind, findings);
    file.close();
    if (!usable)
        return DecodedPicture();
    return ReadWithQt(path, kind, findings);
}
