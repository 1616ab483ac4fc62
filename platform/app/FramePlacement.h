#pragma once
// A frame's window as its creation structure describes it: the Qt window flags that give the title
// bar the buttons of the style asks for (or a caption of the frame's own where the style has none
// that a window manager would draw), and the outer place and size, frame included.

#include "platform/res/DialogTemplate.h"
#include "platform/ui/CWnd.h"

#include <QMainWindow>

// Whether the frame draws its own caption: an overlapped window without a system menu.
bool AfxFrameDrawsOwnCaption(DWORD style);
// The Qt window flags of a frame with the window style and extended style.
Qt::WindowFlags AfxFrameWindowFlags(DWORD style, DWORD exStyle);
// Places and sizes the frame's window by its outer rectangle as the creation structure gives it
// (CW_USEDEFAULT leaves the choice to the system); without a sizing border the size is fixed.
void AfxPlaceFrame(QMainWindow& window, const CREATESTRUCT& cs);
