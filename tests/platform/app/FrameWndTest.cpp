#include "platform/app/CDocTemplate.h"
#include "platform/app/CDocument.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CRecentFileList.h"
#include "platform/app/CView.h"
#include "platform/app/CWinApp.h"
#include "platform/ui/CaptionBar.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_delivered;
bool g_saveEnabled = false;
bool g_frameDeleted = false;

// One handler per routing stage; ID_DATA_NEW_SERIES has handlers in the document and the frame, so
// the document must win, and ID_APP_ABOUT in the frame and the application, so the frame must win.
class RouteDocument : public CDocument {
    DECLARE_DYNCREATE(RouteDocument)
    DECLARE_MESSAGE_MAP()
public:
    void OnNewSeries() { g_delivered.push_back("document"); }
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override {
        ++opens;
        return QString::fromUtf8(lpszPathName).endsWith(".good") ? TRUE : FALSE;
    }
    int opens = 0;
};

class RouteView : public CView {
    DECLARE_DYNCREATE(RouteView)
    DECLARE_MESSAGE_MAP()
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++initialUpdates; }
    void OnAxisOrigin() { g_delivered.push_back("view"); }
    int initialUpdates = 0;
};

class RouteFrame : public CFrameWnd {
    DECLARE_DYNCREATE(RouteFrame)
    DECLARE_MESSAGE_MAP()
public:
    ~RouteFrame() override { g_frameDeleted = true; }
    void OnNewSeries() { g_delivered.push_back("frame:new-series"); }
    void OnAbout() { g_delivered.push_back("frame"); }
    void OnSave() { g_delivered.push_back("frame:save"); }
    void OnUpdateSave(CCmdUI* pCmdUI) {
        pCmdUI->Enable(g_saveEnabled);
        pCmdUI->SetCheck(g_saveEnabled);
    }
};

class RouteApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
public:
    RouteApp() : CWinApp("Tallyscope") {}
    void OnAbout() { g_delivered.push_back("application:about"); }
    void OnExitCommand() { g_delivered.push_back("application"); }
};

IMPLEMENT_DYNCREATE(RouteDocument, CDocument)
IMPLEMENT_DYNCREATE(RouteView, CView)
IMPLEMENT_DYNCREATE(RouteFrame, CFrameWnd)

const MessageMap* RouteDocument::ThisMessageMap() {
    static const MessageMap map(CDocument::ThisMessageMap(),
                                {MapCommand<&RouteDocument::OnNewSeries>(ID_DATA_NEW_SERIES)});
    return &map;
}

const MessageMap* RouteView::ThisMessageMap() {
    static const MessageMap map(CView::ThisMessageMap(),
                                {MapCommand<&RouteView::OnAxisOrigin>(ID_AXIS_ORIGIN)});
    return &map;
}

const MessageMap* RouteFrame::ThisMessageMap() {
    static const MessageMap map(CFrameWnd::ThisMessageMap(),
                                {
                                    MapCommand<&RouteFrame::OnNewSeries>(ID_DATA_NEW_SERIES),
                                    MapCommand<&RouteFrame::OnAbout>(ID_APP_ABOUT),
                                    MapCommand<&RouteFrame::OnSave>(ID_DATA_SAVE),
                                    MapUpdate<&RouteFrame::OnUpdateSave>(ID_DATA_SAVE),
                                });
    return &map;
}

const MessageMap* RouteApp::ThisMessageMap() {
    static const MessageMap map(CWinApp::ThisMessageMap(),
                                {
                                    MapCommand<&RouteApp::OnAbout>(ID_APP_ABOUT),
                                    MapCommand<&RouteApp::OnExitCommand>(ID_AXIS_VALUE),
                                });
    return &map;
}

