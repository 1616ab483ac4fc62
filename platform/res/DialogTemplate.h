#pragma once
// Dialog and form templates as the framework's resource compiler would leave them: a window style,
// a size and a font, then the controls in template order, which is also the tab order. Positions
// and sizes are in dialog units (a quarter of the font's average character width horizontally, an
// eighth of its height vertically). Control kinds follow the framework's window classes, refined
// by their style bits. res/ holds the tables; DialogBuilder turns one into Qt widgets.

#include "platform/core/AfxTypes.h"

#include <span>

// Window styles.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD DS_MODALFRAME = 0x0080;
inline constexpr DWORD DS_SETFONT = 0x0040;

// Edit styles.
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;

// Button styles.
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
inline constexpr DWORD BS_GROUPBOX = 0x0007;
inline constexpr DWORD BS_TYPEMASK = 0x000F;

// Static styles.
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_ICON = 0x0003;
inline constexpr DWORD SS_WHITERECT = 0x0006;
inline constexpr DWORD SS_BITMAP = 0x000E; // shows a bitmap set with CStatic::SetBitmap, centred
inline constexpr DWORD SS_TYPEMASK = 0x001F;
inline constexpr DWORD SS_NOPREFIX = 0x0080;

// List box styles.
inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr DWORD LBS_SORT = 0x0002;
inline constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;

// Up-down styles.
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;
inline constexpr DWORD UDS_ARROWKEYS = 0x0020;

// The id of a control that is never addressed (labels, group boxes).
inline constexpr int IDC_STATIC = -1;

enum class ControlClass { Edit, Button, Static, ListBox, UpDown };

struct DialogControl {
    int id;
    ControlClass kind;
    const char* text; // caption; for an SS_ICON static, the icon's resource name
    CRect rect;       // left, top, right, bottom in dialog units
    DWORD style;      // the class's style bits, plus WS_TABSTOP, WS_BORDER, WS_VSCROLL, WS_GROUP
};

// A control at (x, y) with the given width and height in dialog units.
constexpr DialogControl DlgItem(int id, ControlClass kind, const char* text, int x, int y, int cx, int cy,
                                DWORD style) {
    return {id, kind, text, CRect(x, y, x + cx, y + cy), style};
}

struct DialogTemplate {
    UINT id;
    const char* title; // empty for a child form
    CSize size;        // client area in dialog units
    DWORD style;       // WS_POPUP | WS_CAPTION | ... for a dialog, WS_CHILD for a form
    const char* fontFace;
    int pointSize;
    std::span<const DialogControl> controls;
};

// The template with the id, or null when the program has none.
const DialogTemplate* AfxFindDialogTemplate(UINT nIDTemplate);
