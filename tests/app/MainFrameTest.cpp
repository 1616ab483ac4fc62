#include "AppTestFixture.h"

#include "../support/EventCounter.h"
#include "platform/ui/CaptionBar.h"
#include "res/Resource.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>

namespace {

// A menu as the user sees it: one line per item, submenus indented, separators as "-".
void Describe(const QMenu* menu, const std::string& indent, std::vector<std::string>& lines) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines.push_back(indent + "-");
        } else if (action->menu() != nullptr) {
            lines.push_back(indent + action->text().toStdString() + " >");
            Describe(action->menu(), indent + "  ", lines);
        } else {
            lines.push_back(indent + action->text().toStdString() + " = " +
                            action->data().toString().toStdString());
        }
    }
}

std::vector<std::string> MenuBarLines(QMenuBar* bar) {
    std::vector<std::string> lines;
    for (QAction* top : bar->actions()) {
        lines.push_back(top->text().toStdString() + " >");
        Describe(top->menu(), "  ", lines);
    }
    return lines;
}

} // namespace

TEST_F(AppTest, Resources_MenuCaptionsAndCommandsAsTheTableHasThem) {
    ASSERT_TRUE(Start());
    const std::vector<std::string> expected = {
        "ﾌｧｲﾙ(&F) >",
        "  開く(&O)...\tCtrl+O = 57601",
        "  -",
        "  最近使ったﾌｧｲﾙ = 57616",
        "  -",
        "  ｱﾌﾟﾘｹｰｼｮﾝの終了(&X) = 57665",
        "編集(&E) >",
        "  元に戻す(&U)\tCtrl+Z = 57643",
        "  -",
        "  切り取り(&T)\tCtrl+X = 57635",
        "  ｺﾋﾟｰ(&C)\tCtrl+C = 57634",
        "  貼り付け(&P)\tCtrl+V = 57637",
        "表示(&V) >",
        "  ﾂｰﾙ ﾊﾞｰ(&T) = 59392",
        "  ｽﾃｰﾀｽ ﾊﾞｰ(&S) = 59393",
        "  ﾃﾞｰﾀ表示 = 32771",
        "  拡大 >",
        "    1倍 = 32788",
        "    2倍 = 32789",
        "    4倍 = 32790",
        "  ズームウィンドウ表示 = 32798",
        "ﾃﾞｰﾀ(&D) >",
        "  軸設定 >",
        "    原点選択 = 32772",
        "    X軸選択 = 32773",
        "    Y軸選択 = 32774",
        "    値設定 = 32775",
        "  最新のデータの消去 = 32777",
        "  全てのデータの消去 = 32778",
        "  新規系列データの開始 = 32779",
        "  データ書き出し(&S)...\tCtrl+S = 32776",
        "  計測 >",
        "    長さ = 32794",
        "    面積 = 32795",
        "ツール(&T) >",
        "  曲線の自動抽出(&A) = 32800",
        "  直前の抽出を取り消す(&U) = 32802",
        "  -",
        "  抽出の設定(&S)... = 32801",
        "  -",
        "  作業の保存(&W)... = 32830",
        "  作業を開く(&R)... = 32831",
        "ﾍﾙﾌﾟ(&H) >",
        "  Tallyscopeのﾊﾞｰｼﾞｮﾝ情報(&A)... = 57664",
    };
    EXPECT_EQ(MenuBarLines(MainFrame()->GetFrameWidget()->menuBar()), expected);
}

TEST_F(AppTest, Resources_AcceleratorsAsTheTableHasThem) {
    ASSERT_TRUE(Start());
    const std::vector<std::pair<QKeySequence, UINT>> expected = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), 57601}, {QKeySequence(Qt::CTRL | Qt::Key_S), 32776},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), 32777}, {QKeySequence(Qt::ALT | Qt::Key_Backspace), 32777},
        {QKeySequence(Qt::CTRL | Qt::Key_X), 57635}, {QKeySequence(Qt::SHIFT | Qt::Key_Delete), 57635},
        {QKeySequence(Qt::CTRL | Qt::Key_C), 57634}, {QKeySequence(Qt::CTRL | Qt::Key_Insert), 57634},
        {QKeySequence(Qt::CTRL | Qt::Key_V), 57637}, {QKeySequence(Qt::SHIFT | Qt::Key_Insert), 57637},
        {QKeySequence(Qt::Key_F6), 57680},           {QKeySequence(Qt::SHIFT | Qt::Key_F6), 57681},
    };
    std::vector<std::pair<QKeySequence, UINT>> installed;
    for (QAction* action : MainFrame()->GetAcceleratorActions()) {
        EXPECT_EQ(action->shortcutContext(), Qt::ApplicationShortcut); // the zoom window's keys too
        installed.emplace_back(action->shortcut(), action->data().toUInt());
    }
    EXPECT_EQ(installed, expected);
}

