#pragma once
// The framework's toolbar on a QToolBar: buttons of one size cut from the toolbar resource's strip,
// separators where the resource puts them. Each button is the frame's action for its command, so
// it shares the menu item's enabled and checked state; its tooltip and its prompt for the status
// line come from the string table. Qt draws toolbar buttons flat.

#include "platform/app/CControlBar.h"
#include "platform/core/AfxStandardIds.h"

#include <vector>

class QToolBar;

inline constexpr DWORD TBSTYLE_FLAT = 0x0800;

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;

    // Creates the empty bar at the frame edge the style names; the borders are Qt's.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);
    // Puts the buttons of the toolbar resource on the bar; FALSE when the resource or its pictures
    // are missing.
    BOOL LoadToolBar(UINT nIDResource);

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // The command of a button, ID_SEPARATOR for a gap.
    UINT GetItemID(int nIndex) const;
    QToolBar* GetToolBarWidget() const;

private:
    std::vector<UINT> m_items;
};
