#include "platform/picture/PictureDecoder.h"

#include "platform/picture/JpegReader.h"
#include "platform/picture/PictureIntegrity.h"
#include "platform/picture/PixelBuffer.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cstdlib>
#include <cstring>
#include <utility>

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
// white first (white behind the picture, which is the picture drawn on white paper); 32-bit pixels
// are then packed into 24 bits in place, and palette and grey images expanded. The reader must be
// gone by now: while it keeps a share of the image, the image cannot be changed in place.
std::unique_ptr<QImage> To24Bit(QImage image) {
    if (image.hasAlphaChannel()) {
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(image.rect(), Qt::white);
    }
    if (std::unique_ptr<QImage> packed = PixelBuffer::PackInPlace(image))
        return packed;
    image.convertTo(QImage::Format_RGB888);
    return image.isNull() ? nullptr : std::make_unique<QImage>(std::move(image));
}

// A BMP that breaks off: the rows the file never reached are made white, whatever the reader left
// in them. They lie next to each other in the image's one block, so one fill covers them: a short
// file that declares millions of rows costs no more than its pixels' size.
void WhitenMissingRows(QImage& image, const BmpIntegrity& bmp) {
    const int missing = image.height() - bmp.completeRows;
    if (missing <= 0)
        return;
    const int first = bmp.topDown ? bmp.completeRows : 0;
    std::memset(image.scanLine(first), 0xFF, static_cast<std::size_t>(image.bytesPerLine()) * missing);
}

// Qt's BMP reader fills an image of the right size and format that it is given rather than making
// its own. A 16-, 24- or 32-bit bitmap is given memory of our own (PixelBuffer), to be packed into
// 24-bit rows in place. The pixels that an RLE bitmap's runs skip are left as the image had them,
// so an RLE bitmap with such gaps is given an image of palette colour 0.
void PrepareBmpTarget(QImageReader& reader, const Findings& findings, QImage& image,
                      std::unique_ptr<PixelBuffer>& pixels) {
    const QSize declared = reader.size(); // as the header gives it: negative for a top-down bitmap
    const QSize size(declared.width(), std::abs(declared.height()));
    if (findings.bmp.leavesGaps) {
        image = QImage(size, QImage::Format_Indexed8);
        image.fill(0);
    } else if (reader.imageFormat() == QImage::Format_RGB32 &&
               4.0 * size.width() * size.height() <= kPictureAllocationLimitMB * 1048576.0) {
        pixels = std::make_unique<PixelBuffer>(size.width(), size.height(), QImage::Format_RGB32);
        if (!pixels->IsValid())
            pixels.reset();
    }
}

// Reads the file with Qt's reader into our memory (pixels) where the BMP reader takes it, else into
// image; false when the reader fails. The reader is gone on return, so the image is not shared.
bool Read(const QString& path, FileKind kind, const Findings& findings, QImage& image,
          std::unique_ptr<PixelBuffer>& pixels) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    if (kind == FileKind::Bmp) {
        reader.setFormat("bmp");
        PrepareBmpTarget(reader, findings, image, pixels);
    } else if (kind == FileKind::Gif) {
        reader.setFormat("gif");
    }
    QImage& target = pixels != nullptr ? pixels->Image() : image;
    const uchar* prepared = target.constBits();
    if (!reader.read(&target) || target.isNull())
        return false;
    if (pixels != nullptr && !pixels->HoldsImage()) { // the reader made an image of its own
        image = std::exchange(pixels->Image(), QImage());
        pixels.reset();
    }
    // A reader that made its own image cannot vouch for the pixels an RLE bitmap skips.
    return !findings.bmp.leavesGaps || image.constBits() == prepared;
}

// The picture in 24-bit rows, in whichever memory holds it.
std::unique_ptr<QImage> To24BitPicture(QImage& image, std::unique_ptr<PixelBuffer>& pixels) {
    if (pixels != nullptr)
        return pixels->PackTo24Bit() ? pixels->Release() : nullptr;
    return To24Bit(std::exchange(image, QImage()));
}

DecodedPicture ReadWithQt(const QString& path, FileKind kind, const Findings& findings) {
    DecodedPicture result;
    QImage image;
    std::unique_ptr<PixelBuffer> pixels;
    if (!Read(path, kind, findings, image, pixels))
        return result;
    std::unique_ptr<QImage> picture = To24BitPicture(image, pixels);
    if (picture == nullptr) {
        result.result = E_OUTOFMEMORY;
        return result;
    }
    if (kind == FileKind::Bmp && findings.integrity == FileIntegrity::Incomplete)
        WhitenMissingRows(*picture, findings.bmp);
    result.result = findings.integrity == FileIntegrity::Incomplete ? S_PICTURE_INCOMPLETE : S_OK;
    result.image = std::move(picture);
    return result;
}

} // namespace

void AllowLargePictures() {
    if (QImageReader::allocationLimit() < kPictureAllocationLimitMB)
        QImageReader::setAllocationLimit(kPictureAllocationLimitMB);
}

DecodedPicture DecodePictureFile(const QString& path) {
    AllowLargePictures();
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
