// A PDF page made into the program's picture: the page chosen, at the resolution chosen, with its
// lines where the page puts them; the refusals, each with its own reason; and the page rendered in
// bands exactly as it is rendered whole.
#include "platform/picture/PdfPageRenderer.h"
#include "platform/picture/Picture.h"

#include "../../support/PdfFiles.h"
#include "../../support/TestImages.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<IPicture> LoadPage(const QString& path, PdfPageChoice choice, HRESULT& hr) {
    IPictureDisp* picture = nullptr;
    hr = OleLoadPdfPage(COleVariant(path.toUtf8().constData()), choice, &picture);
    return std::unique_ptr<IPicture>(picture);
}

const QImage* ImageOf(const IPicture& picture) {
    OLE_HANDLE handle = nullptr;
    return SUCCEEDED(picture.get_Handle(&handle)) ? handle : nullptr;
}

double PixelsOf(double points, int dpi) {
    return points * dpi / 72.0;
}

} // namespace

// Each page's line, 2 points thick, crosses the probe column centred where the page puts it, within
// the half pixel by which poppler moves a stroke's edges onto whole pixels, and the other pages' lines are nowhere in the picture.
TEST(PdfPageRenderer, ChosenPageAndResolution_PutTheKnownLinesOnTheExpectedRows) {
    TestFiles files;
    const QString path = files.Write("chart.pdf", MakeChartPdf(3));
    const struct {
        int page;
        int dpi;
    } cases[] = {{1, 150}, {1, 300}, {2, 150}, {2, 300}, {3, 72}, {3, 217}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << " at " << c.dpi << " dpi");
        HRESULT hr = E_FAIL;
        const std::unique_ptr<IPicture> picture = LoadPage(path, {c.page, c.dpi}, hr);
        ASSERT_EQ(hr, S_OK);
        const QImage* image = ImageOf(*picture);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->format(), QImage::Format_RGB888);
        EXPECT_EQ(image->size(), QSize(std::lround(PixelsOf(kChartPdfWidth, c.dpi)),
                                       std::lround(PixelsOf(kChartPdfHeight, c.dpi))));
        ASSERT_TRUE(picture->GetPdfPage().has_value());
        EXPECT_EQ(*picture->GetPdfPage(), (PdfPageChoice{c.page, c.dpi}));

        const int probe = static_cast<int>(PixelsOf(kChartPdfProbeX, c.dpi));
        const double expected = PixelsOf(ChartPdfLineY(c.page), c.dpi);
        EXPECT_NEAR(DarkCentreRow(*image, probe, expected, PixelsOf(4.0, c.dpi)), expected, 0.5);
        EXPECT_EQ(qGray(image->pixel(probe, static_cast<int>(expected))), 0) << "the line's middle is black";
        for (int other = 1; other <= 3; ++other) {
            if (other == c.page)
                continue;
            const int row = static_cast<int>(PixelsOf(ChartPdfLineY(other), c.dpi));
            EXPECT_EQ(image->pixel(probe, row), qRgb(255, 255, 255)) << "page " << other << "'s line";
        }
        // The vertical line of the page, at its own column.
        const double lineX = PixelsOf(ChartPdfLineX(c.page), c.dpi);
        EXPECT_EQ(qGray(image->pixel(static_cast<int>(lineX), static_cast<int>(PixelsOf(200.0, c.dpi)))), 0);
    }
}

// Bands of an odd number of rows meet inside the lines and the text; together they are the page
// rendered whole, pixel for pixel.
TEST(PdfPageRenderer, PageRenderedInBands_IsThePageRenderedWhole) {
    TestFiles files;
    const QString path = files.Write("chart.pdf", MakeChartPdf(2));
    const int dpi = 300;
    const int width = std::lround(PixelsOf(kChartPdfWidth, dpi));
    const DecodedPicture whole = PdfPageRenderer(path).Render({2, dpi});
    const DecodedPicture banded = PdfPageRenderer(path, qint64{4} * width * 7).Render({2, dpi});
    ASSERT_EQ(whole.result, S_OK);
    ASSERT_EQ(banded.result, S_OK);
    ASSERT_EQ(banded.image->size(), whole.image->size());
    int differing = 0;
    for (int y = 0; y < whole.image->height(); ++y)
        differing += std::memcmp(whole.image->constScanLine(y), banded.image->constScanLine(y), 3 * width) != 0;
    EXPECT_EQ(differing, 0) << "rows differ between the whole page and its bands";
}

