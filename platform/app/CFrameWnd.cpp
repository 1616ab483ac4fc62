#include "platform/app/CFrameWnd.h"

#include "platform/app/CDocument.h"
#include "platform/app/CRecentFileList.h"
#include "platform/app/CView.h"
#include "platform/app/CWinApp.h"
#include "platform/app/FramePlacement.h"
#include "platform/app/FrameWidget.h"
#include "platform/res/AfxResource.h"
#include "platform/res/ResourceBuilder.h"
#include "platform/ui/IdleTrigger.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

#include <algorithm>
#include <utility>

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
    m_pFrameWidget = new FrameWidget(this, parent, AfxFrameWindowFlags(cs.style, cs.dwExStyle));
    m_hWnd = m_pFrameWidget;
    if (AfxFrameDrawsOwnCaption(cs.style) && cs.hMenu == 0)
        m_pFrameWidget->DrawOwnCaption();
    // The toolbar and status bar have no context menu of their own to offer.
    m_pFrameWidget->setContextMenuPolicy(Qt::PreventContextMenu);
    m_pFrameWidget->setWindowTitle(QString::fromUtf8(m_strTitle.GetString()));
    m_pActions =
        std::make_unique<CommandActions>(m_pFrameWidget, [this](UINT nID) { ExecuteUserCommand(nID); });
    LiveFrames().push_back(this);

    AfxPlaceFrame(*m_pFrameWidget, cs);

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
                                            m_pFrameWidget, [this] { OnIdle(); });

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
        m_pFrameWidget->setWindowIcon(QIcon(QPixmap::fromImage(AfxResourcePicture(icon->imagePath))));
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
        QObject::connect(popup, &QMenu::aboutToHide, m_pFrameWidget, [this, popup] { OnMenuClosing(*popup); });
    });
    // The first recent-file item stands in for the whole list, which takes its place when not empty.
    m_pRecentFileAction = m_pActions->Find(ID_FILE_MRU_FILE1);
    m_shownRecentFiles.reset();
    if (m_pRecentFileAction != nullptr) {
        m_strRecentFilePlaceholder = m_pRecentFileAction->text().toUtf8().constData();
        for (QObject* holder : m_pRecentFileAction->associatedObjects()) {
            if (auto* owningMenu = qobject_cast<QMenu*>(holder))
                m_pRecentFileMenu = owningMenu;
        }
    }
    return TRUE;
}

// A submenu closes while its menu stays open when the pointer has moved on to another item, whose
// prompt already shows (Qt closes the submenu a moment later): the line keeps the prompt of the
// item now highlighted. Only the whole menu closing brings the idle text back.
void CFrameWnd::OnMenuClosing(const QMenu& popup) {
    for (QObject* holder : popup.menuAction()->associatedObjects()) {
        const auto* parentMenu = qobject_cast<const QMenu*>(holder);
        if (parentMenu == nullptr || !parentMenu->isVisible())
            continue;
        const QAction* highlighted = parentMenu->activeAction();
        SetMessageText(highlighted != nullptr ? highlighted->statusTip().toUtf8().constData() : "");
        return;
    }
    SetMessageText(AFX_IDS_IDLEMESSAGE);
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

// The loop falls idle several times for each event; the states can have moved only when an event
// other than a repaint came in since the last update.
void CFrameWnd::OnIdle() {
    if (IdleTrigger::Generation() == m_nIdleGeneration)
        return;
    OnIdleUpdateCmdUI();
    m_nIdleGeneration = IdleTrigger::Generation();
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
    // Compared in place: this runs after every event, and the list has rarely moved.
    bool shown = m_shownRecentFiles && static_cast<int>(m_shownRecentFiles->size()) == count;
    for (int index = 0; shown && index < count; ++index)
        shown = (*m_shownRecentFiles)[static_cast<std::size_t>(index)] == (*list)[index];
    if (shown)
        return;
    m_shownRecentFiles.emplace();
    for (int index = 0; index < count; ++index)
        m_shownRecentFiles->push_back((*list)[index]);
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
