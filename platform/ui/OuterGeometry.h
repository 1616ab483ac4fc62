#pragma once
// Top-level windows placed by their outer rectangle, frame included, as the framework's positions
// and sizes mean it (the creation structure, SetWindowPos). A window manager's frame is known only
// once it has framed the window, so the size is first given to the window itself and corrected
// when the frame appears: the window then takes the outer size less the frame, and the frame's
// top-left corner goes to the place asked for. On a bare display, frame and window are one.
// The correction is made once per request, so a window the user has resized or maximised since is
// left alone.

#include <QPoint>
#include <QSize>
#include <optional>

class QWidget;

// Places the window: its outer top-left corner at topLeft and its outer size size, each when given.
// A window with a fixed size keeps it fixed at the new size.
void AfxSetOuterGeometry(QWidget& window, std::optional<QPoint> topLeft, std::optional<QSize> size);