TEST_F(AppTest, Resources_ToolBarButtonsInOrderWithTipsAndPrompts) {
    ASSERT_TRUE(Start());
    const std::vector<UINT> expected = {57601, 32776, 0,     32772, 32773, 32774, 32775, 0,     32794,
                                        32795, 0,     32779, 32777, 32778, 0,     32788, 32789, 32790};
    QToolBar* bar = MainFrame()->m_toolBar.GetToolBarWidget();
    ASSERT_NE(bar, nullptr);
    std::vector<UINT> shown;
    for (QAction* action : bar->actions()) {
        shown.push_back(action->isSeparator() ? 0 : action->data().toUInt());
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->data().toUInt();
        }
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));

    // Full-width letters in the prompts, ASCII ones in the tooltips.
    QAction* xAxis = MainFrame()->GetCommandAction(ID_AXIS_XAXIS);
    EXPECT_EQ(xAxis->statusTip(), "Ｘ軸位置をマウスで選択");
    EXPECT_EQ(xAxis->toolTip(), "X軸選択");
    EXPECT_EQ(MainFrame()->GetCommandAction(ID_FILE_OPEN)->toolTip(), "開く");
    EXPECT_EQ(MainFrame()->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->statusTip(), "");
    EXPECT_EQ(MainFrame()->GetCommandAction(ID_DATA_SHOW)->statusTip(), "ﾃﾞｰﾀの表示");
}

TEST_F(AppTest, MainFrame_PlaceSizeAndDockableToolBar) {
    ASSERT_TRUE(Start());
    QMainWindow* window = MainFrame()->GetFrameWidget();
    // The whole window, frame included; the headless platform frames it as a window manager does.
    EXPECT_EQ(window->frameGeometry(), QRect(280, 50, 600, 500));
    EXPECT_LT(window->width(), 600);
    EXPECT_FALSE(window->windowIcon().isNull());
    QToolBar* bar = MainFrame()->m_toolBar.GetToolBarWidget();
    EXPECT_EQ(window->toolBarArea(bar), Qt::TopToolBarArea);
    EXPECT_TRUE(bar->isMovable());
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
}

