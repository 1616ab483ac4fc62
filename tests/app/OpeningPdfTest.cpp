// A two-page PDF through the real main window: chosen in the Open dialog, whose entries keep the
// picture entry first; the page asked for in the page dialog; the title naming the page; the
// resolution remembered for the next PDF; and the same PDF opened again for its other page.
#include "AppTestFixture.h"

#include "../support/PdfFiles.h"
#include "pdf/CPdfPageDlg.h"
#include "res/Resource.h"

#include <QAbstractButton>

namespace {
void Click(DialogDriver& dialog, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(dialog.Control(id)))
        button->click();
}
} // namespace

class OpeningPdfTest : public AppTest {};

TEST_F(OpeningPdfTest, TwoPagePdf_OpensTheChosenPageInTheWindow) {
    ASSERT_TRUE(Start());
    const CString path(m_files.Write("paper.pdf", MakeChartPdf(2)).toUtf8().constData());
    m_host.AnswerFileDialog(path);
    m_host.AnswerDialog([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.Text(IDC_PDF_DPI), "300") << "nothing remembered yet";
        dialog.SetText(IDC_PDF_PAGE, "2");
        Click(dialog, IDC_PDF_DPI_150);
        EXPECT_TRUE(dialog.PressOK());
    });
    MainFrame()->OnIdleUpdateCmdUI();
    KeyAction(QKeySequence(Qt::CTRL | Qt::Key_O))->trigger();

    ASSERT_EQ(m_host.fileDialogs.size(), 1u);
    const QStringList entries = AfxQtFileFilters(m_host.fileDialogs[0].filter);
    ASSERT_EQ(entries.size(), 4);
    EXPECT_TRUE(entries[0].startsWith("画像　ファイル(*.bmp;*.jpg;*.gif) ")) << entries[0].toStdString();
    EXPECT_TRUE(entries[1].startsWith("PDF　ファイル(*.pdf) (*.pdf *.PDF)")) << entries[1].toStdString();
    EXPECT_TRUE(entries[2].contains("*.pdf") && entries[2].contains("*.png") && entries[2].contains("*.jpg"));
    EXPECT_EQ(entries[3], "すべてのﾌｧｲﾙ (*.*) (*)");

    EXPECT_EQ(m_host.dialogsRun, 1);
    EXPECT_TRUE(m_host.messages.empty());
    EXPECT_EQ(MainFrame()->GetWindowTitle(), "paper.pdf (2ページ, 150 dpi) - Tallyscope");
    ASSERT_NE(Document()->GetBitmapHandle(), nullptr);
    EXPECT_EQ(Document()->GetBitmapHandle()->size(), QSize(833, 625));
    EXPECT_EQ(Document()->GetPathName(), path);
    ASSERT_EQ(theApp.m_pRecentFileList->GetCount(), 1);
    EXPECT_EQ((*theApp.m_pRecentFileList)[0], path);

    // The same PDF again, from the recent-file list: the dialog comes back at the remembered
    // resolution, for the other page.
    m_host.AnswerDialog([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.Text(IDC_PDF_DPI), "150");
        dialog.SetText(IDC_PDF_PAGE, "1");
        EXPECT_TRUE(dialog.PressOK());
    });
    MainFrame()->OnIdleUpdateCmdUI();
    MainFrame()->GetCommandAction(ID_FILE_MRU_FILE1)->trigger();
    EXPECT_EQ(m_host.dialogsRun, 2);
    EXPECT_EQ(MainFrame()->GetWindowTitle(), "paper.pdf (1ページ, 150 dpi) - Tallyscope");
    EXPECT_EQ(*Document()->GetPdfPage(), (PdfPageChoice{1, 150}));

    // Called off in the page dialog: the file is not at fault and keeps its place in the list.
    m_host.AnswerDialog([](DialogDriver& dialog) { EXPECT_TRUE(dialog.PressCancel()); });
    MainFrame()->OnIdleUpdateCmdUI();
    MainFrame()->GetCommandAction(ID_FILE_MRU_FILE1)->trigger();
    EXPECT_EQ(m_host.dialogsRun, 3);
    EXPECT_EQ(*Document()->GetPdfPage(), (PdfPageChoice{1, 150}));
    ASSERT_EQ(theApp.m_pRecentFileList->GetCount(), 1);
    EXPECT_EQ((*theApp.m_pRecentFileList)[0], path);
}

// Named on the command line, a PDF is asked about before the window shows, and opens in it.
TEST_F(OpeningPdfTest, PdfOnTheCommandLine_OpensInTheWindow) {
    const CString path(m_files.Write("paper.pdf", MakeChartPdf(2)).toUtf8().constData());
    m_host.AnswerDialog([](DialogDriver& dialog) { EXPECT_TRUE(dialog.PressOK()); });
    ASSERT_TRUE(Start({path}));
    EXPECT_EQ(MainFrame()->GetWindowTitle(), "paper.pdf (1ページ, 300 dpi) - Tallyscope");
    EXPECT_EQ(Document()->GetBitmapHandle()->size(), QSize(1667, 1250));
}
