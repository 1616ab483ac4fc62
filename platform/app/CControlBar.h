#pragma once
// The framework's control bars: windows docked at a frame's edges (toolbar, status bar). A bar
// registers with the frame it is created in, which finds it by id for GetMessageBar, for the
// show/hide commands and for docking.

#include "platform/res/AfxResource.h"
#include "platform/res/DialogTemplate.h"
#include "platform/ui/CWnd.h"

class CFrameWnd;

// Bar styles: alignment, borders and behaviour.
inline constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
inline constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
inline constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
inline constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
inline constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
inline constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
inline constexpr DWORD CBRS_BORDER_TOP = 0x0200;
inline constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
inline constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0020;
inline constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
inline constexpr DWORD CBRS_GRIPPER = 0x00400000;
inline constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
inline constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
inline constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
inline constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    // Lets the bar be dragged to the frame edges the style names (CBRS_ALIGN_*), or to none.
    virtual void EnableDocking(DWORD dwDockStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    UINT GetBarID() const { return m_nBarID; }
    // Shown unless hidden on purpose (the frame itself may still be off the screen).
    BOOL IsVisible() const;
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

protected:
    friend class CFrameWnd;
    CControlBar() = default;
    // A bar can be dragged to the edges that both it and its frame allow.
    void ApplyDocking();
    // Binds the bar to its widget inside the parent frame; FALSE when the parent is not a frame.
    BOOL AttachToFrame(CWnd* pParentWnd, QWidget* bar, DWORD dwStyle, UINT nID);

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    UINT m_nBarID = 0;
    CFrameWnd* m_pDockSite = nullptr;
};
