// The dialog and form templates of the program, as data. Controls are listed in template order,
// which is the tab order; positions are x, y, width, height in dialog units.

#include "platform/res/DialogTemplate.h"
#include "res/Resource.h"

#include <array>

namespace {

constexpr const char* kDialogFont = "ＭＳ Ｐゴシック";
constexpr int kDialogPointSize = 9;
constexpr DWORD kModalStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormStyle = DS_SETFONT | WS_CHILD;

constexpr auto Edit = ControlClass::Edit;
constexpr auto Button = ControlClass::Button;
constexpr auto Static = ControlClass::Static;
constexpr auto ListBox = ControlClass::ListBox;
constexpr auto UpDown = ControlClass::UpDown;

constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kCheckStyle = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kOkStyle = BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;

constexpr std::array kAboutControls{
    DlgItem(IDC_STATIC, Static, "IDR_MAIN", 11, 17, 20, 20, SS_ICON),
    DlgItem(IDC_STATIC, Static, "Tallyscope Version 1.2.0.0", 40, 10, 119, 8, SS_LEFT | SS_NOPREFIX),
    DlgItem(IDC_STATIC, Static, "グラフ画像の数値読み取り", 40, 25, 119, 8, SS_LEFT),
    DlgItem(IDOK, Button, "OK", 178, 7, 50, 14, kOkStyle | WS_GROUP),
};

constexpr std::array kAxisControls{
    DlgItem(IDC_X_MIN, Edit, "", 50, 150, 40, 14, kEditStyle),
    DlgItem(IDC_X_MAX, Edit, "", 105, 150, 40, 14, kEditStyle),
    DlgItem(IDC_Y_MIN, Edit, "", 50, 170, 40, 14, kEditStyle),
    DlgItem(IDC_Y_MAX, Edit, "", 105, 170, 40, 14, kEditStyle),
    DlgItem(IDC_ORIGIN_X, Edit, "", 50, 40, 40, 14, kEditStyle),
    DlgItem(IDC_ORIGIN_Y, Edit, "", 105, 40, 40, 14, kEditStyle),
    DlgItem(IDC_XAXIS_X, Edit, "", 50, 60, 40, 14, kEditStyle),
    DlgItem(IDC_XAXIS_Y, Edit, "", 105, 60, 40, 14, kEditStyle),
    DlgItem(IDC_YAXIS_X, Edit, "", 50, 80, 40, 14, kEditStyle),
    DlgItem(IDC_YAXIS_Y, Edit, "", 105, 80, 40, 14, kEditStyle),
    DlgItem(IDOK, Button, "OK", 180, 25, 50, 14, kOkStyle),
    DlgItem(IDCANCEL, Button, "ｷｬﾝｾﾙ", 180, 40, 50, 14, kButtonStyle),
    DlgItem(IDC_STATIC, Static, "原点", 20, 45, 15, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "X　軸", 20, 65, 16, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "Y　軸", 20, 85, 16, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "X　軸", 20, 155, 16, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "X", 65, 25, 8, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "Y", 120, 25, 8, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "Y　軸", 20, 175, 16, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Button, "ピクセル値", 10, 15, 145, 90, BS_GROUPBOX),
    DlgItem(IDC_STATIC, Button, "座標値", 10, 120, 180, 75, BS_GROUPBOX),
    DlgItem(IDC_STATIC, Static, "Min", 60, 135, 11, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "Max", 105, 135, 13, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "対数軸", 160, 135, 22, 8, SS_LEFT),
    DlgItem(IDC_X_LOG, Button, "", 165, 155, 16, 8, kCheckStyle),
    DlgItem(IDC_Y_LOG, Button, "", 165, 175, 16, 8, kCheckStyle),
};

constexpr std::array kPixelDataControls{
    DlgItem(IDC_PIXEL_LIST, ListBox, "", 7, 15, 150, 57,
            WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT),
    DlgItem(IDOK, Button, "OK", 107, 84, 50, 14, kOkStyle),
};

// The two labels have no size of their own in the layout; one character cell is enough.
constexpr std::array kDataEditControls{
    DlgItem(IDC_STATIC, Static, "X", 20, 15, 8, 8, SS_LEFT),
    DlgItem(IDC_STATIC, Static, "Y", 20, 35, 8, 8, SS_LEFT),
    DlgItem(IDC_EDIT_X, Edit, "", 55, 15, 40, 14, kEditStyle),
    DlgItem(IDC_EDIT_Y, Edit, "", 55, 35, 40, 14, kEditStyle),
    DlgItem(IDOK, Button, "OK", 125, 15, 50, 14, kOkStyle),
    DlgItem(IDCANCEL, Button, "ｷｬﾝｾﾙ", 125, 32, 50, 14, kButtonStyle),
};

constexpr std::array kAxisValueControls{
    DlgItem(IDC_AXIS_VALUE, Edit, "", 60, 20, 40, 14, ES_AUTOHSCROLL | ES_NOHIDESEL | WS_BORDER | WS_TABSTOP),
    DlgItem(IDOK, Button, "OK", 130, 7, 50, 14, kOkStyle),
    DlgItem(IDCANCEL, Button, "ｷｬﾝｾﾙ", 130, 24, 50, 14, kButtonStyle),
    DlgItem(IDC_STATIC, Static, "座標値", 20, 20, 22, 8, SS_LEFT),
    DlgItem(IDC_AXIS_LOG, Button, "対数", 59, 43, 30, 10, kCheckStyle),
};

constexpr std::array kZoomFormControls{
    DlgItem(IDC_STATIC, Static, "倍率", 57, 7, 15, 8, SS_LEFT),
    DlgItem(IDC_ZOOM_RATE, Edit, "", 74, 7, 26, 14, kEditStyle),
    DlgItem(IDC_ZOOM_SPIN, UpDown, "", 100, 7, 9, 14, UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_SETBUDDYINT),
    DlgItem(IDC_ZOOM_SOURCE, Static, "", 5, 10, 30, 8, SS_LEFT),
    DlgItem(IDC_ZOOM_X, Static, "X", 5, 25, 28, 8, SS_LEFT),
    DlgItem(IDC_ZOOM_Y, Static, "Y", 41, 25, 26, 8, SS_LEFT),
    DlgItem(IDC_ZOOM_R, Static, "R", 5, 35, 30, 8, SS_LEFT),
    DlgItem(IDC_ZOOM_G, Static, "G", 40, 35, 30, 8, SS_LEFT),
    DlgItem(IDC_ZOOM_B, Static, "B", 75, 35, 30, 8, SS_LEFT),
    DlgItem(IDC_ZOOM_PICTURE, Static, "", 7, 49, 83, 95, SS_WHITERECT),
    DlgItem(IDC_ROW_RED, Button, "R", 95, 77, 21, 10, BS_AUTOCHECKBOX),
    DlgItem(IDC_ROW_GREEN, Button, "G", 95, 92, 21, 10, BS_AUTOCHECKBOX),
    DlgItem(IDC_ROW_BLUE, Button, "B", 95, 108, 21, 10, BS_AUTOCHECKBOX),
    DlgItem(IDC_COL_RED, Button, "R", 21, 148, 21, 10, BS_AUTOCHECKBOX),
    DlgItem(IDC_COL_GREEN, Button, "G", 46, 148, 21, 10, BS_AUTOCHECKBOX),
    DlgItem(IDC_COL_BLUE, Button, "B", 71, 148, 21, 10, BS_AUTOCHECKBOX),
};

// The curve tracer's settings, opened from the tools menu.
constexpr std::array kTraceSettingsControls{
    DlgItem(IDC_STATIC, Static, "色の許容差 (ΔE)", 10, 12, 105, 8, SS_LEFT),
    DlgItem(IDC_TRACE_TOLERANCE, Edit, "", 120, 10, 40, 14, kEditStyle),
    DlgItem(IDC_STATIC, Static, "点の間隔 (ピクセル)", 10, 32, 105, 8, SS_LEFT),
    DlgItem(IDC_TRACE_SPACING, Edit, "", 120, 30, 40, 14, kEditStyle),
    DlgItem(IDC_STATIC, Static, "つなぐ隙間の最大 (ピクセル)", 10, 52, 105, 8, SS_LEFT),
    DlgItem(IDC_TRACE_GAP, Edit, "", 120, 50, 40, 14, kEditStyle),
    DlgItem(IDC_TRACE_INSIDE_AXES, Button, "3つの基準点が囲む範囲の中だけを抽出する", 10, 72, 180, 10, kCheckStyle),
    DlgItem(IDOK, Button, "OK", 178, 7, 50, 14, kOkStyle),
    DlgItem(IDCANCEL, Button, "ｷｬﾝｾﾙ", 178, 24, 50, 14, kButtonStyle),
};

constexpr std::array kTemplates{
    DialogTemplate{IDD_ABOUTBOX, "Tallyscopeのﾊﾞｰｼﾞｮﾝ情報", CSize(235, 75), kModalStyle, kDialogFont,
                   kDialogPointSize, kAboutControls},
    DialogTemplate{IDD_AXIS, "軸の設定", CSize(238, 215), kModalStyle, kDialogFont, kDialogPointSize,
                   kAxisControls},
    DialogTemplate{IDD_PIXEL_DATA, "ピクセルデータ", CSize(165, 105), kModalStyle, kDialogFont,
                   kDialogPointSize, kPixelDataControls},
    DialogTemplate{IDD_DATA_EDIT, "データの変更", CSize(187, 65), kModalStyle, kDialogFont, kDialogPointSize,
                   kDataEditControls},
    DialogTemplate{IDD_AXIS_VALUE, "軸の設定", CSize(187, 73), kModalStyle, kDialogFont, kDialogPointSize,
                   kAxisValueControls},
    DialogTemplate{IDD_TRACE_SETTINGS, "抽出の設定", CSize(235, 92), kModalStyle, kDialogFont, kDialogPointSize,
                   kTraceSettingsControls},
    DialogTemplate{IDD_ZOOM_FORM, "", CSize(117, 166), kFormStyle, kDialogFont, kDialogPointSize,
                   kZoomFormControls},
};

} // namespace

const DialogTemplate* AfxFindDialogTemplate(UINT nIDTemplate) {
    for (const DialogTemplate& t : kTemplates)
        if (t.id == nIDTemplate)
            return &t;
    return nullptr;
}
