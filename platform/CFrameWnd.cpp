#include "platform/CFrameWnd.h"

#include "platform/AfxResource.h"
#include "platform/CControlBar.h"
#include "platform/CDocument.h"
#include "platform/CRecentFileList.h"
#include "platform/CStatusBar.h"
#include "platform/CToolBar.h"
#include "platform/CView.h"
#include "platform/CWinApp.h"
#include "platform/CaptionBar.h"
#include "platform/OuterGeometry.h"
#include "platform/ResourceBuilder.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <utility>

namespace {
// The one file a drop carries: a single local file that is no folder; nothing for several files,
// a folder, a remote address or plain text.
std::optional<QString> SingleLocalFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}
} // namespace

// The frame's widget: a QMainWindow that hands close requests, status-line prompts and dropped
// files to its frame. Once the frame lets go of it (DestroyWindow), it only waits to be deleted,
// and takes the frame object along if the frame deletes itself with its window.
class FrameWidget final : public QMainWindow {
public:
    FrameWidget(CFrameWnd* frame, QWidget* parent, Qt::WindowFlags flags)
        : QMainWindow(parent, flags), m_pFrame(frame) {}
    ~FrameWidget() override { delete std::exchange(m_pOwnedFrame, nullptr); }

    // Gives the frame a caption without buttons and a border of its own (CaptionBar.h).
    void DrawOwnCaption() {
        setMenuWidget(new AfxCaptionBar(this));
        const int border = AfxCaptionBar::kBorder;
        setContentsMargins(border, border, border, border);
        m_bDrawsBorder = true;
    }

