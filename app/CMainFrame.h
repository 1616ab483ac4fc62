#pragma once
// The main window: menu, accelerators and icon of IDR_MAIN, a dockable toolbar, a status bar of six
// panes, and the floating zoom window beside it.

#include "platform/app/CFrameWnd.h"
#include "platform/app/CStatusBar.h"
#include "platform/app/CToolBar.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
    DECLARE_MESSAGE_MAP()
public:
    CMainFrame() = default;
    ~CMainFrame() override = default;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // A new zoom window at (50, 50), 220 x 280, on top of every other window, holding a new
    // magnifier view of this frame's document.
    void CreateZoomWindow();

    int OnCreate(CREATESTRUCT* lpCreateStruct);
    void OnViewZoomWindow();
    void OnUpdateViewZoomWindow(CCmdUI* pCmdUI);

    CStatusBar m_statusBar;
    CToolBar m_toolBar;
};

// The zoom window's frame while one exists, null otherwise.
extern CFrameWnd* g_zoomFrame;
