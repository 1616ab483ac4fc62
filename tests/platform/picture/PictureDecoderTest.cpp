// The loader's own decoding against Qt's reading of the same files: JPEG through libjpeg-turbo
// within the tolerance of two JPEG decoders, every other format exactly, all in 24-bit rows, and
// transparency shown on white as before.
#include "platform/picture/PictureDecoder.h"

#include "../../support/GifWriter.h"
#include "../../support/PictureFiles.h"
#include "../../support/TestImages.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// Qt's reading of a file as the loader used to show it: opaque, transparency drawn on white.
QImage ReadWithQt(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QImage decoded = reader.read();
    QImage shown(decoded.size(), QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    painter.drawImage(0, 0, decoded);
    return shown;
}

// The largest difference of any channel of any pixel; -1 when the sizes differ.
int LargestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

QByteArray EncodeProgressiveJpeg(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(90);
    writer.write(picture);
    return bytes;
}

QImage WithAlpha(const QImage& picture) {
    QImage faded = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < faded.height(); ++y)
        for (int x = 0; x < faded.width(); ++x)
            faded.setPixel(x, y, (faded.pixel(x, y) & 0xFFFFFF) | (static_cast<QRgb>((x * 37) % 256) << 24));
    return faded;
}

// A 16 x 16 JPEG whose frame header declares side x side pixels, so that its data gives out within
// the first rows; empty if the encoder wrote no baseline frame.
QByteArray SmallJpegDeclaringASquareOf(int side) {
    QByteArray jpeg = EncodeWithQt(MakeScanPicture(16, 16), "JPEG", 90);
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    if (frame < 0)
        return {};
    for (qsizetype at : {frame + 5, frame + 7}) { // height, then width, big-endian
        jpeg[at] = static_cast<char>(side >> 8);
        jpeg[at + 1] = static_cast<char>(side & 0xFF);
    }
    return jpeg;
}

// The most memory the process has held since the last call, in MiB: Linux resets the peak
// (VmHWM) when 5 is written to clear_refs. -1 where that cannot be read.
long PeakResidentMiBSinceLastCall() {
    QFile status("/proc/self/status");
    long peakKiB = -1;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peakKiB = line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    QFile clear("/proc/self/clear_refs");
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return -1;
    return peakKiB < 0 ? -1 : peakKiB / 1024;
}

// The same BMP stored from the top down: the rows stay as they are, and so come out upside down.
QByteArray StoredTopDown(QByteArray bmp) {
    const qint32 height = -qFromLittleEndian<qint32>(bmp.constData() + 22);
    qToLittleEndian(height, bmp.data() + 22);
    return bmp;
}

} // namespace