class FrameWndTest : public ::testing::Test {
protected:
    FrameWndTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        g_delivered.clear();
        g_saveEnabled = false;
        g_frameDeleted = false;
        m_app.LoadStdProfileSettings(4);
        m_docTemplate = new CSingleDocTemplate(IDR_MAIN, RUNTIME_CLASS(RouteDocument),
                                               RUNTIME_CLASS(RouteFrame), RUNTIME_CLASS(RouteView));
        m_app.AddDocTemplate(m_docTemplate);
    }
    ~FrameWndTest() override { m_app.ExitInstance(); }

    // The first document: a new one, or the named file.
    RouteFrame* Start(LPCTSTR path = nullptr) {
        if (m_docTemplate->OpenDocumentFile(path) == nullptr)
            return nullptr;
        return static_cast<RouteFrame*>(m_app.m_pMainWnd);
    }
    RouteDocument* Document() const { return static_cast<RouteDocument*>(m_docTemplate->GetDocument()); }

    // A second frame with a view of the document, as the zoom window is; null if it failed.
    CFrameWnd* SecondFrame() {
        auto* frame = new CFrameWnd;
        if (!frame->Create(nullptr, "Second", 0, CRect(0, 0, 100, 100))) {
            delete frame;
            return nullptr;
        }
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(RouteView);
        context.m_pCurrentDoc = Document();
        return frame->CreateView(&context) != nullptr ? frame : nullptr;
    }

    static QMenu* MenuHolding(QAction* action) {
        for (QObject* holder : action->associatedObjects()) {
            if (auto* menu = qobject_cast<QMenu*>(holder))
                return menu;
        }
        return nullptr;
    }

    QTemporaryDir m_config;
    RouteApp m_app;
    CSingleDocTemplate* m_docTemplate;
};

} // namespace

TEST_F(FrameWndTest, FrameRouting_ViewDocumentFrameApplicationInThatOrder) {
    RouteFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    const struct {
        UINT id;
        const char* handler;
    } cases[] = {
        {ID_AXIS_ORIGIN, "view"},
        {ID_DATA_NEW_SERIES, "document"}, // before the frame's own handler
        {ID_APP_ABOUT, "frame"},          // before the application's handler
        {ID_AXIS_VALUE, "application"},
    };
    for (const auto& c : cases) {
        g_delivered.clear();
        EXPECT_TRUE(frame->ExecuteCommand(c.id)) << c.id;
        EXPECT_EQ(g_delivered, std::vector<std::string>{c.handler}) << c.id;
    }
    // Nobody handles undo: shown disabled, and running it does nothing.
    g_delivered.clear();
    EXPECT_FALSE(frame->QueryCommandState(ID_EDIT_UNDO).m_bEnabled);
    EXPECT_FALSE(frame->ExecuteCommand(ID_EDIT_UNDO));
    EXPECT_TRUE(g_delivered.empty());
}

TEST_F(FrameWndTest, FrameRouting_UpdateHandlersSetMenuStatesBeforeTheMenuOpens) {
    RouteFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    QAction* save = frame->GetCommandAction(ID_DATA_SAVE);
    QAction* undo = frame->GetCommandAction(ID_EDIT_UNDO);
    QAction* newSeries = frame->GetCommandAction(ID_DATA_NEW_SERIES);
    QMenu* dataMenu = MenuHolding(save);
    ASSERT_NE(dataMenu, nullptr);

    g_saveEnabled = true;
    emit dataMenu->aboutToShow();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(save->isChecked());
    EXPECT_TRUE(newSeries->isEnabled()); // a handler without an update handler is enabled
    EXPECT_FALSE(undo->isEnabled());

    g_saveEnabled = false;
    frame->OnIdleUpdateCmdUI();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(save->isChecked());
}