    CFrameWnd* m_pFrame;
    CFrameWnd* m_pOwnedFrame = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override {
        QMainWindow::paintEvent(event);
        if (!m_bDrawsBorder)
            return;
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    bool event(QEvent* event) override {
        if (event->type() == QEvent::StatusTip && m_pFrame != nullptr) {
            const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
            // An empty tip inside an open menu is an item without a prompt, which shows nothing;
            // anywhere else the pointer has left a button, and the idle text comes back.
            if (!tip.isEmpty())
                m_pFrame->SetMessageText(tip.toUtf8().constData());
            else if (QApplication::activePopupWidget() != nullptr)
                m_pFrame->SetMessageText("");
            else
                m_pFrame->SetMessageText(AFX_IDS_IDLEMESSAGE);
            return true;
        }
        return QMainWindow::event(event);
    }

    void closeEvent(QCloseEvent* event) override {
        if (m_pFrame != nullptr)
            m_pFrame->OnClose();
        // The frame lets go of its window when it is destroyed; otherwise it stays.
        event->setAccepted(m_pFrame == nullptr);
    }

    // Only widgets that accept drops (DragAcceptFiles) get these, also for drops on their children.
    void dragEnterEvent(QDragEnterEvent* event) override { AcceptSingleFile(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { AcceptSingleFile(event); }
    void dropEvent(QDropEvent* event) override {
        const std::optional<QString> path = AcceptSingleFile(event);
        if (!path)
            return;
        // The file opens once the drop is over: opening may ask a question or report a failure,
        // and the program the file came from waits for the drop to end until then.
        QMetaObject::invokeMethod(
            this,
            [this, fileName = path->toUtf8()] {
                if (m_pFrame != nullptr)
                    m_pFrame->OnDropFiles(fileName.constData());
            },
            Qt::QueuedConnection);
    }

private:
    // Takes a drop of one file as a copy, never a move: a file manager deletes the original of a
    // file that was moved. Refused while a modal window is up, since that window may be working
    // on the document the file would replace.
    std::optional<QString> AcceptSingleFile(QDropEvent* event) {
        const std::optional<QString> path = SingleLocalFile(event->mimeData());
        if (!path || m_pFrame == nullptr || !(event->possibleActions() & Qt::CopyAction) ||
            QApplication::activeModalWidget() != nullptr) {
            event->ignore();
            return std::nullopt;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return path;
    }

    bool m_bDrawsBorder = false;
};

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const MessageMap* CFrameWnd::ThisMessageMap() {
    static const MessageMap map(
        CWnd::ThisMessageMap(),
        {
            MapMessage<&CFrameWnd::OnCreate>(WM_CREATE),
            MapCommand<&CFrameWnd::OnBarCheck>(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR),
            MapUpdate<&CFrameWnd::OnUpdateControlBarMenu>(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR),
        });
    return &map;
}

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {
std::vector<CFrameWnd*>& LiveFrames() {
    static std::vector<CFrameWnd*> frames;
    return frames;
}

// An overlapped window without a system menu has a title bar with no buttons, which no window
// manager can be relied on to draw.
bool DrawsOwnCaption(DWORD style) {
    return (style & (WS_POPUP | WS_SYSMENU)) == 0;
}

Qt::WindowFlags QtWindowFlags(DWORD style, DWORD exStyle) {
    // Every overlapped window has a title bar; the buttons on it come from the style.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (DrawsOwnCaption(style))
        flags = Qt::Window | Qt::FramelessWindowHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    if (exStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

QAction* ActionAfter(const QMenu* menu, const QAction* action) {
    const QList<QAction*> actions = menu->actions();
    const qsizetype index = actions.indexOf(const_cast<QAction*>(action));
    return index >= 0 && index + 1 < actions.size() ? actions[index + 1] : nullptr;
}
} // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    // A frame deleted while it still has its window takes the window along at once.
    if (FrameWidget* widget = m_pFrameWidget) {
        ReleaseWidget();
        delete widget;
    }
}

std::vector<CFrameWnd*> CFrameWnd::GetFrames() {
    return LiveFrames();
}

QMainWindow* CFrameWnd::GetFrameWidget() const {
    return m_pFrameWidget;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const CRect& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    if (m_pFrameWidget != nullptr)
        return FALSE;
    if (lpszMenuName != nullptr && !IS_INTRESOURCE(lpszMenuName))
        return FALSE; // menus are found by number only
    m_strTitle = lpszWindowName != nullptr ? lpszWindowName : "";

    CREATESTRUCT cs;
    cs.lpCreateParams = pContext;
    cs.hMenu =
        lpszMenuName != nullptr ? static_cast<UINT>(reinterpret_cast<std::uintptr_t>(lpszMenuName)) : 0;
    cs.hwndParent = pParentWnd;
    if (!(rect == rectDefault)) {
        cs.x = rect.left;
        cs.y = rect.top;
        cs.cx = rect.Width();
        cs.cy = rect.Height();
    }
    cs.style = dwStyle;
    cs.lpszName = m_strTitle;
    cs.lpszClass = lpszClassName;
    cs.dwExStyle = dwExStyle;
    if (!PreCreateWindow(cs))
        return FALSE;
    m_dwStyle = cs.style;

    QWidget* parent = cs.hwndParent != nullptr ? cs.hwndParent->GetSafeHwnd() : nullptr;
    m_pFrameWidget = new FrameWidget(this, parent, QtWindowFlags(cs.style, cs.dwExStyle));
    m_hWnd = m_pFrameWidget;
    if (DrawsOwnCaption(cs.style) && cs.hMenu == 0)
        m_pFrameWidget->DrawOwnCaption();
    // The toolbar and status bar have no context menu of their own to offer.
    m_pFrameWidget->setContextMenuPolicy(Qt::PreventContextMenu);
    m_pFrameWidget->setWindowTitle(QString::fromUtf8(m_strTitle.GetString()));
    m_pActions =
        std::make_unique<CommandActions>(m_pFrameWidget, [this](UINT nID) { ExecuteUserCommand(nID); });
    LiveFrames().push_back(this);

    // The creation structure's place and size are those of the whole window, frame included.
    const bool placed = cs.x != CW_USEDEFAULT && cs.y != CW_USEDEFAULT;
    const bool sized = cs.cx != CW_USEDEFAULT && cs.cy != CW_USEDEFAULT;
    if (sized && (cs.style & WS_THICKFRAME) == 0)
        m_pFrameWidget->setFixedSize(cs.cx, cs.cy); // no sizing border: the user cannot resize it
    AfxSetOuterGeometry(*m_pFrameWidget, placed ? std::optional(QPoint(cs.x, cs.y)) : std::nullopt,
                        sized ? std::optional(QSize(cs.cx, cs.cy)) : std::nullopt);

    const auto fail = [this] {
        FrameWidget* widget = m_pFrameWidget;
        ReleaseWidget();
        delete widget;
        return FALSE;
    };
    if (cs.hMenu != 0 && !BuildMenu(cs.hMenu))
        return fail();
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        m_idleConnection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock,
                                            m_pFrameWidget, [this] { OnIdleUpdateCmdUI(); });

    const MessageMapEntry* onCreate = FindMessageEntry(WM_CREATE);
    if (onCreate != nullptr && std::get<msgmap::CreateFn>(onCreate->handler)(*this, &cs) == -1)
        return fail();
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    if (cs.style & WS_VISIBLE)
        m_pFrameWidget->show();
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    CString title;
    AfxExtractSubString(title, AfxLoadString(nIDResource), 0);
    if (!Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCE(nIDResource), 0,
                pContext))
        return FALSE;
    if (const IconResource* icon = AfxGetResourceModule().FindIcon(nIDResource))
        m_pFrameWidget->setWindowIcon(QIcon(QString::fromUtf8(icon->imagePath)));
    BuildAccelerators(nIDResource);
    OnUpdateFrameTitle(TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(CREATESTRUCT* lpCreateStruct) {
    auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (context != nullptr && context->m_pNewViewClass != nullptr && CreateView(context) == nullptr)
        return -1;
    return 0;
}

BOOL CFrameWnd::BuildMenu(UINT nIDResource) {
    const MenuResource* menu = AfxGetResourceModule().FindMenu(nIDResource);
    if (menu == nullptr)
        return FALSE;
    AfxBuildMenuBar(m_pFrameWidget->menuBar(), menu->items, *m_pActions, [this](QMenu* popup) {
        QObject::connect(popup, &QMenu::aboutToShow, m_pFrameWidget, [this] { OnIdleUpdateCmdUI(); });
        QObject::connect(popup, &QMenu::aboutToHide, m_pFrameWidget,
                         [this] { SetMessageText(AFX_IDS_IDLEMESSAGE); });
    });
    // The first recent-file item stands in for the whole list, which takes its place when not empty.
    m_pRecentFileAction = m_pActions->Find(ID_FILE_MRU_FILE1);
    if (m_pRecentFileAction != nullptr) {
        m_strRecentFilePlaceholder = m_pRecentFileAction->text().toUtf8().constData();
        for (QObject* holder : m_pRecentFileAction->associatedObjects()) {
            if (auto* owningMenu = qobject_cast<QMenu*>(holder))
                m_pRecentFileMenu = owningMenu;
        }
    }
    return TRUE;
}

void CFrameWnd::BuildAccelerators(UINT nIDResource) {
    const AcceleratorResource* table = AfxGetResourceModule().FindAccelerators(nIDResource);
    if (table == nullptr)
        return;
    m_acceleratorActions =
        AfxInstallAccelerators(m_pFrameWidget, table->entries, [this](UINT nID) { ExecuteUserCommand(nID); });
}

std::vector<QAction*> CFrameWnd::GetAcceleratorActions() const {
    return m_acceleratorActions;
}

QAction* CFrameWnd::GetCommandAction(UINT nID) {
    return m_pActions != nullptr ? m_pActions->Get(nID) : nullptr;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (m_pFrameWidget == nullptr || pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return nullptr;
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(object);
    if (view == nullptr) {
        delete object;
        return nullptr;
    }
    if (!view->Create(this, nID) || view->GetSafeHwnd() == nullptr) {
        delete view;
        return nullptr;
    }
    m_views.emplace_back(view);
    if (pContext->m_pCurrentDoc != nullptr)
        pContext->m_pCurrentDoc->AddView(view);
    if (nID == AFX_IDW_PANE_FIRST)
        m_pFrameWidget->setCentralWidget(view->GetSafeHwnd());
    return view;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL) {
    m_pViewActive = pViewNew;
    if (pViewNew != nullptr) {
        if (QWidget* input = pViewNew->GetInputWidget())
            input->setFocus();
    }
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible) {
    if (m_pViewActive == nullptr && !m_views.empty())
        SetActiveView(m_views.front().get(), FALSE);
    if (bMakeVisible) {
        for (const auto& view : m_views)
            view->OnInitialUpdate();
        ActivateFrame();
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnDropFiles(LPCTSTR lpszFileName) {
    ActivateFrame();
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(lpszFileName);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (m_pFrameWidget == nullptr)
        return;
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    m_pFrameWidget->raise();
    m_pFrameWidget->activateWindow();
}

BOOL CFrameWnd::ShowsDocument(const CDocument* pDoc) const {
    return std::any_of(m_views.begin(), m_views.end(),
                       [pDoc](const std::unique_ptr<CView>& view) { return view->GetDocument() == pDoc; });
}

void CFrameWnd::RegisterControlBar(CControlBar* pBar) {
    if (std::find(m_controlBars.begin(), m_controlBars.end(), pBar) == m_controlBars.end())
        m_controlBars.push_back(pBar);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    for (CControlBar* bar : m_controlBars) {
        if (bar->GetBarID() == nID && bar->GetSafeHwnd() != nullptr)
            return bar;
    }
    return nullptr;
}

CWnd* CFrameWnd::GetMessageBar() {
    return GetControlBar(AFX_IDW_STATUS_BAR);
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    for (CControlBar* bar : m_controlBars)
        bar->ApplyDocking();
}

void CFrameWnd::DockControlBar(CControlBar* pBar) {
    auto* bar = qobject_cast<QToolBar*>(pBar != nullptr ? pBar->GetSafeHwnd() : nullptr);
    if (bar == nullptr || m_pFrameWidget == nullptr)
        return;
    // The first edge both the bar and the frame allow, the top first.
    const DWORD allowed = pBar->GetDockStyle() & m_dwDockStyle;
    const std::pair<DWORD, Qt::ToolBarArea> edges[] = {{CBRS_ALIGN_TOP, Qt::TopToolBarArea},
                                                       {CBRS_ALIGN_BOTTOM, Qt::BottomToolBarArea},
                                                       {CBRS_ALIGN_LEFT, Qt::LeftToolBarArea},
                                                       {CBRS_ALIGN_RIGHT, Qt::RightToolBarArea}};
    for (const auto& [align, area] : edges) {
        if (allowed & align) {
            m_pFrameWidget->addToolBar(area, bar);
            return;
        }
    }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
    if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr)
        pBar->GetSafeHwnd()->setVisible(bShow != FALSE);
}

void CFrameWnd::OnBarCheck(UINT nID) {
    if (CControlBar* bar = GetControlBar(nID))
        ShowControlBar(bar, bar->IsVisible() ? FALSE : TRUE, FALSE);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    pCmdUI->Enable(bar != nullptr);
    pCmdUI->SetCheck(bar != nullptr && bar->IsVisible());
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) {
    if (auto* bar = dynamic_cast<CStatusBar*>(GetMessageBar()))
        bar->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) {
    SetMessageText(AfxLoadString(nID));
}

void CFrameWnd::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle != nullptr ? lpszTitle : "";
    OnUpdateFrameTitle(TRUE);
}

CString CFrameWnd::GetWindowTitle() const {
    return m_pFrameWidget != nullptr ? CString(m_pFrameWidget->windowTitle().toUtf8().constData())
                                     : CString();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (m_pFrameWidget == nullptr)
        return;
    CString title = m_strTitle;
    CDocument* document = (m_dwStyle & FWS_ADDTOTITLE) && bAddToTitle ? GetActiveDocument() : nullptr;
    if (document != nullptr && !document->GetTitle().IsEmpty()) {
        if (m_dwStyle & FWS_PREFIXTITLE)
            title = document->GetTitle() + " - " + m_strTitle;
        else
            title = m_strTitle + " - " + document->GetTitle();
    }
    const QString shown = QString::fromUtf8(title.GetString());
    if (m_pFrameWidget->windowTitle() != shown)
        m_pFrameWidget->setWindowTitle(shown);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, CCmdUI* pUI) {
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, pUI))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, pUI))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, pUI) ? TRUE : FALSE;
}

void CFrameWnd::ExecuteUserCommand(UINT nID) {
    if (m_pFrameWidget == nullptr)
        return;
    ExecuteCommand(nID);
    // The command may have changed what is enabled or checked; show it without waiting for idle.
    OnIdleUpdateCmdUI();
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_pFrameWidget == nullptr)
        return;
    UpdateRecentFileMenu();
    for (const auto& [nID, action] : m_pActions->All()) {
        const CCmdUI state = QueryCommandState(nID);
        action->setEnabled(state.m_bEnabled);
        // Only a checked item is checkable, so unchecked items show no empty box in the menu, as
        // the framework's menus show nothing beside them.
        action->setCheckable(state.m_bChecked);
        action->setChecked(state.m_bChecked);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::UpdateRecentFileMenu() {
    if (m_pRecentFileAction == nullptr || m_pRecentFileMenu == nullptr)
        return;
    CWinApp* app = AfxGetApp();
    const CRecentFileList* list = app != nullptr ? app->m_pRecentFileList : nullptr;
    const int count = list != nullptr ? list->GetCount() : 0;
    const CString firstText = count > 0 ? list->GetMenuText(0) : m_strRecentFilePlaceholder;
    m_pRecentFileAction->setText(QString::fromUtf8(firstText.GetString()));
    // Entries 2, 3, ... follow the first one; touch the menu only when something moved, so that an
    // idle update changes nothing on the screen.
    QAction* previous = m_pRecentFileAction;
    const UINT lastID = list != nullptr
                            ? std::min<UINT>(ID_FILE_MRU_FILE1 + list->GetSize() - 1, ID_FILE_MRU_FILE16)
                            : ID_FILE_MRU_FILE1;
    for (UINT nID = ID_FILE_MRU_FILE1 + 1; nID <= lastID; ++nID) {
        const int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
        QAction* entry = m_pActions->Get(nID);
        if (index >= count) {
            m_pRecentFileMenu->removeAction(entry);
            continue;
        }
        entry->setText(QString::fromUtf8(list->GetMenuText(index).GetString()));
        QAction* next = ActionAfter(m_pRecentFileMenu, previous);
        if (next != entry)
            m_pRecentFileMenu->insertAction(next, entry);
        previous = entry;
    }
}

void CFrameWnd::OnClose() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        if (!app->SaveAllModified())
            return; // a document must stay, and so does the window
        app->CloseAllDocuments(FALSE);
        if (m_pFrameWidget == nullptr)
            return; // destroyed with its document
    }
    DestroyWindow();
}

