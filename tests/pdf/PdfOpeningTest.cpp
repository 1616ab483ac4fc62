// A page of a PDF opened through the document's real open: the page and resolution chosen in the
// dialog (worked through its controls, the preview following the page), or given without asking;
// every refusal told once in words that name it, with the picture, points and calibration left as
// they were.
#include "pdf/CPdfPageDlg.h"
#include "pdf/PdfOpening.h"

#include "doc/CTallyscopeDoc.h"
#include "res/Resource.h"

#include "../support/PdfFiles.h"
#include "../support/ScriptedModalHost.h"
#include "../support/TestImages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>

#include <cmath>

namespace {

double PixelsOf(double points, int dpi) {
    return points * dpi / 72.0;
}

// Where the dark band crossing the probe column lies in a picture of the chart at the resolution
// (poppler moves a stroke's edges onto whole pixels: within half a pixel of the page's place).
double LineRow(const QImage& picture, int page, int dpi) {
    const double expected = PixelsOf(ChartPdfLineY(page), dpi);
    return DarkCentreRow(picture, static_cast<int>(PixelsOf(kChartPdfProbeX, dpi)), expected, PixelsOf(4.0, dpi));
}

void Click(DialogDriver& dialog, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(dialog.Control(id)))
        button->click();
}

} // namespace

class PdfOpeningTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString kept = files.Save(MakeTestImage(40, 30, Qt::cyan), "kept.bmp");
        ASSERT_TRUE(doc.OnOpenDocument(kept.toUtf8().constData()));
        doc.SetPathName(kept.toUtf8().constData());
        doc.m_DataSeries.AddData(3, 4);
        doc.m_DataSeries.NewSeries();
        doc.m_DataSeries.AddData(7, 8);
        doc.m_DataAxis.m_XAxis.m_nPixelX = 33;
        doc.m_DataAxis.m_bLogY = TRUE;
        keptBitmap = doc.GetBitmapHandle();
    }

    void ExpectWorkKept() {
        EXPECT_EQ(doc.GetBitmapHandle(), keptBitmap);
        EXPECT_FALSE(doc.GetPdfPage().has_value());
        ASSERT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 2);
        EXPECT_EQ(doc.m_DataSeries.m_aSeries[0]->m_aData.GetSize(), 1);
        EXPECT_EQ(doc.m_DataSeries.m_aSeries[1]->m_aData.GetSize(), 1);
        EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_nPixelX, 33);
        EXPECT_TRUE(doc.m_DataAxis.m_bLogY);
    }

    TestFiles files;
    CTallyscopeDoc doc;
    HBITMAP keptBitmap = nullptr;
};

// The dialog starts at page 1 and the remembered resolution; typing a page moves the preview to
// it, a resolution button fills in its value, the picture's size follows both; OK opens that page
// at that resolution, its line where the page puts it, and the title names the page.
TEST_F(PdfOpeningTest, PageDialog_ChoosesPageAndResolution_PreviewFollowsThePage) {
    const QString path = files.Write("paper.pdf", MakeChartPdf(3));
    ScriptedModalHost host;
    host.AnswerDialog([](DialogDriver& dialog) {
        auto& pdfDialog = static_cast<CPdfPageDlg&>(dialog.Dialog());
        EXPECT_EQ(dialog.Text(IDC_PDF_PAGE), "1");
        EXPECT_EQ(dialog.Text(IDC_PDF_DPI), "300");
        EXPECT_EQ(dialog.Text(IDC_PDF_PAGE_COUNT), "(全 3 ページ)");
        EXPECT_EQ(dialog.Text(IDC_PDF_PIXEL_SIZE), "1667 × 1250 ピクセル");
        EXPECT_EQ(pdfDialog.GetPreviewPage(), 1);
        const QImage firstPreview = pdfDialog.GetPreview();
        ASSERT_FALSE(firstPreview.isNull());

        dialog.SetText(IDC_PDF_PAGE, "2");
        EXPECT_EQ(pdfDialog.GetPreviewPage(), 2);
        EXPECT_NE(pdfDialog.GetPreview(), firstPreview);
        dialog.SetText(IDC_PDF_PAGE, "7"); // no such page: the preview stays on page 2
        EXPECT_EQ(pdfDialog.GetPreviewPage(), 2);
        EXPECT_EQ(dialog.Text(IDC_PDF_PIXEL_SIZE), "");
        dialog.SetText(IDC_PDF_PAGE, "2");

        Click(dialog, IDC_PDF_DPI_600);
        EXPECT_EQ(dialog.Text(IDC_PDF_DPI), "600");
        Click(dialog, IDC_PDF_DPI_150);
        EXPECT_EQ(dialog.Text(IDC_PDF_DPI), "150");
        EXPECT_EQ(dialog.Text(IDC_PDF_PIXEL_SIZE), "833 × 625 ピクセル");
        EXPECT_TRUE(dialog.PressOK());
    });
    ASSERT_TRUE(doc.OnOpenDocument(path.toUtf8().constData()));
    EXPECT_TRUE(host.messages.empty());
    doc.SetPathName(path.toUtf8().constData());
    EXPECT_EQ(doc.GetTitle(), "paper.pdf (2ページ, 150 dpi)");
    ASSERT_TRUE(doc.GetPdfPage().has_value());
    EXPECT_EQ(*doc.GetPdfPage(), (PdfPageChoice{2, 150}));
    const HBITMAP picture = doc.GetBitmapHandle();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->size(), QSize(833, 625));
    EXPECT_NEAR(LineRow(*picture, 2, 150), PixelsOf(ChartPdfLineY(2), 150), 0.5);
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 1) << "the new picture starts with no points";
}