TEST_F(FrameWndTest, FrameRouting_DisabledCommandNeverDeliveredByMenuOrKey) {
    RouteFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    QAction* save = frame->GetCommandAction(ID_DATA_SAVE);
    QAction* saveKey = nullptr;
    for (QAction* key : frame->GetAcceleratorActions()) {
        if (key->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_S))
            saveKey = key;
    }
    ASSERT_NE(saveKey, nullptr);

    // The menu item still shows enabled from the last update, but the command has been disabled
    // since: neither the item nor the key may deliver it.
    g_saveEnabled = true;
    frame->OnIdleUpdateCmdUI();
    ASSERT_TRUE(save->isEnabled());
    g_saveEnabled = false;
    save->trigger();
    saveKey->trigger();
    EXPECT_TRUE(g_delivered.empty());
    EXPECT_FALSE(save->isEnabled()); // the state caught up after the attempt

    g_saveEnabled = true;
    saveKey->trigger();
    EXPECT_EQ(g_delivered, std::vector<std::string>{"frame:save"});
}

TEST_F(FrameWndTest, FrameRouting_AcceleratorKeyReachesTheCommand) {
    RouteFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    QMainWindow* window = frame->GetFrameWidget();
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    g_saveEnabled = true;
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(g_delivered, std::vector<std::string>{"frame:save"});
}

TEST_F(FrameWndTest, DocTemplate_NewDocumentIsUntitledAndShownWithItsViewInitialised) {
    RouteFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Document()->GetTitle(), "無題");
    EXPECT_EQ(frame->GetWindowTitle(), "無題 - Tallyscope");
    EXPECT_TRUE(frame->IsWindowVisible());
    auto* view = static_cast<RouteView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), Document());
    EXPECT_EQ(view->initialUpdates, 1);
    EXPECT_EQ(frame->GetActiveDocument(), Document());
    EXPECT_EQ(AfxGetParentFrame(view), frame);
}

TEST_F(FrameWndTest, DocTemplate_FailedOpenLeavesTheDocumentAsItWas) {
    RouteFrame* frame = Start("/charts/first.good");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetWindowTitle(), "first.good - Tallyscope");

    EXPECT_EQ(m_app.OpenDocumentFile("/charts/second.bad"), nullptr);
    EXPECT_EQ(Document()->GetPathName(), "/charts/first.good");
    EXPECT_EQ(frame->GetWindowTitle(), "first.good - Tallyscope");
    EXPECT_EQ(m_app.m_pMainWnd, frame);
    ASSERT_EQ(m_app.m_pRecentFileList->GetCount(), 1); // only successful opens are listed
    EXPECT_EQ((*m_app.m_pRecentFileList)[0], "/charts/first.good");

    EXPECT_EQ(m_app.OpenDocumentFile("/charts/third.good"), Document());
    EXPECT_EQ(frame->GetWindowTitle(), "third.good - Tallyscope");
    EXPECT_EQ((*m_app.m_pRecentFileList)[0], "/charts/third.good");
    // The view starts afresh once per successful open, not for the failed one.
    EXPECT_EQ(static_cast<RouteView*>(frame->GetActiveView())->initialUpdates, 2);
}

TEST_F(FrameWndTest, DocTemplate_OpeningTheOpenFileAgainDoesNotReloadIt) {
    ASSERT_NE(Start("/charts/first.good"), nullptr);
    EXPECT_EQ(Document()->opens, 1);
    EXPECT_EQ(m_app.OpenDocumentFile("/charts/../charts/first.good"), Document());
    EXPECT_EQ(Document()->opens, 1);
}

TEST_F(FrameWndTest, DocTemplate_FirstOpenFailingLeavesNoDocumentAndNoWindow) {
    EXPECT_EQ(Start("/charts/broken.bad"), nullptr);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(Document(), nullptr);
    EXPECT_TRUE(CFrameWnd::GetFrames().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(g_frameDeleted);
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<QMainWindow*>(widget), nullptr) << "a frame window was left behind";
}

