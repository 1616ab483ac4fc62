// The frame's control bars: registering and finding them, docking them to the frame's edges,
// showing and hiding them from the View menu, and the status bar's first pane as the message line.
#include "platform/app/CFrameWnd.h"

#include "platform/app/CControlBar.h"
#include "platform/app/CStatusBar.h"
#include "platform/app/FrameWidget.h"
#include "platform/core/AfxStandardIds.h"
#include "platform/res/AfxResource.h"

#include <QMainWindow>
#include <QToolBar>

#include <algorithm>
#include <utility>

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
