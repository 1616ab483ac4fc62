#pragma once
// Layer ui: windows and their event bridge, controls, dialogs and their data exchange, the modal
// seam. It rests on res and the layers beneath.
//
// The framework's window: one Qt widget behind each CWnd. The widget's input events reach the
// window's message table as typed calls (OnLButtonDown(nFlags, point), OnKeyDown(nChar, nRepCnt,
// nFlags), OnSetCursor, ...) through a WndEventBridge; a message without an entry gets the default
// processing. Positions are client coordinates of the input widget in logical pixels: the pixel
// under the mouse, whatever the screen's scale (see PixelGrid).

#include "platform/core/CCmdTarget.h"
#include "platform/core/CString.h"

#include <QPointer>

class QWidget;
class QEvent;
class QImage;
class WndEventBridge;

inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;

// Show commands and placement flags.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_RESTORE = 9;
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The widget that stands for this window (null before creation or after destruction).
    QWidget* GetSafeHwnd() const;
    // The widget whose events count as this window's input (a scroll view's viewport, say). It takes
    // the keyboard focus whenever the window is given it, so keys reach the window as clicks do.
    QWidget* GetInputWidget() const;

    // Binds this window to its widget and, when given, the child that receives its input.
    void AttachWidget(QWidget* window, QWidget* input = nullptr);

    // Whether files dragged from a file manager may be dropped on this window (see
    // CFrameWnd::OnDropFiles for what a frame does with them).
    void DragAcceptFiles(BOOL bAccept = TRUE);

    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const CRect* rect, BOOL bErase = TRUE);
    void UpdateWindow();
    void GetClientRect(CRect* rect) const;
    virtual int GetScrollPos(int nBar) const;

    // A device context for drawing on the window outside its paint; give it back with ReleaseDC,
    // which shows what was drawn. Windows that keep no pixels between paints give a context that
    // answers metrics (GetDeviceCaps, HIMETRICtoDP) and draws nothing.
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);

    // Message delivery, as the bridge and the tests call it. Returns TRUE when an entry handled it.
    BOOL SendMouseMessage(UINT message, UINT nFlags, CPoint point);
    BOOL SendKeyMessage(UINT message, UINT nChar, UINT nRepCnt, UINT nFlags);
    BOOL SendSetCursor();

    // The default processing of the message being handled (nothing beyond the cursor rule below).
    LRESULT Default();
    // Default cursor processing: the window class's cursor, the standard arrow.
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    // Dialog controls (defined in CWndControls.cpp). SubclassWindow binds this object to an existing
    // control widget without taking over its input. The window text is an edit's contents, a
    // label's or button's caption, else the window title. GetDlgItem finds a child control of a
    // dialog or form by id (null elsewhere); SendMessage answers the control messages a control
    // class knows (LB_*, UDM_*, BM_*) and 0 otherwise.
    BOOL SubclassWindow(QWidget* hWnd);
    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString& rString) const;
    void SetFocus();
    int GetDlgCtrlID() const;
    virtual CWnd* GetDlgItem(int nID) const;
    virtual LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Window placement and lifetime (defined in CWndPlacement.cpp). Sizes and positions are those of
    // the widget; a top-level window's are those of its frame on the screen. SetWindowPos with &wndTopMost keeps a
    // top-level window above all others, &wndNoTopMost releases it. DestroyWindow takes the window
    // off the screen at once; its widget is deleted when control returns to the event loop, so a
    // window may destroy itself from inside one of its own handlers.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;
    BOOL ShowWindow(int nCmdShow);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(CRect* rect) const;
    BOOL IsWindowVisible() const;
    virtual BOOL DestroyWindow();

    // Called by the bridge for every event of the input widget before the translation to messages;
    // returning true consumes the event. Windows that paint override this.
    virtual bool OnWidgetEvent(QEvent* event);

protected:
    // The pixels GetDC draws on: null unless the window keeps its own between paints.
    virtual QImage* GetDrawingSurface() { return nullptr; }
    // Shows what GetDC drew on the surface (ReleaseDC calls it).
    virtual void PresentDrawingSurface();

    QPointer<QWidget> m_hWnd;
    QPointer<QWidget> m_inputWidget;

private:
    void TakeKeyboardFocusAtInput();

    WndEventBridge* m_pBridge = nullptr;
};

// Whether the desktop keeps a window above the others when the program asks it to (SetWindowPos
// with &CWnd::wndTopMost). Wayland compositors do not: they raise whichever window the user
// activates, and keep only an owned window above its owner.
BOOL AfxCanKeepWindowOnTop();

// The key-state flags (MK_*) for the current Qt mouse buttons and keyboard modifiers.
UINT AfxMouseFlags(int qtButtons, int qtModifiers);
// The virtual-key code (VK_*) for a Qt key code, or 0 when it has none.
UINT AfxVirtualKey(int qtKey);
