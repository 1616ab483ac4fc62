#include "app/CMainFrame.h"

#include "platform/app/CView.h"
#include "res/Resource.h"
#include "zoom/CZoomView.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

CFrameWnd* g_zoomFrame = nullptr;

const MessageMap* CMainFrame::ThisMessageMap() {
    static const MessageMap map(CFrameWnd::ThisMessageMap(),
                                {
                                    MapMessage<&CMainFrame::OnCreate>(WM_CREATE),
                                    MapCommand<&CMainFrame::OnViewZoomWindow>(ID_VIEW_ZOOM_WINDOW),
                                    MapUpdate<&CMainFrame::OnUpdateViewZoomWindow>(ID_VIEW_ZOOM_WINDOW),
                                });
    return &map;
}

namespace {
// Status bar panes: the stretching message pane, then five read-outs written by index.
constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR,
                                ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR};
constexpr int kReadoutPaneWidth = 70;

constexpr CRect kZoomWindowRect(50, 50, 270, 330);
} // namespace

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.x = 280;
    cs.y = 50;
    cs.cx = 600;
    cs.cy = 500;
    return CFrameWnd::PreCreateWindow(cs) ? TRUE : FALSE;
}

int CMainFrame::OnCreate(CREATESTRUCT* lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT,
                            WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                                CBRS_SIZE_DYNAMIC,
                            CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(IDR_MAIN))
        return -1;

    if (!m_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_statusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;

    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);

    for (int i = 1; i <= 5; ++i)
        m_statusBar.SetPaneInfo(i, ID_SEPARATOR, SBPS_NORMAL, kReadoutPaneWidth);

    // A picture dropped on the main window from a file manager opens as if chosen in the Open dialog.
    DragAcceptFiles();
    return 0;
}

void CMainFrame::CreateZoomWindow() {
    const CRect rect = kZoomWindowRect;

    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CZoomView);
    context.m_pCurrentDoc = GetActiveDocument();
    context.m_pNewDocTemplate = nullptr;
    context.m_pLastView = nullptr;
    context.m_pCurrentFrame = nullptr;

    g_zoomFrame = new CFrameWnd;
    // However the zoom window goes (the toggle, the system closing it, the document closing), the
    // pointer goes with it, so the toggle and its check mark never see a window that is gone.
    g_zoomFrame->SetDestroyNotify([] { g_zoomFrame = nullptr; });
    // Where the desktop keeps no window on top at a program's request (Wayland), the zoom window is
    // a tool window owned by this frame instead, which the desktop keeps above it.
    const bool owned = !AfxCanKeepWindowOnTop();
    if (!g_zoomFrame->Create(nullptr, "Zoom Window", 0, rect, owned ? this : nullptr, nullptr,
                             owned ? WS_EX_TOOLWINDOW : 0, nullptr)) {
        delete g_zoomFrame; // never had a window to take it along
        g_zoomFrame = nullptr;
        return;
    }
    if (auto* view = static_cast<CView*>(g_zoomFrame->CreateView(&context, AFX_IDW_PANE_FIRST)))
        view->OnInitialUpdate();
    g_zoomFrame->SetWindowPos(&CWnd::wndTopMost, rect.left, rect.top, rect.Width(), rect.Height(), 0);
    g_zoomFrame->ShowWindow(SW_SHOW);
}

void CMainFrame::OnViewZoomWindow() {
    if (g_zoomFrame == nullptr) {
        CreateZoomWindow();
    } else {
        g_zoomFrame->DestroyWindow();
        g_zoomFrame = nullptr;
    }
}

void CMainFrame::OnUpdateViewZoomWindow(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(g_zoomFrame != nullptr);
}
