#pragma once
// Cursors as the window services offer them: LoadCursor builds a cursor from the program's cursor
// resources (monochrome pictures with a hot spot) once for each screen scale it is asked on (at
// the scale of the window whose cursor is being chosen) and keeps it for the whole run; SetCursor
// shows it over the window whose cursor is being chosen (the one handling WM_SETCURSOR).

#include "platform/core/AfxTypes.h"

class QCursor;
class QWidget;

using HCURSOR = const QCursor*;
struct ResourceModule;
using HINSTANCE = const ResourceModule*;
inline constexpr UINT RT_GROUP_CURSOR = 12;

// The module that holds a resource; the program has only one.
HINSTANCE AfxFindResourceHandle(UINT nID, UINT nType);
// The cursor with the resource id, or null when there is none.
HCURSOR LoadCursor(HINSTANCE hInstance, UINT nID);
// Shows the cursor over the window whose cursor is being chosen; returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);

// The window that SetCursor acts on; CWnd sets it while a window chooses its cursor.
void AfxSetCursorWindow(QWidget* widget);
