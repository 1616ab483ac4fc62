#pragma once
// The framework's standard ids: its own commands (file, edit, application, view), the control bars'
// window ids, the strings it looks up in the program's string table, and the keyboard indicators.
// The program's resources use the same numbers, so they live here, beneath everything that needs them.

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
