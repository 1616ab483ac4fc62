#pragma once
// The framework's status bar: a row of panes addressed by index. A pane shows one line of text in
// a sunken border (SBPS_NORMAL), a raised one (SBPS_POPOUT) or none (SBPS_NOBORDERS); a stretching
// pane (SBPS_STRETCH) takes the width the others leave, every other pane keeps its width in pixels.
// Texts are cut at their pane's edge: whatever the panes show, the bar never widens its window.

#include "platform/app/CControlBar.h"
#include "platform/core/AfxStandardIds.h"

#include <vector>

class QLabel;
class QHBoxLayout;
class StatusPane;

inline constexpr UINT SBPS_NORMAL = 0x0000;
inline constexpr UINT SBPS_NOBORDERS = 0x0100;
inline constexpr UINT SBPS_POPOUT = 0x0200;
inline constexpr UINT SBPS_STRETCH = 0x08000000;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar() = default;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id. An indicator id shows its string from the string table (FALSE when there
    // is none); ID_SEPARATOR makes an empty pane addressed only by index, and in the first place it
    // stretches without a border.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // For tests: the widget that draws a pane.
    QLabel* GetPaneWidget(int nIndex) const;

private:
    struct Pane {
        UINT id = ID_SEPARATOR;
        UINT style = SBPS_NORMAL;
        int width = 0;
        StatusPane* box = nullptr;
        QLabel* label = nullptr;
    };
    void ApplyPaneInfo(int nIndex);
    static void DrawWithoutShaping(QLabel& label);
    bool IsPaneIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }

    std::vector<Pane> m_panes;
    QHBoxLayout* m_pLayout = nullptr;
};