TEST_F(FrameWndTest, FrameClose_MainWindowClosesTheDocumentAndEveryFrameShowingIt) {
    RouteFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CFrameWnd* second = SecondFrame();
    ASSERT_NE(second, nullptr);
    bool secondGone = false;
    second->SetDestroyNotify([&secondGone] { secondGone = true; });
    QPointer<QMainWindow> secondWidget = second->GetFrameWidget();

    frame->GetFrameWidget()->close(); // the close box
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(Document(), nullptr);
    EXPECT_TRUE(CFrameWnd::GetFrames().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(g_frameDeleted);
    EXPECT_TRUE(secondWidget.isNull());
}

TEST_F(FrameWndTest, FrameClose_AnotherFrameClosedByTheSystemJustGoes) {
    ASSERT_NE(Start(), nullptr);
    CFrameWnd* other = SecondFrame();
    ASSERT_NE(other, nullptr);
    int notified = 0;
    other->SetDestroyNotify([&notified] { ++notified; });

    other->GetFrameWidget()->close();
    EXPECT_EQ(notified, 1);
    EXPECT_NE(m_app.m_pMainWnd, nullptr); // the main window stays
    POSITION pos = Document()->GetFirstViewPosition();
    ASSERT_NE(pos, nullptr);
    Document()->GetNextView(pos);
    EXPECT_EQ(pos, nullptr) << "the closed frame's view is still among the document's views";
    EXPECT_FALSE(other->DestroyWindow()); // already gone: nothing happens twice
    EXPECT_EQ(notified, 1);
}

// Place and size are those of the whole window. The headless platform frames a decorated window
// with a border once it is shown, as a window manager does; the window takes the outer size less it.
TEST_F(FrameWndTest, FrameCreate_StyleDecidesCaptionButtonsAndSizing) {
    auto* plain = new CFrameWnd; // style 0: a caption and a border, no buttons, no sizing border
    ASSERT_TRUE(plain->Create(nullptr, "Plain", 0, CRect(10, 20, 230, 300)));
    QMainWindow* widget = plain->GetFrameWidget();
    EXPECT_EQ(widget->windowTitle(), "Plain");
    // A window manager would put its close box on any caption it draws, so the frame draws its own.
    EXPECT_TRUE(widget->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(widget->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(widget->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(widget->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    auto* caption = qobject_cast<AfxCaptionBar*>(widget->menuWidget());
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->findChildren<QAbstractButton*>().size(), 0);
    EXPECT_EQ(widget->frameGeometry(), QRect(10, 20, 220, 280));
    EXPECT_EQ(widget->minimumSize(), widget->maximumSize()); // no sizing border
    EXPECT_FALSE(widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    plain->SetWindowPos(&CWnd::wndTopMost, 50, 60, 200, 100, 0);
    plain->ShowWindow(SW_SHOW);
    EXPECT_TRUE(widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(widget->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->frameGeometry(), QRect(50, 60, 200, 100));
    EXPECT_EQ(caption->geometry(), QRect(1, 1, 198, caption->height())) << "inside the one-pixel border";

    // Dragging the caption moves the window (with no window manager to ask, by itself).
    QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseMove(caption, QPoint(50, 25));
    QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(50, 25));
    EXPECT_EQ(widget->frameGeometry(), QRect(80, 80, 200, 100));
    plain->DestroyWindow();

    auto* sizable = new CFrameWnd;
    ASSERT_TRUE(sizable->Create(nullptr, "Sizable", WS_OVERLAPPEDWINDOW, CRect(40, 30, 340, 230)));
    QMainWindow* framed = sizable->GetFrameWidget();
    EXPECT_TRUE(framed->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(framed->menuWidget(), nullptr) << "the window manager draws this caption";
    EXPECT_NE(framed->minimumSize(), framed->maximumSize());
    sizable->ShowWindow(SW_SHOW);
    const QMargins frame = framed->windowHandle()->frameMargins();
    ASSERT_FALSE(frame.isNull()) << "the headless platform frames decorated windows";
    EXPECT_EQ(framed->frameGeometry(), QRect(40, 30, 300, 200));
    EXPECT_EQ(framed->size(), QSize(300, 200).shrunkBy(frame));
    // Once framed, the window is the user's to resize.
    framed->resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(framed->size(), QSize(400, 300));
    sizable->DestroyWindow();
}