BOOL CFrameWnd::DestroyWindow() {
    FrameWidget* widget = m_pFrameWidget;
    if (widget == nullptr)
        return FALSE;
    if (m_destroyNotify) {
        const std::function<void()> notify = std::exchange(m_destroyNotify, nullptr);
        notify();
    }
    CWinApp* app = AfxGetApp();
    const bool wasMainWindow = app != nullptr && app->m_pMainWnd == this;
    if (wasMainWindow)
        app->m_pMainWnd = nullptr;
    ReleaseWidget();
    widget->hide();
    if (m_bAutoDelete)
        widget->m_pOwnedFrame = this;
    widget->deleteLater();
    // The message loop ends with the main window.
    if (wasMainWindow)
        QCoreApplication::quit();
    return TRUE;
}

void CFrameWnd::ReleaseWidget() {
    QObject::disconnect(m_idleConnection);
    for (const auto& view : m_views) {
        if (CDocument* document = view->GetDocument())
            document->RemoveView(view.get());
    }
    m_pViewActive = nullptr;
    std::erase(LiveFrames(), this);
    m_pFrameWidget->m_pFrame = nullptr;
    m_pFrameWidget = nullptr;
    m_hWnd = nullptr;
}

CFrameWnd* AfxGetParentFrame(const CWnd* pWnd) {
    for (CFrameWnd* frame : LiveFrames()) {
        if (frame == pWnd)
            return frame;
        if (std::any_of(frame->m_views.begin(), frame->m_views.end(),
                        [pWnd](const std::unique_ptr<CView>& view) { return view.get() == pWnd; }))
            return frame;
    }
    return nullptr;
}
