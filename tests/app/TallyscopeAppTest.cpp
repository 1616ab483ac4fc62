#include "AppTestFixture.h"

#include "../support/PictureFiles.h"
#include "platform/picture/PicturePrefetch.h"
#include "platform/ui/CDialog.h"
#include "res/Resource.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>

namespace {
QMenu* FileMenu(CMainFrame* frame) {
    QAction* exit = frame->GetCommandAction(ID_APP_EXIT);
    for (QObject* holder : exit->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(holder))
            return menu;
    }
    return nullptr;
}

// The File menu's items as shown after it opens, separators as "-".
std::vector<std::string> FileMenuItems(CMainFrame* frame) {
    QMenu* menu = FileMenu(frame);
    emit menu->aboutToShow();
    std::vector<std::string> items;
    for (QAction* action : menu->actions())
        items.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return items;
}
} // namespace

TEST_F(AppTest, Startup_WithoutArgumentsAnEmptyUntitledDocumentAndTheZoomWindow) {
    ASSERT_TRUE(Start());
    CMainFrame* frame = MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(frame->GetWindowTitle(), "無題 - Tallyscope");
    ASSERT_NE(Document(), nullptr);
    EXPECT_EQ(Document()->m_pPicture, nullptr);

    ASSERT_NE(g_zoomFrame, nullptr);
    EXPECT_TRUE(g_zoomFrame->IsWindowVisible());
    ASSERT_EQ(ZoomViews().size(), 1u);
    frame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(frame->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->isChecked());
    EXPECT_TRUE(frame->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->isEnabled());
}

TEST_F(AppTest, Startup_APictureOnTheCommandLineIsOpenBeforeTheZoomWindowComes) {
    const CString path = Picture("sample.bmp");
    ASSERT_TRUE(Start({path}));
    ASSERT_NE(Document(), nullptr);
    EXPECT_NE(Document()->m_pPicture, nullptr);
    EXPECT_EQ(MainFrame()->GetWindowTitle(), "sample.bmp - Tallyscope");
    ASSERT_EQ(ZoomViews().size(), 1u);
    EXPECT_EQ(ZoomViews()[0]->GetDocument(), Document());
    ASSERT_EQ(theApp.m_pRecentFileList->GetCount(), 1);
    EXPECT_EQ((*theApp.m_pRecentFileList)[0], path);
}

TEST_F(AppTest, Startup_ABrokenPictureFailsAfterItsMessageAndLeavesNoWindow) {
    const struct {
        const char* name;
        bool exists;
        const char* message;
    } cases[] = {
        {"broken.bmp", true, kMsgOpenFailed},
        {"missing.bmp", false, nullptr}, // the framework's own report of a file it cannot read
    };
    for (const auto& c : cases) {
        const QString path = c.exists ? m_files.Write(c.name, "this is not a picture") : m_files.Path(c.name);
        m_host.messages.clear();
        m_host.AnswerMessageBox(IDOK);
        EXPECT_FALSE(Start({path.toUtf8().constData()})) << c.name;
        ASSERT_EQ(m_host.messages.size(), 1u) << c.name;
        if (c.message != nullptr) {
            EXPECT_EQ(m_host.messages[0].text, c.message);
        }
        EXPECT_EQ(theApp.m_pMainWnd, nullptr);
        EXPECT_EQ(g_zoomFrame, nullptr);
        EXPECT_EQ(theApp.m_pRecentFileList->GetCount(), 0);
        theApp.ExitInstance();
        DeleteDestroyedWindows();
        for (QWidget* widget : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<QMainWindow*>(widget), nullptr) << c.name << ": a window was left behind";
    }
}