// Every pane keeps its width whatever the bar shows: a read-out longer than its 70 pixels is cut
// at the pane's edge, as a long prompt is, the panes beside it stay where they are, and a shorter
// text later finds the pane as narrow as before. The main window keeps its size.
TEST_F(AppTest, MainFrame_KeepsItsSizeWhateverTheStatusBarShows) {
    ASSERT_TRUE(Start());
    QMainWindow* window = MainFrame()->GetFrameWidget();
    CStatusBar& bar = MainFrame()->m_statusBar;
    const auto settle = [] {
        for (int round = 0; round < 4; ++round) // the row, then the bar, then the window are laid out
            QCoreApplication::processEvents();
    };
    const auto textArea = [&](int i) {
        QLabel* pane = bar.GetPaneWidget(i);
        return pane->width() - 2 * (pane->frameWidth() + pane->indent());
    };
    const auto textWidth = [&](int i) {
        QLabel* pane = bar.GetPaneWidget(i);
        return pane->fontMetrics().horizontalAdvance(pane->text());
    };
    struct Case {
        const char* what;
        std::vector<std::pair<int, const char*>> texts;
        std::vector<int> cut; // panes whose text is wider than the pane
    };
    const char* const longest =
        "ずっと長いメッセージがここに出ます、ずっと長いメッセージがここに出ます、ずっと";
    const Case cases[] = {
        {"the About item's prompt", {{0, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"}}, {}},
        {"a prompt longer than the window", {{0, longest}}, {0}},
        {"a first read-out of the length", {{3, "l = 15.811388"}}, {}},
        {"a twelve-digit length", {{3, "l = 123456789012.000000"}}, {3}},
        {"a narrower length later", {{3, "l = 1.000000"}}, {}},
        {"every read-out at its longest",
         {{1, "x = -2147483648"},
          {2, "y = -2147483648"},
          {3, "l = 123456789012.000000"},
          {4, "a = 123456789012345678901234.000000"},
          {5, "系列 = 2147483647"}},
         {1, 2, 3, 4, 5}},
    };
    settle();
    ASSERT_EQ(window->frameGeometry(), QRect(280, 50, 600, 500));
    const int messageRoom = textArea(0);
    std::vector<QRect> places;
    for (int i = 1; i <= 5; ++i)
        places.push_back(bar.GetPaneWidget(i)->geometry());
    for (const Case& c : cases) {
        for (const auto& [pane, text] : c.texts)
            bar.SetPaneText(pane, text);
        settle();
        EXPECT_EQ(window->frameGeometry(), QRect(280, 50, 600, 500)) << c.what;
        EXPECT_EQ(textArea(0), messageRoom) << c.what;
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(textArea(i), 70) << c.what << ", pane " << i;
            EXPECT_EQ(bar.GetPaneWidget(i)->geometry(), places[static_cast<std::size_t>(i - 1)])
                << c.what << ", pane " << i;
        }
        for (int i : c.cut)
            EXPECT_GT(textWidth(i), textArea(i)) << c.what << ", pane " << i << " (the case needs a longer text)";
    }
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    bar.GetPaneInfo(3, id, style, width);
    EXPECT_EQ(width, 70) << "the width asked for is still what the pane reports";
}

TEST_F(AppTest, MainFrame_StatusBarHasAMessagePaneAndFiveReadouts) {
    ASSERT_TRUE(Start());
    CStatusBar& bar = MainFrame()->m_statusBar;
    ASSERT_EQ(bar.GetCount(), 6);
    EXPECT_EQ(MainFrame()->GetMessageBar(), &bar);
    EXPECT_EQ(bar.GetPaneText(0), "ﾚﾃﾞｨ");
    EXPECT_EQ(bar.GetPaneWidget(0)->frameShape(), QFrame::NoFrame);
    for (int i = 1; i <= 5; ++i) {
        QLabel* pane = bar.GetPaneWidget(i);
        // The width is the text's, the border and gaps come on top, so the widest read-out fits.
        EXPECT_EQ(pane->width() - 2 * (pane->frameWidth() + pane->indent()), 70) << i;
        EXPECT_EQ(pane->frameShadow(), QFrame::Sunken) << i;
        EXPECT_EQ(bar.GetPaneText(i), "") << i; // no keyboard-state indicators
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_GT(bar.GetPaneWidget(0)->width(), 150); // the message pane takes what the others leave

    EXPECT_TRUE(bar.SetPaneText(5, "系列 =   2"));
    EXPECT_EQ(bar.GetPaneText(5), "系列 =   2");
    EXPECT_FALSE(bar.SetPaneText(6, "no such pane"));
}

TEST_F(AppTest, MainFrame_FlyByPromptsInTheMessagePaneThenTheIdleText) {
    ASSERT_TRUE(Start());
    QToolBar* toolBar = MainFrame()->m_toolBar.GetToolBarWidget();
    QWidget* saveButton = toolBar->widgetForAction(MainFrame()->GetCommandAction(ID_DATA_SAVE));
    ASSERT_NE(saveButton, nullptr);
    QStatusTipEvent hover(saveButton->statusTip());
    QCoreApplication::sendEvent(saveButton, &hover);
    EXPECT_EQ(MainFrame()->m_statusBar.GetPaneText(0), "ﾃﾞｰﾀの書き出し");
    QStatusTipEvent leave(QString{});
    QCoreApplication::sendEvent(saveButton, &leave);
    EXPECT_EQ(MainFrame()->m_statusBar.GetPaneText(0), "ﾚﾃﾞｨ");

    // In an open menu, the zoom-window item has no prompt: the pane goes blank, not idle. Closing
    // the menu brings the idle text back.
    QMenu* viewMenu = nullptr;
    for (QObject* holder : MainFrame()->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(holder))
            viewMenu = menu;
    ASSERT_NE(viewMenu, nullptr);
    viewMenu->popup(QPoint(300, 100));
    ASSERT_EQ(QApplication::activePopupWidget(), viewMenu);
    // A menu opened from the menu bar shows its items' prompts through the bar.
    QStatusTipEvent zoomItem(MainFrame()->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->statusTip());
    QCoreApplication::sendEvent(MainFrame()->GetFrameWidget()->menuBar(), &zoomItem);
    EXPECT_EQ(MainFrame()->m_statusBar.GetPaneText(0), "");
    viewMenu->hide();
    EXPECT_EQ(MainFrame()->m_statusBar.GetPaneText(0), "ﾚﾃﾞｨ");

    // The edit items are always disabled; the pointer on one still highlights it and shows its prompt.
    QMenuBar* menuBar = MainFrame()->GetFrameWidget()->menuBar();
    QMenu* editMenu = menuBar->actions().at(1)->menu();
    QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(editMenu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([editMenu] { return editMenu->isVisible(); }));
    const std::pair<UINT, const char*> disabledItems[] = {{ID_EDIT_UNDO, "直前に行った動作を元に戻す"},
                                                          {ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け"}};
    for (const auto& [id, prompt] : disabledItems) {
        QAction* item = MainFrame()->GetCommandAction(id);
        ASSERT_FALSE(item->isEnabled()) << id;
        QTest::mouseMove(editMenu, editMenu->actionGeometry(item).center());
        EXPECT_EQ(editMenu->activeAction(), item) << id;
        EXPECT_EQ(MainFrame()->m_statusBar.GetPaneText(0), prompt) << id;
        const QRect line = editMenu->actionGeometry(item);
        EXPECT_EQ(editMenu->grab().toImage().pixelColor(line.left() + 2, line.center().y()),
                  editMenu->palette().color(QPalette::Active, QPalette::Highlight))
            << id << ": the bar under the greyed text";
    }
    editMenu->hide();
}

// A submenu closing while its menu stays open (the pointer moved on to another item) leaves the
// prompt of the item now highlighted; only the whole menu closing brings the idle text back.
TEST_F(AppTest, MainFrame_PromptStaysWhileItsItemIsHighlightedAfterASubmenuCloses) {
    ASSERT_TRUE(Start());
    QMenuBar* menuBar = MainFrame()->GetFrameWidget()->menuBar();
    CStatusBar& bar = MainFrame()->m_statusBar;
    QMenu* dataMenu = menuBar->actions().at(3)->menu();
    QMenu* measureMenu = nullptr;
    for (QObject* holder : MainFrame()->GetCommandAction(ID_MEASURE_LENGTH)->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(holder))
            measureMenu = menu;
    ASSERT_NE(measureMenu, nullptr);
    QAction* newSeries = MainFrame()->GetCommandAction(ID_DATA_NEW_SERIES);

    QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(dataMenu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([dataMenu] { return dataMenu->isVisible(); }));
    QTest::mouseMove(dataMenu, dataMenu->actionGeometry(measureMenu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([measureMenu] { return measureMenu->isVisible(); }));
    EXPECT_EQ(bar.GetPaneText(0), "") << "a submenu's item has no prompt";

    QTest::mouseMove(dataMenu, dataMenu->actionGeometry(newSeries).center());
    ASSERT_EQ(dataMenu->activeAction(), newSeries);
    EXPECT_EQ(bar.GetPaneText(0), "新しい系列のﾃﾞｰﾀ計測の開始");
    ASSERT_TRUE(QTest::qWaitFor([measureMenu] { return !measureMenu->isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(dataMenu->activeAction(), newSeries);
    EXPECT_EQ(bar.GetPaneText(0), "新しい系列のﾃﾞｰﾀ計測の開始") << "the submenu closed, the item is still highlighted";

    dataMenu->hide();
    EXPECT_EQ(bar.GetPaneText(0), "ﾚﾃﾞｨ");
}

TEST_F(AppTest, MainFrame_ToolBarAndStatusBarCommandsToggleWithCheckMarks) {
    ASSERT_TRUE(Start());
    CMainFrame* frame = MainFrame();
    for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        QWidget* bar = frame->GetControlBar(id)->GetSafeHwnd();
        frame->OnIdleUpdateCmdUI();
        EXPECT_TRUE(frame->GetCommandAction(id)->isChecked()) << id;
        EXPECT_TRUE(frame->ExecuteCommand(id));
        EXPECT_TRUE(bar->isHidden()) << id;
        frame->OnIdleUpdateCmdUI();
        EXPECT_FALSE(frame->GetCommandAction(id)->isChecked()) << id;
        EXPECT_TRUE(frame->GetCommandAction(id)->isEnabled()) << id;
        EXPECT_TRUE(frame->ExecuteCommand(id));
        EXPECT_FALSE(bar->isHidden()) << id;
    }
}

TEST_F(AppTest, ZoomWindow_OnTopBesideTheMainWindowWithoutButtons) {
    ASSERT_TRUE(Start());
    ASSERT_NE(g_zoomFrame, nullptr);
    QMainWindow* zoom = g_zoomFrame->GetFrameWidget();
    EXPECT_EQ(zoom->windowTitle(), "Zoom Window");
    EXPECT_EQ(zoom->frameGeometry(), QRect(50, 50, 220, 280));
    const Qt::WindowFlags flags = zoom->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    // Its caption is its own, without buttons; no window manager decorates it.
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_NE(qobject_cast<AfxCaptionBar*>(zoom->menuWidget()), nullptr);
    EXPECT_EQ(zoom->parentWidget(), nullptr); // an unowned top-level window

    // Opening another picture keeps the same zoom window on the same document.
    CFrameWnd* before = g_zoomFrame;
    ASSERT_NE(theApp.OpenDocumentFile(Picture("other.bmp")), nullptr);
    EXPECT_EQ(g_zoomFrame, before);
    EXPECT_EQ(ZoomViews().size(), 1u);
    EXPECT_EQ(MainFrame()->GetWindowTitle(), "other.bmp - Tallyscope"); // the zoom title never changes
    EXPECT_EQ(zoom->windowTitle(), "Zoom Window");
}

TEST_F(AppTest, ZoomWindow_ToggledTwiceComesBackFreshAtItsPlace) {
    ASSERT_TRUE(Start({Picture("sample.bmp")}));
    CMainFrame* frame = MainFrame();
    ASSERT_EQ(ZoomViews().size(), 1u);
    ZoomViews()[0]->m_nMagnification = 7;
    ZoomViews()[0]->m_bRowRed = TRUE;
    ZoomViews()[0]->m_bColBlue = TRUE;
    QPointer<QMainWindow> firstWindow = g_zoomFrame->GetFrameWidget();

    frame->OnIdleUpdateCmdUI();
    ASSERT_TRUE(frame->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->isChecked());
    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_ZOOM_WINDOW));
    EXPECT_EQ(g_zoomFrame, nullptr);
    EXPECT_TRUE(ZoomViews().empty());
    frame->OnIdleUpdateCmdUI();
    EXPECT_FALSE(frame->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->isChecked());
    DeleteDestroyedWindows();
    EXPECT_TRUE(firstWindow.isNull());

    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_ZOOM_WINDOW));
    ASSERT_NE(g_zoomFrame, nullptr);
    frame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(frame->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->isChecked());
    QMainWindow* zoom = g_zoomFrame->GetFrameWidget();
    EXPECT_EQ(zoom->frameGeometry(), QRect(50, 50, 220, 280));
    EXPECT_TRUE(zoom->isVisible());
    ASSERT_EQ(ZoomViews().size(), 1u);
    const CZoomView* fresh = ZoomViews()[0];
    EXPECT_EQ(fresh->m_nMagnification, 2);
    for (BOOL channel : {fresh->m_bRowRed, fresh->m_bRowGreen, fresh->m_bRowBlue, fresh->m_bColRed,
                         fresh->m_bColGreen, fresh->m_bColBlue})
        EXPECT_FALSE(channel);
}

TEST_F(AppTest, ZoomWindow_ClosedByTheSystemClearsTheToggleAndNothingDangles) {
    ASSERT_TRUE(Start({Picture("sample.bmp")}));
    CMainFrame* frame = MainFrame();
    frame->OnIdleUpdateCmdUI();
    ASSERT_TRUE(frame->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->isChecked());
    g_zoomFrame->GetFrameWidget()->close(); // what a window manager's close request does
    EXPECT_EQ(g_zoomFrame, nullptr);
    EXPECT_TRUE(ZoomViews().empty());
    DeleteDestroyedWindows();
    frame->OnIdleUpdateCmdUI();
    EXPECT_FALSE(frame->GetCommandAction(ID_VIEW_ZOOM_WINDOW)->isChecked());

    // The document's updates and the mouse read-out no longer reach a magnifier that is gone.
    Document()->UpdateAllViews(nullptr);
    Document()->UpdateZoomView(3, 4, FALSE);

    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_ZOOM_WINDOW)); // the toggle makes a new one
    EXPECT_NE(g_zoomFrame, nullptr);
    EXPECT_EQ(ZoomViews().size(), 1u);
}

TEST_F(AppTest, MainFrame_ClosingItEndsWithEveryWindowAndTheDocument) {
    ASSERT_TRUE(Start({Picture("sample.bmp")}));
    QPointer<QMainWindow> main = MainFrame()->GetFrameWidget();
    QPointer<QMainWindow> zoom = g_zoomFrame->GetFrameWidget();
    EXPECT_TRUE(MainFrame()->ExecuteCommand(ID_APP_EXIT));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(g_zoomFrame, nullptr);
    DeleteDestroyedWindows();
    EXPECT_TRUE(main.isNull());
    EXPECT_TRUE(zoom.isNull());
}

// The read-outs are rewritten on every mouse move: a new text repaints its own pane and nothing
// else, lays nothing out again, and the same text again costs nothing.
TEST_F(AppTest, MainFrame_NewReadOutRepaintsOnlyItsPane) {
    ASSERT_TRUE(Start({Picture("chart.bmp")}));
    CStatusBar& bar = MainFrame()->m_statusBar;
    for (int i = 1; i <= 5; ++i)
        bar.SetPaneText(i, "0");
    for (int round = 0; round < 4; ++round)
        QCoreApplication::processEvents();

    EventCounter paints(QEvent::Paint);
    EventCounter layouts(QEvent::LayoutRequest);
    bar.SetPaneText(2, "y = -41");
    QCoreApplication::processEvents();
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(paints.Count(bar.GetPaneWidget(i)), i == 2 ? 1 : 0) << i;
    EXPECT_EQ(layouts.Count(bar.GetSafeHwnd()), 0);
    EXPECT_EQ(layouts.Count(MainFrame()->GetSafeHwnd()), 0);

    paints.Reset();
    bar.SetPaneText(2, "y = -41");
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.Count(bar.GetPaneWidget(2)), 0);
}

// Each pane is laid out in a box of its own; the boxes must still follow the bar's font, and no
// message, however long, may widen what the bar's row asks for.
TEST_F(AppTest, MainFrame_PanesFollowTheBarsFontAndTheMessageLength) {
    ASSERT_TRUE(Start());
    CStatusBar& bar = MainFrame()->m_statusBar;
    QCoreApplication::processEvents();
    const int before = bar.GetPaneWidget(1)->height();
    QFont large = bar.GetSafeHwnd()->font();
    large.setPixelSize(3 * QFontInfo(large).pixelSize());
    bar.GetSafeHwnd()->setFont(large);
    for (int round = 0; round < 4; ++round) // the row, then the bar, then the window are laid out
        QCoreApplication::processEvents();
    for (int i = 0; i <= 5; ++i) {
        QLabel* pane = bar.GetPaneWidget(i);
        EXPECT_GE(pane->height(), pane->sizeHint().height()) << i;
        EXPECT_EQ(pane->geometry(), pane->parentWidget()->rect()) << i;
    }
    EXPECT_GT(bar.GetPaneWidget(1)->height(), before);

    const QWidget* row = bar.GetPaneWidget(0)->parentWidget()->parentWidget();
    const int rowBefore = row->minimumSizeHint().width();
    bar.SetPaneText(0, "ずっと長いメッセージがここに出ます、ずっと長いメッセージがここに出ます");
    QCoreApplication::processEvents();
    EXPECT_EQ(row->minimumSizeHint().width(), rowBefore);
}
