#include "platform/app/CControlBar.h"

#include "platform/app/CFrameWnd.h"

#include <QToolBar>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    ApplyDocking();
}

void CControlBar::ApplyDocking() {
    auto* toolBar = qobject_cast<QToolBar*>(m_hWnd.data());
    if (toolBar == nullptr || m_pDockSite == nullptr)
        return;
    const DWORD allowed = m_dwDockStyle & m_pDockSite->m_dwDockStyle;
    Qt::ToolBarAreas areas;
    if (allowed & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (allowed & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (allowed & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    if (allowed & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    toolBar->setAllowedAreas(areas);
    toolBar->setMovable(allowed != 0);
    toolBar->setFloatable(allowed != 0);
}

BOOL CControlBar::IsVisible() const {
    return m_hWnd && !m_hWnd->isHidden() ? TRUE : FALSE;
}

BOOL CControlBar::AttachToFrame(CWnd* pParentWnd, QWidget* bar, DWORD dwStyle, UINT nID) {
    auto* frame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (frame == nullptr || frame->GetFrameWidget() == nullptr) {
        delete bar;
        return FALSE;
    }
    m_hWnd = bar;
    m_dwStyle = dwStyle;
    m_nBarID = nID;
    m_pDockSite = frame;
    bar->setVisible((dwStyle & WS_VISIBLE) != 0);
    frame->RegisterControlBar(this);
    return TRUE;
}