// A page the loader would refuse is said so at OK, and the dialog stays for another choice; a
// field that is no number keeps it open with the framework's own message; Cancel opens nothing.
TEST_F(PdfOpeningTest, PageDialog_RefusedChoicesKeepItOpen_CancelKeepsTheWork) {
    const QString path = files.Write("paper.pdf", MakeChartPdf(2));
    ScriptedModalHost host;
    host.AnswerMessageBox(IDOK);
    host.AnswerMessageBox(IDOK);
    host.AnswerDialog([](DialogDriver& dialog) {
        dialog.SetText(IDC_PDF_DPI, "9000"); // 50000 x 37500 pixels
        EXPECT_FALSE(dialog.PressOK());
        dialog.SetText(IDC_PDF_DPI, "abc");
        EXPECT_FALSE(dialog.PressOK());
        EXPECT_TRUE(dialog.PressCancel());
    });
    EXPECT_FALSE(doc.OnOpenDocument(path.toUtf8().constData()));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[0].text.str().find("50000 × 37500 ピクセル"), std::string::npos)
        << host.messages[0].text.str();
    ExpectWorkKept();
}

// Every refusal, whether the file is at fault or the page and resolution given: one message that
// names the problem, the open fails, and the picture and work are the ones there were. Nothing
// asks for a page: the file is refused before, or the page was given.
TEST_F(PdfOpeningTest, Refusals_NameTheProblemAndLeaveTheWorkAsItWas) {
    const QByteArray chart = MakeChartPdf(2);
    const QByteArray locked = EncryptPdf(chart, "secret", "owner");
    ASSERT_FALSE(locked.isEmpty()) << "qpdf (scripts/install-deps.sh) encrypts the test's PDF";
    const struct {
        const char* what;
        QByteArray bytes;
        std::optional<PdfPageChoice> given;
        const char* named; // in the message
    } cases[] = {
        {"locked by a password", locked, std::nullopt, "パスワードで保護"},
        {"damaged", chart.left(chart.size() / 3) + QByteArray(300, '\x7f'), std::nullopt, "壊れている"},
        {"an empty file", QByteArray(), std::nullopt, "ページがありません"},
        {"no pages", MakePdfWithoutPages(), std::nullopt, "ページがありません"},
        {"a page after the last", chart, PdfPageChoice{3, 150}, "3 ページがありません (全 2 ページ)"},
        {"page 0", chart, PdfPageChoice{0, 150}, "0 ページがありません"},
        {"resolution 0", chart, PdfPageChoice{1, 0}, "0 dpi"},
        {"too large a picture", chart, PdfPageChoice{2, 9000}, "扱える最大の画像 (1536 MB) を超えます"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = files.Write("refused.pdf", c.bytes);
        ScriptedModalHost host;
        host.AnswerMessageBox(IDOK);
        const BOOL opened = c.given ? doc.OpenPictureFile(path.toUtf8().constData(), *c.given)
                                    : doc.OnOpenDocument(path.toUtf8().constData());
        EXPECT_FALSE(opened);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].text.str().find(c.named), std::string::npos) << host.messages[0].text.str();
        EXPECT_NE(host.messages[0].text.str().find("refused.pdf"), std::string::npos);
        EXPECT_EQ(host.dialogsRun, 0);
        ExpectWorkKept();
    }
}

// An installation without the PDF module is told which part to look for, never that the file is
// damaged.
TEST(PdfOpeningMessages, WithoutTheModule_TheModuleIsNamedNotADamagedFile) {
    const std::string text =
        PdfOpening::RefusalMessage(PDF_E_NO_RENDERER, QStringLiteral("paper.pdf"), PdfPageChoice{1, 300}, nullptr)
            .GetString();
    EXPECT_NE(text.find("libtallyscope-pdf.so"), std::string::npos) << text;
    EXPECT_NE(text.find("paper.pdf"), std::string::npos) << text;
    EXPECT_EQ(text.find("壊れている"), std::string::npos) << text;
}

// The page given is opened without a dialog, and holds for that one open only: the next open of
// a PDF asks again.
TEST_F(PdfOpeningTest, GivenPage_OpensWithoutAskingForThatOpenOnly) {
    const QString path = files.Write("paper.pdf", MakeChartPdf(3));
    {
        ScriptedModalHost host;
        ASSERT_TRUE(doc.OpenPictureFile(path.toUtf8().constData(), {3, 72}));
        EXPECT_EQ(host.dialogsRun, 0);
        EXPECT_EQ(doc.GetBitmapHandle()->size(), QSize(400, 300));
        EXPECT_NEAR(LineRow(*doc.GetBitmapHandle(), 3, 72), ChartPdfLineY(3), 0.5);
    }
    ScriptedModalHost host;
    host.AnswerDialog([](CDialog&) -> INT_PTR { return IDCANCEL; });
    EXPECT_FALSE(doc.OnOpenDocument(path.toUtf8().constData()));
    EXPECT_EQ(host.dialogsRun, 1);
    EXPECT_EQ(*doc.GetPdfPage(), (PdfPageChoice{3, 72})) << "cancelled: the open page stays";
}
