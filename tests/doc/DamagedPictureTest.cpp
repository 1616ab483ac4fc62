// Damaged picture files through the document's real open, with picked points and a calibration in
// place: each is refused with the open-failure message and leaves the work exactly as it was, or
// opens with the incomplete-picture warning, or (damage that real files commonly carry) opens
// silently; and whatever opens shows the same pixels every time.
#include "doc/CTallyscopeDoc.h"
#include "platform/picture/PictureDecoder.h"

#include "../support/GifWriter.h"
#include "../support/PictureFiles.h"
#include "../support/ScriptedModalHost.h"
#include "../support/TestImages.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

enum class Outcome { Refused, OpensWithWarning, Opens };

struct DamagedFile {
    const char* name;
    QByteArray bytes;
    Outcome outcome;
    std::function<void(const QImage&)> checkPixels; // beyond sameness, for what opened
};

// A picture as the document holds it, copied out so that it outlives the document's picture.
QImage Held(const CTallyscopeDoc& doc) {
    const HBITMAP bitmap = doc.GetBitmapHandle();
    return bitmap != nullptr ? bitmap->copy() : QImage();
}

// Leaves freed heap blocks of about the picture's size full of a pattern, so that a decoder that
// hands out memory it never wrote shows the pattern instead of the zeros of fresh memory.
void PoisonFreedMemory(qsizetype bytes) {
    std::vector<void*> blocks;
    for (qsizetype size : {bytes, bytes + 16, bytes * 4 / 3, bytes * 4 / 3 + 16}) {
        void* block = std::malloc(static_cast<std::size_t>(size));
        std::memset(block, 0xA5, static_cast<std::size_t>(size));
        blocks.push_back(block);
    }
    for (void* block : blocks)
        std::free(block);
}

