#include "platform/app/FramePlacement.h"

#include "platform/app/CFrameWnd.h"
#include "platform/ui/OuterGeometry.h"

#include <optional>

// An overlapped window without a system menu has a title bar with no buttons, which no window
// manager can be relied on to draw.
bool AfxFrameDrawsOwnCaption(DWORD style) {
    return (style & (WS_POPUP | WS_SYSMENU)) == 0;
}

Qt::WindowFlags AfxFrameWindowFlags(DWORD style, DWORD exStyle) {
    // Every overlapped window has a title bar; the buttons on it come from the style.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (AfxFrameDrawsOwnCaption(style))
        flags = Qt::Window | Qt::FramelessWindowHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    if (exStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    if (exStyle & WS_EX_TOOLWINDOW)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool;
    return flags;
}

void AfxPlaceFrame(QMainWindow& window, const CREATESTRUCT& cs) {
    // The creation structure's place and size are those of the whole window, frame included.
    const bool placed = cs.x != CW_USEDEFAULT && cs.y != CW_USEDEFAULT;
    const bool sized = cs.cx != CW_USEDEFAULT && cs.cy != CW_USEDEFAULT;
    if (sized && (cs.style & WS_THICKFRAME) == 0)
        window.setFixedSize(cs.cx, cs.cy); // no sizing border: the user cannot resize it
    AfxSetOuterGeometry(window, placed ? std::optional(QPoint(cs.x, cs.y)) : std::nullopt,
                        sized ? std::optional(QSize(cs.cx, cs.cy)) : std::nullopt);
}
