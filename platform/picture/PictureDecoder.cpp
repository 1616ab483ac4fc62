#include "platform/picture/PictureDecoder.h"

#include "platform/core/FileIdentity.h"
#include "platform/picture/BmpStripDevice.h"
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

enum class FileKind { Jpeg, Bmp, Gif, Png, Other };

FileKind KindOf(const QByteArray& head) {
    if (IsJpegSignature(head))
        return FileKind::Jpeg;
    if (head.startsWith("BM"))
        return FileKind::Bmp;
    if (head.startsWith("GIF8"))
        return FileKind::Gif;
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return FileKind::Png;
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

// Tells the reader the format the file's first bytes showed. Left to guess, Qt's reader loads every
// image plugin there is and asks each of them before its own BMP reader gets the file: tens of
// milliseconds of a launch, for nothing.
void ReadAs(QImageReader& reader, const char* format) {
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
}

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

// Paints an image with transparent pixels over white (white behind the picture, which is the
// picture drawn on white paper), leaving it opaque in Format_ARGB32_Premultiplied.
void PaintOverWhite(QImage& image) {
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    painter.fillRect(image.rect(), Qt::white);
}

// Narrows Qt's result to opaque 24-bit rows in its own memory. Transparent pixels are painted over
// white first; 32-bit pixels are then packed into 24 bits in place, and palette and grey images
// expanded. The reader must be gone by now: while it keeps a share of the image, the image cannot
// be changed in place.
std::unique_ptr<QImage> To24Bit(QImage image) {
    if (image.hasAlphaChannel())
        PaintOverWhite(image);
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
        ReadAs(reader, "bmp");
        PrepareBmpTarget(reader, findings, image, pixels);
    } else if (kind == FileKind::Gif) {
        ReadAs(reader, "gif");
    } else if (kind == FileKind::Png) {
        ReadAs(reader, "png");
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

// The whole file decoded by Qt's reader at once, in 24-bit rows.
DecodedPicture ReadWholeWithQt(QIODevice& file, FileKind kind, const Findings& findings) {
    DecodedPicture result;
    QImage image;
    std::unique_ptr<PixelBuffer> pixels;
    if (!Read(file, kind, findings, image, pixels))
        return result;
    result.image = To24BitPicture(image, pixels);
    result.result = result.image != nullptr ? S_OK : E_OUTOFMEMORY;
    return result;
}

// ---- BMP in strips ---------------------------------------------------------------------------------

// The most a strip's 32-bit image takes. With the strip's bytes from the file beside it, a strip
// stays within a megabyte, lost in what the program holds anyway; its rows are still many enough
// that making a reader and reading the headers once a strip costs next to nothing.
constexpr qint64 kStripImageBytes = 512 * 1024;
// The most bytes before the rows that every strip repeats. Headers and a palette take about a
// kilobyte; a file whose rows lie much further on is decoded whole instead.
constexpr qint64 kLongestHeaders = 64 * 1024;

// Whether Qt's reader would decode the whole file, as far as its headers tell: it refuses some
// headers outright (a picture of too many pixels, among others) and any image beyond its
// allocation limit, and a strip of such a file is not to be read where the whole would not be.
// declared gets the size as the header gives it: negative height for a top-down bitmap.
bool QtReadsWhole(QIODevice& file, QSize& declared) {
    QImageReader reader(&file);
    ReadAs(reader, "bmp");
    declared = reader.size();
    const QImage::Format format = reader.imageFormat();
    if (declared.width() <= 0 || declared.height() == 0 || format == QImage::Format_Invalid)
        return false;
    const qint64 bitsPerPixel = QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 imageBytes = (declared.width() * bitsPerPixel + 31) / 32 * 4 * std::abs(declared.height());
    const qint64 limit = qint64{QImageReader::allocationLimit()} * 1048576;
    return limit == 0 || imageBytes <= limit;
}

bool FitsInLoader(QSize size) {
    return 3.0 * size.width() * std::abs(size.height()) <= kPictureAllocationLimitMB * 1048576.0;
}

// The picture's rows that the file holds, [first, end) from the top: all of them, or of a file
// that breaks off, those it reaches in file order.
std::pair<int, int> RowsInFile(const BmpIntegrity& bmp, int height) {
    if (bmp.integrity != FileIntegrity::Incomplete)
        return {0, height};
    return bmp.topDown ? std::pair(0, bmp.completeRows) : std::pair(height - bmp.completeRows, height);
}

// Decodes the rows the device shows into strip, opaque at 32 bits a pixel (transparency over white,
// palettes expanded) for packing into the picture.
bool DecodeStrip(BmpStripDevice& device, int rows, QImage& strip) {
    if (strip.height() != rows)
        strip = QImage(); // so that the reader's image for a shorter strip is not made beside the old
    QImageReader reader(&device);
    ReadAs(reader, "bmp");
    if (!reader.read(&strip) || strip.height() != rows)
        return false;
    if (strip.hasAlphaChannel())
        PaintOverWhite(strip);
    else if (strip.format() != QImage::Format_RGB32)
        strip.convertTo(QImage::Format_RGB32);
    return true;
}

bool DecodeStrips(BmpStripDevice& device, const BmpIntegrity& bmp, PixelBuffer& pixels) {
    const int width = pixels.Image().width();
    const auto [first, end] = RowsInFile(bmp, pixels.Image().height());
    QImage strip;
    const int stripRows = BmpStripRows(width);
    for (int top = first; top < end; top += stripRows) {
        const int bottom = std::min(end, top + stripRows);
        if (!device.ShowRows(top, bottom) || !DecodeStrip(device, bottom - top, strip) ||
            !pixels.PackRowsFrom(strip, top))
            return false;
    }
    return true;
}

// An uncompressed BMP whose rows stand alone, decoded by Qt's reader a strip of rows at a time into
// the picture's 24-bit rows, so that nothing larger than a strip is held beside the picture; the
// rows a short file lacks are left to be whitened. E_NOTIMPL, with the file back at its start, for
// a file that is to be decoded whole.
DecodedPicture ReadBmpInStrips(QIODevice& file, const BmpIntegrity& bmp) {
    DecodedPicture result;
    QSize declared;
    if (bmp.pixelsAt > kLongestHeaders || !QtReadsWhole(file, declared) || !FitsInLoader(declared)) {
        result.result = file.seek(0) ? E_NOTIMPL : CTL_E_INVALIDPICTURE;
        return result;
    }
    PixelBuffer pixels(declared.width(), std::abs(declared.height()), QImage::Format_RGB888);
    if (!pixels.IsValid()) {
        result.result = E_OUTOFMEMORY;
        return result;
    }
    BmpStripDevice device(file, bmp, pixels.Image().height());
    if (!device.ReadHeaders() || !DecodeStrips(device, bmp, pixels))
        return result;
    result.result = S_OK;
    result.image = pixels.Release();
    return result;
}

// ---- Either way ------------------------------------------------------------------------------------

// An uncompressed BMP in strips where it can be, anything else whole; a BMP that breaks off with
// the rows it lacks made white.
DecodedPicture ReadWithQt(QIODevice& file, FileKind kind, const Findings& findings) {
    DecodedPicture result;
    result.result = E_NOTIMPL;
    if (kind == FileKind::Bmp && findings.bmp.rowsStandAlone)
        result = ReadBmpInStrips(file, findings.bmp);
    if (result.result == E_NOTIMPL)
        result = ReadWholeWithQt(file, kind, findings);
    if (result.result != S_OK || findings.integrity != FileIntegrity::Incomplete)
        return result;
    if (kind == FileKind::Bmp)
        WhitenMissingRows(*result.image, findings.bmp);
    result.result = S_PICTURE_INCOMPLETE;
    return result;
}

} // namespace

int BmpStripRows(int width) {
    return static_cast<int>(std::max<qint64>(1, kStripImageBytes / (4 * qint64{std::max(width, 1)})));
}

QStringList DecodablePictureSuffixes() {
    QStringList suffixes{"jpg", "jpeg", "jpe", "jfif"};
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString suffix = QString::fromLatin1(format).toLower();
        if (!suffixes.contains(suffix))
            suffixes << suffix;
    }
    return suffixes;
}

void AllowLargePictures() {
    if (QImageReader::allocationLimit() < kPictureAllocationLimitMB)
        QImageReader::setAllocationLimit(kPictureAllocationLimitMB);
}

DecodedPicture DecodePictureFile(const QString& path) {
    AllowLargePictures();
    PictureFile file(path);
    if (!file.Open())
        return DecodedPicture();
    const FileKind kind = KindOf(file.peek(8));
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
