#pragma once
// Every resource id of the program in one place: the shared id 128, commands, dialog templates,
// controls and cursors. The framework's own standard ids follow.

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

// The framework's standard ids.
inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
inline constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
inline constexpr unsigned ID_FILE_MRU_FILE4 = 57619;
inline constexpr unsigned ID_FILE_MRU_FILE16 = 57631;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_NEXT_PANE = 57680;
inline constexpr unsigned ID_PREV_PANE = 57681;
inline constexpr unsigned ID_VIEW_TOOLBAR = 59392;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 59393;
inline constexpr unsigned AFX_IDW_TOOLBAR = 59392;
inline constexpr unsigned AFX_IDW_STATUS_BAR = 59393;
inline constexpr unsigned AFX_IDW_PANE_FIRST = 59648;
inline constexpr unsigned AFX_IDS_APP_TITLE = 57344;
inline constexpr unsigned AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr unsigned AFX_IDS_OPENFILE = 61440;
inline constexpr unsigned AFX_IDS_SAVEFILE = 61441;
inline constexpr unsigned AFX_IDS_UNTITLED = 61443;
inline constexpr unsigned AFX_IDS_PREVIEW_CLOSE = 61445;
inline constexpr unsigned AFX_IDS_ALLFILTER = 61446;
// Prompts of the window's system commands.
inline constexpr unsigned AFX_IDS_SCSIZE = 61184;
inline constexpr unsigned AFX_IDS_SCMOVE = 61185;
inline constexpr unsigned AFX_IDS_SCMINIMIZE = 61186;
inline constexpr unsigned AFX_IDS_SCMAXIMIZE = 61187;
inline constexpr unsigned AFX_IDS_SCNEXTWINDOW = 61188;
inline constexpr unsigned AFX_IDS_SCPREVWINDOW = 61189;
inline constexpr unsigned AFX_IDS_SCCLOSE = 61190;
inline constexpr unsigned AFX_IDS_SCRESTORE = 61202;
inline constexpr unsigned AFX_IDS_SCTASKLIST = 61203;
// Keyboard-state indicators (the main frame shows none of them).
inline constexpr unsigned ID_INDICATOR_EXT = 59136;
inline constexpr unsigned ID_INDICATOR_CAPS = 59137;
inline constexpr unsigned ID_INDICATOR_NUM = 59138;
inline constexpr unsigned ID_INDICATOR_SCRL = 59139;
inline constexpr unsigned ID_INDICATOR_OVR = 59140;
inline constexpr unsigned ID_INDICATOR_REC = 59141;
inline constexpr unsigned ID_INDICATOR_KANA = 59142;
