#pragma once
// Every resource id of the program in one place: the shared id 128, commands, dialog templates,
// controls and cursors. The framework's own standard ids, which the program's menus and string
// table use too, come from the framework.

#include "platform/core/AfxStandardIds.h"

// Shared by the menu, accelerators, toolbar, main icon and document template string.
inline constexpr unsigned IDR_MAIN = 128;
inline constexpr unsigned IDI_DOCUMENT = 129;

// Dialog and form templates.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_AXIS = 130;
inline constexpr unsigned IDD_PIXEL_DATA = 134;
inline constexpr unsigned IDD_DATA_EDIT = 135;
inline constexpr unsigned IDD_AXIS_VALUE = 136;
inline constexpr unsigned IDD_ZOOM_FORM = 137;
inline constexpr unsigned IDD_TRACE_SETTINGS = 138;

// Cursors.
inline constexpr unsigned IDC_CURSOR_PICK = 104;
inline constexpr unsigned IDC_CURSOR_ORIGIN = 131;
inline constexpr unsigned IDC_CURSOR_XAXIS = 132;
inline constexpr unsigned IDC_CURSOR_YAXIS = 133;

// The program's own commands.
inline constexpr unsigned ID_DATA_SHOW = 32771;
inline constexpr unsigned ID_AXIS_ORIGIN = 32772;
inline constexpr unsigned ID_AXIS_XAXIS = 32773;
inline constexpr unsigned ID_AXIS_YAXIS = 32774;
inline constexpr unsigned ID_AXIS_VALUE = 32775;
inline constexpr unsigned ID_DATA_SAVE = 32776;
inline constexpr unsigned ID_DATA_DELETE_LAST = 32777;
inline constexpr unsigned ID_DATA_DELETE_ALL = 32778;
inline constexpr unsigned ID_DATA_NEW_SERIES = 32779;
inline constexpr unsigned ID_ZOOM_X1 = 32788;
inline constexpr unsigned ID_ZOOM_X2 = 32789;
inline constexpr unsigned ID_ZOOM_X4 = 32790;
inline constexpr unsigned ID_MEASURE_LENGTH = 32794;
inline constexpr unsigned ID_MEASURE_AREA = 32795;
inline constexpr unsigned ID_VIEW_ZOOM_WINDOW = 32798;
// The tools menu: the curve tracer's mode, its settings, and the undo of a whole trace.
inline constexpr unsigned ID_TRACE_MODE = 32800;
inline constexpr unsigned ID_TRACE_SETTINGS = 32801;
inline constexpr unsigned ID_TRACE_UNDO = 32802;
// The work file: the whole work saved to a file and opened again.
inline constexpr unsigned ID_WORK_SAVE = 32830;
inline constexpr unsigned ID_WORK_OPEN = 32831;

// Controls.
inline constexpr unsigned IDC_ORIGIN_X = 1000;
inline constexpr unsigned IDC_ORIGIN_Y = 1001;
inline constexpr unsigned IDC_XAXIS_X = 1002;
inline constexpr unsigned IDC_XAXIS_Y = 1003;
inline constexpr unsigned IDC_YAXIS_X = 1004;
inline constexpr unsigned IDC_YAXIS_Y = 1005;
inline constexpr unsigned IDC_X_MIN = 1006;
inline constexpr unsigned IDC_X_MAX = 1007;
inline constexpr unsigned IDC_Y_MIN = 1008;
inline constexpr unsigned IDC_Y_MAX = 1009;
inline constexpr unsigned IDC_X_LOG = 1010;
inline constexpr unsigned IDC_Y_LOG = 1011;
inline constexpr unsigned IDC_PIXEL_LIST = 1012;
inline constexpr unsigned IDC_EDIT_X = 1013;
inline constexpr unsigned IDC_EDIT_Y = 1014;
inline constexpr unsigned IDC_AXIS_VALUE = 1015;
inline constexpr unsigned IDC_AXIS_LOG = 1016;
inline constexpr unsigned IDC_ROW_RED = 1017;
inline constexpr unsigned IDC_ROW_GREEN = 1018;
inline constexpr unsigned IDC_ROW_BLUE = 1019;
inline constexpr unsigned IDC_COL_RED = 1020;
inline constexpr unsigned IDC_COL_GREEN = 1021;
inline constexpr unsigned IDC_COL_BLUE = 1022;
inline constexpr unsigned IDC_ZOOM_PICTURE = 1026;
inline constexpr unsigned IDC_ZOOM_RATE = 1027;
inline constexpr unsigned IDC_ZOOM_SPIN = 1028;
inline constexpr unsigned IDC_ZOOM_SOURCE = 1029;
inline constexpr unsigned IDC_ZOOM_X = 1030;
inline constexpr unsigned IDC_ZOOM_Y = 1031;
inline constexpr unsigned IDC_ZOOM_R = 1032;
inline constexpr unsigned IDC_ZOOM_G = 1033;
inline constexpr unsigned IDC_ZOOM_B = 1034;

// Opening a page of a PDF: the page and resolution dialog and the Open dialog's further entries.
inline constexpr unsigned IDD_PDF_PAGE = 150;
inline constexpr unsigned IDS_OPEN_FILTER_PDF = 151;
inline constexpr unsigned IDS_OPEN_FILTER_PICTURES = 152;
inline constexpr unsigned IDC_PDF_PAGE = 1040;
inline constexpr unsigned IDC_PDF_PAGE_SPIN = 1041;
inline constexpr unsigned IDC_PDF_PAGE_COUNT = 1042;
inline constexpr unsigned IDC_PDF_DPI = 1043;
inline constexpr unsigned IDC_PDF_DPI_150 = 1044;
inline constexpr unsigned IDC_PDF_DPI_300 = 1045;
inline constexpr unsigned IDC_PDF_DPI_600 = 1046;
inline constexpr unsigned IDC_PDF_PIXEL_SIZE = 1047;
inline constexpr unsigned IDC_PDF_PREVIEW = 1048;
inline constexpr unsigned IDC_TRACE_TOLERANCE = 1035;
inline constexpr unsigned IDC_TRACE_SPACING = 1036;
inline constexpr unsigned IDC_TRACE_GAP = 1037;
inline constexpr unsigned IDC_TRACE_INSIDE_AXES = 1038;