QByteArray WithLe32(QByteArray bytes, int at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray WithByte(QByteArray bytes, int at, int value) {
    bytes[at] = static_cast<char>(value);
    return bytes;
}

struct Intact {
    QImage scan = MakeScanPicture(64, 256);
    QImage palette = MakePalettePicture(64, 48);
    QByteArray bmp = EncodeWithQt(scan, "BMP");
    QByteArray jpeg = EncodeWithQt(scan, "JPEG", 90);
    QByteArray rle8 = EncodeRleBmp(palette, RleDepth::Eight);
    QByteArray rle4 = EncodeRleBmp(palette, RleDepth::Four);
    GifFile gif = WriteGif(palette.convertToFormat(QImage::Format_RGB32));
    QByteArray progressive = EncodeMultiScanJpeg(scan, JpegScans::Progressive);
    QByteArray oneComponentEach = EncodeMultiScanJpeg(scan, JpegScans::OneComponentEach);
    int bmpStride = 64 * 3;
    int scanData = JpegScanDataOffset(jpeg);
    // A BMP decoded in several strips of rows, and how many of its rows a cut inside its second
    // strip keeps.
    QByteArray stripsBmp = EncodeWithQt(MakeScanPicture(501, 3 * BmpStripRows(501)), "BMP");
    int stripsStride = (501 * 3 + 3) / 4 * 4;
    int stripsRowsKept = BmpStripRows(501) * 3 / 2;
};

class DamagedPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString kept = files.Save(MakeTestImage(40, 30, Qt::cyan), "kept.bmp");
        ASSERT_TRUE(doc.OnOpenDocument(kept.toUtf8().constData()));
        doc.m_DataSeries.AddData(3, 4);
        doc.m_DataSeries.AddData(30, 20);
        doc.m_DataSeries.NewSeries();
        doc.m_DataSeries.AddData(7, 8);
        doc.m_DataAxis.m_XAxis.m_nPixelX = 33;
        doc.m_DataAxis.m_YAxis.m_dValueY = 42.0;
        doc.m_DataAxis.m_bLogY = TRUE;
        keptBitmap = doc.GetBitmapHandle();
        keptPixels = Held(doc);
    }

    // Opens the file as the framework would, answering any message with OK; the messages shown.
    std::vector<ScriptedModalHost::ShownMessage> Open(const QString& path, bool expectMessage, BOOL& opened) {
        ScriptedModalHost host;
        if (expectMessage)
            host.AnswerMessageBox(IDOK);
        PoisonFreedMemory(256 * 256 * 4);
        opened = doc.OnOpenDocument(path.toUtf8().constData());
        return host.messages;
    }

    void ExpectWorkKept(const std::string& name) {
        EXPECT_EQ(doc.GetBitmapHandle(), keptBitmap) << name;
        EXPECT_EQ(Held(doc), keptPixels) << name;
        ASSERT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 2) << name;
        EXPECT_EQ(doc.m_DataSeries.m_aSeries[0]->m_aData.GetSize(), 2) << name;
        EXPECT_EQ(doc.m_DataSeries.m_aSeries[1]->m_aData.GetSize(), 1) << name;
        EXPECT_EQ(doc.m_DataSeries.m_aSeries[0]->m_aData[1]->m_nPixelX, 30) << name;
        EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_nPixelX, 33) << name;
        EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_dValueY, 42.0) << name;
        EXPECT_TRUE(doc.m_DataAxis.m_bLogY) << name;
    }

    // Opens the file with the work in place and checks the outcome, then opens it once more.
    void Try(const DamagedFile& file) {
        const QString path = files.Write(file.name, file.bytes);
        const bool message = file.outcome != Outcome::Opens;
        BOOL opened = FALSE;
        const auto shown = Open(path, message, opened);
        if (file.outcome == Outcome::Refused) {
            EXPECT_FALSE(opened);
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].text, kMsgOpenFailed);
            ExpectWorkKept(file.name);
            return;
        }
        ASSERT_TRUE(opened);
        ASSERT_EQ(shown.size(), message ? 1u : 0u);
        if (message) {
            EXPECT_EQ(shown[0].text, kMsgPictureIncomplete);
            EXPECT_EQ(shown[0].type & MB_ICONMASK, MB_ICONWARNING);
        }
        const QImage first = Held(doc);
        ASSERT_FALSE(first.isNull());
        EXPECT_EQ(first.format(), QImage::Format_RGB888);
        if (file.checkPixels)
            file.checkPixels(first);
        Open(path, message, opened);
        EXPECT_EQ(Held(doc), first) << "a second open shows other pixels";
    }

    TestFiles files;
    CTallyscopeDoc doc;
    HBITMAP keptBitmap = nullptr;
    QImage keptPixels;
};

// Rows y0 .. y1-1 of two pictures hold the same pixels.
bool SameRows(const QImage& a, const QImage& b, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<std::size_t>(a.width()) * 3) != 0)
            return false;
    }
    return true;
}

bool RowIsColour(const QImage& image, int y, int x0, int x1, QRgb colour) {
    for (int x = x0; x < x1; ++x) {
        if (image.pixel(x, y) != colour)
            return false;
    }
    return true;
}

QImage Decoded(TestFiles& files, const QByteArray& bytes, const char* name) {
    CTallyscopeDoc doc;
    const QString path = files.Write(name, bytes);
    return doc.OnOpenDocument(path.toUtf8().constData()) ? Held(doc) : QImage();
}

} // namespace