// The real program starts decoding a command-line picture before the windows exist; the open step
// takes that picture, and a picture that failed to decode ends start-up as a failed open does.
TEST_F(AppTest, Startup_APrefetchedPictureOpensAsADecodeAtTheOpenStepWould) {
    const QByteArray bmp = EncodeWithQt(MakeScanPicture(40, 30), "BMP");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
        bool opens;
    } cases[] = {
        {"whole.bmp", bmp, nullptr, true},
        {"cut.bmp", bmp.left(bmp.size() - 40 * 3 * 10), kMsgPictureIncomplete, true},
        {"broken.bmp", bmp.left(40), kMsgOpenFailed, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = m_files.Write(c.name, c.bytes);
        const DecodedPicture direct = DecodePictureFile(path);
        m_host.messages.clear();
        if (c.message != nullptr)
            m_host.AnswerMessageBox(IDOK);
        PicturePrefetch::Begin(path);
        EXPECT_EQ(Start({path.toUtf8().constData()}), c.opens ? TRUE : FALSE);
        ASSERT_EQ(m_host.messages.size(), c.message != nullptr ? 1u : 0u);
        if (c.message != nullptr) {
            EXPECT_EQ(m_host.messages[0].text, c.message);
        }
        if (c.opens) {
            ASSERT_NE(Document(), nullptr);
            ASSERT_NE(Document()->GetBitmapHandle(), nullptr);
            EXPECT_EQ(*Document()->GetBitmapHandle(), *direct.image);
            EXPECT_EQ(ZoomViews().size(), 1u);
        } else {
            EXPECT_EQ(theApp.m_pMainWnd, nullptr);
            EXPECT_EQ(g_zoomFrame, nullptr);
        }
        EXPECT_FALSE(PicturePrefetch::Take(path)) << "the open step took the prefetched picture";
        theApp.ExitInstance();
        DeleteDestroyedWindows();
    }
}

TEST_F(AppTest, Routing_DocumentCommandsReachedThroughTheViewAndDisabledOnesNotRun) {
    ASSERT_TRUE(Start());
    CMainFrame* frame = MainFrame();
    CTallyscopeDoc* doc = Document();
    // Without a picture the data commands are disabled: deleting everything would ask first, and
    // the scripted host fails the test on any message box it was not told about.
    EXPECT_FALSE(frame->ExecuteCommand(ID_DATA_DELETE_ALL));
    EXPECT_FALSE(frame->ExecuteCommand(ID_DATA_NEW_SERIES));
    EXPECT_EQ(doc->m_DataSeries.m_aSeries.GetSize(), 1);

    // The measurement items show their check marks even while disabled.
    doc->m_bMeasureLength = TRUE;
    frame->OnIdleUpdateCmdUI();
    QAction* length = frame->GetCommandAction(ID_MEASURE_LENGTH);
    EXPECT_FALSE(length->isEnabled());
    EXPECT_TRUE(length->isChecked());
    EXPECT_FALSE(frame->GetCommandAction(ID_MEASURE_AREA)->isChecked());
    EXPECT_FALSE(frame->GetCommandAction(ID_DATA_SHOW)->isCheckable()) << "no empty check box beside plain items";

    ASSERT_NE(theApp.OpenDocumentFile(Picture("sample.bmp")), nullptr);
    EXPECT_TRUE(frame->ExecuteCommand(ID_DATA_NEW_SERIES));
    EXPECT_EQ(doc->m_DataSeries.m_aSeries.GetSize(), 2);
    frame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(length->isEnabled());
    EXPECT_TRUE(length->isChecked()); // the switch survives opening a picture
}

// Nothing in the menus sends it, but the command reaches the framework's printer setup.
TEST_F(AppTest, Routing_PrintSetupReachesThePrinterDialog) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(MainFrame()->ExecuteCommand(ID_FILE_PRINT_SETUP));
    EXPECT_EQ(m_host.printSetups, 1);
}

