// Work picked on a page of a PDF outlives a crash: the journal keeps the page and resolution, the
// next start renders that page again at that resolution without asking, to the same pixels, and
// the work is offered only with that page open.
#include "AppTestFixture.h"

#include "../support/PdfFiles.h"
#include "app/WorkRecovery.h"
#include "doc/RecoveredWork.h"
#include "platform/core/RecoveryFolder.h"
#include "res/Resource.h"

#include <QDir>
#include <QFile>

class PdfWorkRecoveryTest : public AppTest {
protected:
    // Starts on the PDF, answering the page dialog with the page and resolution.
    bool StartOnPage(const CString& path, int page, int dpi) {
        m_host.AnswerDialog([page, dpi](DialogDriver& dialog) {
            dialog.SetText(IDC_PDF_PAGE, QString::number(page));
            dialog.SetText(IDC_PDF_DPI, QString::number(dpi));
            EXPECT_TRUE(dialog.PressOK());
        });
        return Start({path}) != FALSE;
    }
    // Ends the program as a kill would leave it: the journal stays, owned by nobody alive.
    void LeaveAsIfKilled() {
        const QString own = RecoveryFolder::OwnPath("journal");
        theApp.ExitInstance();
        DeleteDestroyedWindows();
        ASSERT_TRUE(QFile::rename(own, QDir(RecoveryFolder::Path()).filePath("4242-0badc0de.journal")));
    }
    void Restart() {
        theApp.ExitInstance();
        DeleteDestroyedWindows();
        m_host.messages.clear();
        m_host.dialogsRun = 0;
    }
};

TEST_F(PdfWorkRecoveryTest, WorkOnAPdfPage_ComesBackOnTheSamePageAtTheSameResolution) {
    const CString path(m_files.Write("paper.pdf", MakeChartPdf(3)).toUtf8().constData());
    ASSERT_TRUE(StartOnPage(path, 2, 150));
    const QImage pixels = Document()->GetBitmapHandle()->copy();
    Document()->m_DataSeries.AddData(20, 30);
    Document()->m_DataSeries.AddData(60, 40);
    Document()->DataChanged();
    const std::optional<RecoveredWork> journalled = RecoveredWork::Parse(RecoveredWork::Capture(*Document()).Serialise());
    ASSERT_TRUE(journalled.has_value());
    EXPECT_EQ(journalled->pdfPage, (PdfPageChoice{2, 150}));
    LeaveAsIfKilled();

    // Page 1 open: the work of page 2 is not offered with it.
    Restart();
    ASSERT_TRUE(StartOnPage(path, 1, 150));
    EXPECT_TRUE(m_host.messages.empty()) << m_host.messages.front().text.str();
    Restart();

    // Started without a picture: the work is offered, and its page comes back without a question.
    m_host.AnswerMessageBox(IDYES);
    ASSERT_TRUE(Start());
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_NE(m_host.messages[0].text.str().find("paper.pdf"), std::string::npos);
    EXPECT_EQ(m_host.dialogsRun, 0);
    ASSERT_EQ(Document()->GetPdfPage(), (PdfPageChoice{2, 150}));
    EXPECT_EQ(*Document()->GetBitmapHandle(), pixels);
    EXPECT_EQ(Document()->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 2);
    EXPECT_EQ(MainFrame()->GetWindowTitle(), "paper.pdf (2ページ, 150 dpi) - Tallyscope");
}

// A journal of a picture file has no page line and reads as before, with no page.
TEST_F(PdfWorkRecoveryTest, Journal_PageLineOnlyForPdfs) {
    RecoveredWork work;
    work.picturePath = "/charts/scan.bmp";
    const QByteArray plain = work.Serialise();
    EXPECT_FALSE(plain.contains("picture-page"));
    ASSERT_TRUE(RecoveredWork::Parse(plain).has_value());
    EXPECT_FALSE(RecoveredWork::Parse(plain)->pdfPage.has_value());

    work.pdfPage = PdfPageChoice{7, 600};
    const QByteArray pdf = work.Serialise();
    ASSERT_TRUE(RecoveredWork::Parse(pdf).has_value());
    EXPECT_EQ(RecoveredWork::Parse(pdf)->pdfPage, (PdfPageChoice{7, 600}));
}