TEST_F(DamagedPictureTest, DamagedFiles_RefusedOrWarnedNeverSilentAndAlwaysTheSamePixels) {
    const Intact intact;
    ASSERT_GT(intact.scanData, 0);
    const int bmpPixels = BmpPixelOffset(intact.bmp);
    const int rlePixels = BmpPixelOffset(intact.rle8);
    const QImage scan = Decoded(files, intact.bmp, "intact.bmp");
    const QImage jpeg = Decoded(files, intact.jpeg, "intact.jpg");
    const QImage gif = Decoded(files, intact.gif.bytes, "intact.gif");
    const QImage rle = Decoded(files, intact.rle8, "intact-rle8.bmp");
    const QImage strips = Decoded(files, intact.stripsBmp, "intact-strips.bmp");
    const QImage progressive = Decoded(files, intact.progressive, "intact-progressive.jpg");
    const QImage oneComponentEach = Decoded(files, intact.oneComponentEach, "intact-scan-a-component.jpg");
    ASSERT_FALSE(scan.isNull() || jpeg.isNull() || gif.isNull() || rle.isNull() || progressive.isNull() ||
                 oneComponentEach.isNull() || strips.isNull());
    const std::vector<int> progressiveScans = JpegScanStarts(intact.progressive);
    const std::vector<int> componentScans = JpegScanStarts(intact.oneComponentEach);
    ASSERT_GE(progressiveScans.size(), 4u);
    ASSERT_EQ(componentScans.size(), 3u);
    const int bmpRowsKept = 100;

    const DamagedFile cases[] = {
        {"offset-past-end.bmp",
         WithLe32(intact.bmp, 10, static_cast<quint32>(intact.bmp.size() + 4096)),
         Outcome::Refused,
         {}},
        {"cut-in-header.bmp", intact.bmp.left(30), Outcome::Refused, {}},
        {"no-depth.bmp", WithByte(WithByte(intact.bmp, 28, 0), 29, 0), Outcome::Refused, {}},
        {"depth-7.bmp", WithByte(intact.bmp, 28, 7), Outcome::Refused, {}},
        {"cut-in-first-row.bmp", intact.bmp.left(bmpPixels + intact.bmpStride / 2), Outcome::Refused, {}},
        {"cut-in-pixels.bmp", intact.bmp.left(bmpPixels + bmpRowsKept * intact.bmpStride + 50),
         Outcome::OpensWithWarning,
         [&](const QImage& shown) {
             const int firstKept = 256 - bmpRowsKept; // the file holds the bottom rows
             EXPECT_TRUE(SameRows(shown, scan, firstKept, 256)) << "the rows in the file";
             for (int y = 0; y < firstKept; ++y)
                 ASSERT_TRUE(RowIsColour(shown, y, 0, 64, qRgb(255, 255, 255))) << "missing row " << y;
         }},
        {"cut-in-pixels-top-down.bmp", // the same rows, stored from the top: the bottom ones are missing
         WithLe32(intact.bmp, 22, static_cast<quint32>(-256))
             .left(bmpPixels + bmpRowsKept * intact.bmpStride + 50),
         Outcome::OpensWithWarning,
         [&](const QImage& shown) {
             EXPECT_TRUE(SameRows(shown.mirrored(), scan, 256 - bmpRowsKept, 256)) << "the rows in the file";
             for (int y = bmpRowsKept; y < 256; ++y)
                 ASSERT_TRUE(RowIsColour(shown, y, 0, 64, qRgb(255, 255, 255))) << "missing row " << y;
         }},
        {"cut-mid-strip.bmp",
         intact.stripsBmp.left(BmpPixelOffset(intact.stripsBmp) +
                               intact.stripsRowsKept * intact.stripsStride + 50),
         Outcome::OpensWithWarning,
         [&](const QImage& shown) {
             const int firstKept = strips.height() - intact.stripsRowsKept;
             EXPECT_TRUE(SameRows(shown, strips, firstKept, strips.height())) << "the rows in the file";
             for (int y = 0; y < firstKept; ++y)
                 ASSERT_TRUE(RowIsColour(shown, y, 0, 501, qRgb(255, 255, 255))) << "missing row " << y;
         }},
        {"padded.bmp", intact.bmp + QByteArray(64, '\0'), Outcome::Opens,
         [&](const QImage& shown) { EXPECT_EQ(shown, scan); }},
        {"overflow-rle8.bmp", WithByte(intact.rle8, rlePixels, 64 + 9), Outcome::Refused, {}},
        {"overflow-rle4.bmp",
         WithByte(intact.rle4, BmpPixelOffset(intact.rle4), 64 + 9),
         Outcome::Refused,
         {}},
        {"cut-rle8.bmp",
         intact.rle8.left(rlePixels + (intact.rle8.size() - rlePixels) / 2),
         Outcome::Refused,
         {}},
        {"short-row-rle8.bmp", EncodeRleBmp(intact.palette, RleDepth::Eight, 10), Outcome::Opens,
         [&](const QImage& shown) {
             EXPECT_TRUE(SameRows(shown, rle, 0, 10));
             EXPECT_TRUE(RowIsColour(shown, 10, 32, 64, qRgb(255, 0, 0))) << "skipped: first palette colour";
         }},
        {"cut-in-data.gif",
         intact.gif.bytes.left((intact.gif.imageDataOffset + intact.gif.trailerOffset) / 2),
         Outcome::OpensWithWarning, [&](const QImage& shown) { EXPECT_TRUE(SameRows(shown, gif, 0, 4)); }},
        {"code-size-12.gif",
         WithByte(intact.gif.bytes, intact.gif.lzwCodeSizeOffset, 12),
         Outcome::Refused,
         {}},
        {"code-size-1.gif",
         WithByte(intact.gif.bytes, intact.gif.lzwCodeSizeOffset, 1),
         Outcome::Refused,
         {}},
        {"cut-before-data.gif", intact.gif.bytes.left(intact.gif.imageDataOffset), Outcome::Refused, {}},
        {"no-trailer.gif", intact.gif.bytes.left(intact.gif.trailerOffset), Outcome::Opens,
         [&](const QImage& shown) { EXPECT_EQ(shown, gif); }},
        {"cut-after-scan-start.jpg", intact.jpeg.left(intact.scanData + 16), Outcome::Refused, {}},
        {"cut-mid-scan.jpg",
         intact.jpeg.left(intact.scanData + (intact.jpeg.size() - intact.scanData) * 6 / 10),
         Outcome::OpensWithWarning, [&](const QImage& shown) { EXPECT_TRUE(SameRows(shown, jpeg, 0, 64)); }},
        {"no-end-marker.jpg", intact.jpeg.left(intact.jpeg.size() - 2), Outcome::Opens,
         [&](const QImage& shown) { EXPECT_EQ(shown, jpeg); }},
        // Files of several scans have their whole picture, if coarse, after the first scan: cut
        // after it, between scans or inside a later one, they open with the warning.
        {"progressive-cut-in-first-scan.jpg",
         intact.progressive.left(progressiveScans[0] + 40),
         Outcome::Refused,
         {}},
        {"progressive-cut-between-scans.jpg",
         intact.progressive.left(progressiveScans[2]),
         Outcome::OpensWithWarning,
         {}},
        {"progressive-cut-in-later-scan.jpg",
         intact.progressive.left(progressiveScans[3] + 30),
         Outcome::OpensWithWarning,
         {}},
        {"progressive-no-end-marker.jpg", intact.progressive.left(intact.progressive.size() - 2),
         Outcome::Opens, [&](const QImage& shown) { EXPECT_EQ(shown, progressive); }},
        {"scan-a-component-cut-between-scans.jpg",
         intact.oneComponentEach.left(componentScans[2]),
         Outcome::OpensWithWarning,
         {}},
        {"scan-a-component-no-end-marker.jpg",
         intact.oneComponentEach.left(intact.oneComponentEach.size() - 2), Outcome::Opens,
         [&](const QImage& shown) { EXPECT_EQ(shown, oneComponentEach); }},
        {"bytes-after-end.jpg", intact.jpeg + QByteArray("trailing bytes of another program"), Outcome::Opens,
         [&](const QImage& shown) { EXPECT_EQ(shown, jpeg); }},
    };

    for (const DamagedFile& file : cases) {
        SCOPED_TRACE(file.name);
        Try(file);
        SetUp(); // back to the work of the fixture for the next file
    }
}