TEST_F(AppTest, Routing_UndoKeysDeleteTheLatestPointWhileTheUndoItemStaysDisabled) {
    ASSERT_TRUE(Start({Picture("sample.bmp")}));
    CTallyscopeDoc* doc = Document();
    for (int i = 0; i < 3; ++i)
        doc->m_DataSeries.AddData(i, i);
    QAction* ctrlZ = KeyAction(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* altBackspace = KeyAction(QKeySequence(Qt::ALT | Qt::Key_Backspace));
    ASSERT_NE(ctrlZ, nullptr);
    ASSERT_NE(altBackspace, nullptr);

    ctrlZ->trigger();
    EXPECT_EQ(doc->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 2);
    altBackspace->trigger();
    EXPECT_EQ(doc->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 1);
    EXPECT_EQ(doc->m_DataSeries.GetCurrentSeries()->GetData(0)->m_nPixelX, 0);

    MainFrame()->OnIdleUpdateCmdUI();
    for (UINT edit : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        EXPECT_FALSE(MainFrame()->GetCommandAction(edit)->isEnabled()) << edit;
}

TEST_F(AppTest, RecentFiles_FourNewestKeptAcrossRunsAndShownInTheFileMenu) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(
        FileMenuItems(MainFrame()),
        (std::vector<std::string>{"開く(&O)...\tCtrl+O", "-", "最近使ったﾌｧｲﾙ", "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    EXPECT_FALSE(MainFrame()->GetCommandAction(ID_FILE_MRU_FILE1)->isEnabled());

    std::vector<CString> paths;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"}) {
        paths.push_back(Picture(name));
        ASSERT_NE(theApp.OpenDocumentFile(paths.back()), nullptr) << name;
    }
    theApp.ExitInstance();

    // The next run reads the list back from the profile store.
    ASSERT_TRUE(Start());
    const auto entry = [&paths](int number, int file) {
        return "&" + std::to_string(number) + " " + paths[file].str();
    };
    const std::vector<std::string> items = FileMenuItems(MainFrame());
    EXPECT_EQ(items, (std::vector<std::string>{"開く(&O)...\tCtrl+O", "-", entry(1, 4), entry(2, 3),
                                               entry(3, 2), entry(4, 1), "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id)
        EXPECT_TRUE(MainFrame()->GetCommandAction(id)->isEnabled()) << id;

    // Choosing the third entry opens c.bmp, which moves to the top.
    MainFrame()->GetCommandAction(ID_FILE_MRU_FILE1 + 2)->trigger();
    EXPECT_EQ(Document()->GetPathName(), paths[2]);
    EXPECT_EQ(MainFrame()->GetWindowTitle(), "c.bmp - Tallyscope");
    EXPECT_EQ(FileMenuItems(MainFrame())[2], entry(1, 2));
}

TEST_F(AppTest, RecentFiles_AVanishedFileIsReportedAndTheOpenPictureStays) {
    const CString gone = Picture("gone.bmp");
    const CString kept = Picture("kept.bmp");
    ASSERT_TRUE(Start({gone}));
    ASSERT_NE(theApp.OpenDocumentFile(kept), nullptr);
    CTallyscopeDoc* doc = Document();
    doc->m_DataSeries.AddData(5, 6);
    CPictureHolder* picture = doc->m_pPicture;
    ASSERT_TRUE(QFile::remove(QString::fromUtf8(gone.GetString())));

    m_host.AnswerMessageBox(IDOK);
    MainFrame()->OnIdleUpdateCmdUI();
    MainFrame()->GetCommandAction(ID_FILE_MRU_FILE1 + 1)->trigger();
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_NE(m_host.messages[0].text.str().find("gone.bmp"), std::string::npos);
    EXPECT_EQ(doc->m_pPicture, picture);
    EXPECT_EQ(doc->GetPathName(), kept);
    EXPECT_EQ(doc->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 1);
    ASSERT_EQ(theApp.m_pRecentFileList->GetCount(), 1);
    EXPECT_EQ((*theApp.m_pRecentFileList)[0], kept);
}

TEST_F(AppTest, FileOpen_OffersThePicturesAsOneFilterEntryThenAllFiles) {
    ASSERT_TRUE(Start());
    const CString path = Picture("chosen.jpg");
    m_host.AnswerFileDialog(path);
    MainFrame()->OnIdleUpdateCmdUI();
    KeyAction(QKeySequence(Qt::CTRL | Qt::Key_O))->trigger();
    ASSERT_EQ(m_host.fileDialogs.size(), 1u);
    const FileDialogRequest& request = m_host.fileDialogs[0];
    EXPECT_TRUE(request.openFile);
    EXPECT_EQ(request.title, "開く");
    // The picture entry comes first (and so is the one chosen), byte for byte; the PDF entries
    // (OpeningPdfTest) come between it and all files.
    EXPECT_TRUE(request.filter.str().starts_with("画像　ファイル(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|"));
    EXPECT_TRUE(request.filter.str().ends_with("|すべてのﾌｧｲﾙ (*.*)|*.*||"));
    const QStringList entries = AfxQtFileFilters(request.filter);
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries.front(), "画像　ファイル(*.bmp;*.jpg;*.gif) (*.bmp *.BMP *.jpg *.JPG *.gif *.GIF)");
    EXPECT_EQ(entries.back(), "すべてのﾌｧｲﾙ (*.*) (*)");
    EXPECT_EQ(Document()->GetPathName(), path);

    m_host.AnswerFileDialog(std::nullopt); // cancelled: nothing changes
    MainFrame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(Document()->GetPathName(), path);
}

TEST_F(AppTest, AboutBox_RunsTemplate100Modally) {
    ASSERT_TRUE(Start());
    UINT shownTemplate = 0;
    m_host.AnswerDialog([&shownTemplate](CDialog& dialog) -> INT_PTR {
        shownTemplate = dialog.GetTemplateId();
        return IDOK;
    });
    EXPECT_TRUE(MainFrame()->ExecuteCommand(ID_APP_ABOUT));
    EXPECT_EQ(shownTemplate, IDD_ABOUTBOX);
}