TEST(PictureDecoder_Formats, TwentyFourBitRowsMatchQtsReadingOfTheSameFile) {
    TestFiles files;
    const QImage scan = MakeScanPicture(97, 61); // odd sizes: rows padded differently in each format
    const QImage palette = MakePalettePicture(97, 61);
    QImage transparentGif = palette.convertToFormat(QImage::Format_RGB32);
    // Uncompressed BMPs are decoded a strip of rows at a time: two strips and a short one.
    const QImage tall = MakeScanPicture(501, 2 * BmpStripRows(501) + 7);
    const struct {
        const char* name;
        QByteArray bytes;
        int tolerance;
    } cases[] = {
        {"colour.jpg", EncodeWithQt(scan, "JPEG", 90), 2},
        {"grey.jpg", EncodeWithQt(scan.convertToFormat(QImage::Format_Grayscale8), "JPEG", 90), 2},
        {"progressive.jpg", EncodeProgressiveJpeg(scan), 2},
        {"cmyk.jpg", EncodeCmykJpeg(scan), 2},
        {"colour.bmp", EncodeWithQt(scan, "BMP"), 0},
        {"palette.bmp", EncodeWithQt(palette, "BMP"), 0},
        {"mono.bmp", EncodeWithQt(scan.convertToFormat(QImage::Format_Mono), "BMP"), 0},
        {"strips.bmp", EncodeWithQt(tall, "BMP"), 0},
        {"strips-top-down.bmp", StoredTopDown(EncodeWithQt(tall, "BMP")), 0},
        {"strips-16-bit.bmp", EncodeBitFieldsBmp(tall, BitFields::Rgb565), 0},
        {"strips-alpha.bmp", EncodeBitFieldsBmp(WithAlpha(tall), BitFields::Argb8888), 1},
        {"strips-palette.bmp", EncodeWithQt(tall.convertToFormat(QImage::Format_Indexed8), "BMP"), 0},
        {"rle8.bmp", EncodeRleBmp(palette, RleDepth::Eight), 0},
        {"rle4.bmp", EncodeRleBmp(palette, RleDepth::Four), 0},
        {"picture.gif", WriteGif(palette).bytes, 0},
        {"transparent.gif", WriteGif(palette, palette.color(3)).bytes, 0},
        {"alpha.png", EncodeWithQt(WithAlpha(scan), "PNG"), 1},
        {"opaque.png", EncodeWithQt(scan, "PNG"), 0},
        {"palette.png", EncodeWithQt(palette, "PNG"), 0},
        // Read by what the file holds, whatever its name says.
        {"png-named.bmp", EncodeWithQt(scan, "PNG"), 0},
        {"bmp-named.png", EncodeWithQt(scan, "BMP"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = files.Write(c.name, c.bytes);
        const DecodedPicture decoded = DecodePictureFile(path);
        ASSERT_EQ(decoded.result, S_OK);
        ASSERT_NE(decoded.image, nullptr);
        EXPECT_EQ(decoded.image->format(), QImage::Format_RGB888);
        const QImage qt = ReadWithQt(path);
        EXPECT_LE(LargestDifference(*decoded.image, qt), c.tolerance);
        EXPECT_GE(LargestDifference(*decoded.image, qt), 0) << "sizes differ";
    }
}

TEST(PictureDecoder_Formats, TransparentGifPixelsAreWhite) {
    TestFiles files;
    const QImage palette = MakePalettePicture(20, 10);
    const QString path = files.Write("transparent.gif", WriteGif(palette, palette.pixel(0, 0)).bytes);
    const DecodedPicture decoded = DecodePictureFile(path);
    ASSERT_EQ(decoded.result, S_OK);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(decoded.image->pixel(x, y),
                      palette.pixel(x, y) == palette.pixel(0, 0) ? qRgb(255, 255, 255) : palette.pixel(x, y));
}

// A header may promise a picture far beyond what the loader holds; it is refused before anything
// that size is allocated, whatever the decoder would make of the data.
TEST(PictureDecoder_Limits, OversizedJpegRefusedBeforeAllocating) {
    TestFiles files;
    const QByteArray jpeg = SmallJpegDeclaringASquareOf(65000); // 12 GB in 24 bits
    ASSERT_FALSE(jpeg.isEmpty());
    const DecodedPicture decoded = DecodePictureFile(files.Write("huge.jpg", jpeg));
    EXPECT_TRUE(FAILED(decoded.result));
    EXPECT_EQ(decoded.image, nullptr);
}

// A JPEG whose data gives out before its first row is refused as soon as that is known. Declaring
// a picture of a gigabyte, it neither decodes made-up rows for all of it nor waits while the memory
// for them is populated.
TEST(PictureDecoder_Limits, JpegDamagedBeforeItsFirstRowRefusedWithoutFillingAGigabyte) {
    TestFiles files;
    const QByteArray jpeg = SmallJpegDeclaringASquareOf(20000); // 1.2 GB in 24 bits
    ASSERT_FALSE(jpeg.isEmpty());
    const QString path = files.Write("promises-a-gigabyte.jpg", jpeg);
    if (PeakResidentMiBSinceLastCall() < 0)
        GTEST_SKIP() << "this system does not report the peak memory";
    const long before = PeakResidentMiBSinceLastCall();
    const DecodedPicture decoded = DecodePictureFile(path);
    const long peak = PeakResidentMiBSinceLastCall();
    EXPECT_EQ(decoded.result, CTL_E_INVALIDPICTURE);
    EXPECT_EQ(decoded.image, nullptr);
    EXPECT_LT(peak - before, 200) << "MiB more than before the decode";
}

// Another program cuts the file short and writes it back, over and over, while it is decoded. The
// file is read, never mapped, so no decode ends the process; one that read the file while it was
// short is refused, and whatever opens as whole is the whole picture.
TEST(PictureDecoder, FileCutWhileRead_RefusedOrWarnedNeverACrashNeverAMixture) {
    TestFiles files;
    const QImage scan = MakeScanPicture(600, 400);
    const struct {
        const char* name;
        QByteArray bytes;
    } formats[] = {
        {"scan.bmp", EncodeWithQt(scan, "BMP")},
        {"scan.gif", WriteGif(MakePalettePicture(600, 400).convertToFormat(QImage::Format_RGB32)).bytes},
        {"scan.jpg", EncodeWithQt(scan, "JPEG", 90)},
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        const QString path = files.Write(format.name, format.bytes);
        const DecodedPicture intact = DecodePictureFile(path);
        ASSERT_EQ(intact.result, S_OK);
        std::atomic<bool> stop{false};
        std::thread cutter([&] {
            QFile file(path);
            if (!file.open(QIODevice::ReadWrite))
                return;
            for (int i = 0; !stop.load(); ++i) {
                file.resize(format.bytes.size() / (2 + i % 5));
                std::this_thread::sleep_for(std::chrono::microseconds(50 * (i % 7)));
                file.seek(0);
                file.write(format.bytes);
                file.flush();
            }
        });
        int refused = 0;
        for (int i = 0; i < 60; ++i) {
            const DecodedPicture decoded = DecodePictureFile(path);
            if (FAILED(decoded.result)) {
                ++refused;
            } else if (decoded.result == S_OK) {
                ASSERT_NE(decoded.image, nullptr);
                EXPECT_EQ(*decoded.image, *intact.image) << "opened as whole, but not the whole picture";
            }
        }
        stop = true;
        cutter.join();
        RecordProperty(format.name, refused);
    }
}
