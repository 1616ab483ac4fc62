#include "platform/picture/PictureDecoder.h"

#include "platform/core/FileIdentity.h"
#include "platform/picture/JpegReader.h"
#include "platform/picture/PictureIntegrity.h"
#include "platform/picture/PixelBuffer.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
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

// The picture file, opened once for the whole decode and read, never mapped: a mapped file that
// another program cuts short (a scanner still writing it, a synced folder, a network share) ends
// the process on the next touch of the missing part. Every read is measured against the size the
// file had when it was opened, so that a file cut short meanwhile is noticed rather than decoded
// from whatever the decoder's memory held.
class PictureFile final : public QFile {
public:
    explicit PictureFile(const QString& path) : QFile(path) {}

    bool Open() {
        if (!open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return false;
        m_opened = FileIdentity::OfDescriptor(handle());
        return m_opened.IsValid();
    }
    const FileIdentity& Opened() const { return m_opened; }
    // Whether the file is still the one opened, and held all it promised whenever it was read.
    bool Unchanged() const { return !m_cameShort && FileIdentity::OfDescriptor(handle()) == m_opened; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 expected = std::min(maxSize, std::max<qint64>(m_opened.size - pos(), 0));
        const qint64 got = QFile::readData(data, maxSize);
        if (got < expected)
            m_cameShort = true;
        return got;
    }

private:
    FileIdentity m_opened;
    bool m_cameShort = false;
};

// What the file's structure promises, read through the file itself.
struct Findings {
    FileIntegrity integrity = FileIntegrity::Whole;
    BmpIntegrity bmp;
};

// Leaves the file at its start for the decoder, whoever read it before.
bool Inspect(PictureFile& file, FileKind kind, Findings& findings) {
    if (kind != FileKind::Bmp && kind != FileKind::Gif)
        return file.seek(0);
    const qint64 size = file.Opened().size;
    if (kind == FileKind::Bmp) {
        findings.bmp = CheckBmpFile(file, size);
        findings.integrity = findings.bmp.integrity;
    } else {
        findings.integrity = CheckGifFile(file, size).integrity;
    }
    return findings.integrity != FileIntegrity::Unusable && file.seek(0);
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
bool Read(QIODevice& file, FileKind kind, const Findings& findings, QImage& image,
          std::unique_ptr<PixelBuffer>& pixels) {
    QImageReader reader(&file);
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

DecodedPicture ReadWithQt(QIODevice& file, FileKind kind, const Findings& findings) {
    DecodedPicture result;
    QImage image;
    std::unique_ptr<PixelBuffer> pixels;
    if (!Read(file, kind, findings, image, pixels))
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
    PictureFile file(path);
    if (!file.Open())
        return DecodedPicture();
    const FileKind kind = KindOf(file.peek(4));
    DecodedPicture decoded;
    if (kind == FileKind::Jpeg)
        decoded = ReadJpegFile(file.handle());
    if (kind != FileKind::Jpeg || decoded.result == E_NOTIMPL) {
        Findings findings;
        decoded = Inspect(file, kind, findings) ? ReadWithQt(file, kind, findings) : DecodedPicture();
    }
    // A file rewritten or cut while it was read may have given the decoder a mixture of two files,
    // or less than its own structure promised: what came out is not that file's picture.
    if (!file.Unchanged())
        return DecodedPicture();
    decoded.source = file.Opened();
    return decoded;
}