// Every PDF the program cannot show is refused with the reason, and no picture; a PDF encrypted
// only against changes (no password to open it) opens as any other.
TEST(PdfPageRenderer, PdfsThatCannotBeShown_AreRefusedWithTheirReason) {
    TestFiles files;
    const QByteArray chart = MakeChartPdf(3);
    const QByteArray locked = EncryptPdf(chart, "secret", "owner");
    const QByteArray restricted = EncryptPdf(chart, "", "owner");
    ASSERT_FALSE(locked.isEmpty()) << "qpdf (scripts/install-deps.sh) encrypts the test's PDF";
    ASSERT_FALSE(restricted.isEmpty());
    QByteArray scrambled = chart;
    for (qsizetype i = 9; i < scrambled.size(); i += 3)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);

    const struct {
        const char* what;
        QByteArray bytes;
        PdfPageChoice choice;
        HRESULT expected;
    } cases[] = {
        {"locked by a password", locked, {1, 150}, PDF_E_LOCKED},
        {"encrypted without a password to open it", restricted, {2, 150}, S_OK},
        {"damaged bytes", scrambled, {1, 150}, PDF_E_DAMAGED},
        {"not a PDF at all", QByteArray("%PDF-1.7\nthis is no PDF\n"), {1, 150}, PDF_E_DAMAGED},
        {"an empty file", QByteArray(), {1, 150}, PDF_E_NO_PAGES},
        {"no pages", MakePdfWithoutPages(), {1, 150}, PDF_E_NO_PAGES},
        {"page 0", chart, {0, 150}, PDF_E_NO_SUCH_PAGE},
        {"page after the last", chart, {4, 150}, PDF_E_NO_SUCH_PAGE},
        {"resolution 0", chart, {1, 0}, PDF_E_BAD_RESOLUTION},
        {"a negative resolution", chart, {1, -300}, PDF_E_BAD_RESOLUTION},
        {"a resolution too low for a pixel", chart, {1, 1} /* 400 x 300 pt: 6 x 4 pixels */, S_OK},
        // 400 x 300 points at 4816 dpi: 26756 x 20067 pixels, just over 1536 MB in 24-bit rows;
        // at 4810 dpi, 26722 x 20042 pixels, just under.
        {"a picture just larger than the loader takes", chart, {1, 4816}, PDF_E_TOO_LARGE},
        {"a picture just within what the loader takes", chart, {1, 4810}, S_OK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = files.Write("refused.pdf", c.bytes);
        EXPECT_EQ(PdfPageRenderer(path).Check(c.choice), c.expected);
        if (c.choice.dpi > 1000)
            continue; // rendering the largest pages takes gigabytes: the check is what decides
        HRESULT hr = E_FAIL;
        const std::unique_ptr<IPicture> picture = LoadPage(path, c.choice, hr);
        EXPECT_EQ(hr, c.expected);
        EXPECT_EQ(picture != nullptr, SUCCEEDED(c.expected));
    }
}

// A file is taken for a PDF by its signature, or by its name when it holds none (so that an empty
// or damaged one is refused as a PDF, with a PDF's reasons); other pictures are not.
TEST(PdfPageRenderer, IsPdfFile_BySignatureOrByName) {
    TestFiles files;
    const QByteArray chart = MakeChartPdf(1);
    EXPECT_TRUE(PdfPageRenderer::IsPdfFile(files.Write("paper.pdf", chart)));
    EXPECT_TRUE(PdfPageRenderer::IsPdfFile(files.Write("paper-without-suffix", chart)));
    EXPECT_TRUE(PdfPageRenderer::IsPdfFile(files.Write("EMPTY.PDF", QByteArray())));
    EXPECT_FALSE(PdfPageRenderer::IsPdfFile(files.Save(MakeTestImage(8, 8), "chart.bmp")));
    EXPECT_FALSE(PdfPageRenderer::IsPdfFile(files.Write("notes.txt", "a PDF is mentioned here, not %PDF")));
}
