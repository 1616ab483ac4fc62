// The command vocabulary of the main window: menu, accelerators, toolbar, string table and icons,
// all under the shared id IDR_MAIN. The pictures live in tallyscope.qrc (made by
// scripts/make-resources.sh).

#include "platform/res/AfxResource.h"
#include "res/CursorResources.h"
#include "res/Resource.h"

#include <QtCore/qglobal.h>

namespace {

constexpr MenuItemTemplate kFileMenu[] = {
    {"開く(&O)...\tCtrl+O", ID_FILE_OPEN},
    MenuSeparator(),
    {"最近使ったﾌｧｲﾙ", ID_FILE_MRU_FILE1, MF_GRAYED},
    MenuSeparator(),
    {"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", ID_APP_EXIT},
};

constexpr MenuItemTemplate kEditMenu[] = {
    {"元に戻す(&U)\tCtrl+Z", ID_EDIT_UNDO},  MenuSeparator(),
    {"切り取り(&T)\tCtrl+X", ID_EDIT_CUT},   {"ｺﾋﾟｰ(&C)\tCtrl+C", ID_EDIT_COPY},
    {"貼り付け(&P)\tCtrl+V", ID_EDIT_PASTE},
};

constexpr MenuItemTemplate kZoomMenu[] = {
    {"1倍", ID_ZOOM_X1},
    {"2倍", ID_ZOOM_X2},
    {"4倍", ID_ZOOM_X4},
};

constexpr MenuItemTemplate kViewMenu[] = {
    {"ﾂｰﾙ ﾊﾞｰ(&T)", ID_VIEW_TOOLBAR},
    {"ｽﾃｰﾀｽ ﾊﾞｰ(&S)", ID_VIEW_STATUS_BAR},
    {"ﾃﾞｰﾀ表示", ID_DATA_SHOW},
    MenuPopup("拡大", kZoomMenu),
    {"ズームウィンドウ表示", ID_VIEW_ZOOM_WINDOW},
};

constexpr MenuItemTemplate kAxisMenu[] = {
    {"原点選択", ID_AXIS_ORIGIN},
    {"X軸選択", ID_AXIS_XAXIS},
    {"Y軸選択", ID_AXIS_YAXIS},
    {"値設定", ID_AXIS_VALUE},
};

constexpr MenuItemTemplate kMeasureMenu[] = {
    {"長さ", ID_MEASURE_LENGTH},
    {"面積", ID_MEASURE_AREA},
};

constexpr MenuItemTemplate kDataMenu[] = {
    MenuPopup("軸設定", kAxisMenu),
    {"最新のデータの消去", ID_DATA_DELETE_LAST},
    {"全てのデータの消去", ID_DATA_DELETE_ALL},
    {"新規系列データの開始", ID_DATA_NEW_SERIES},
    {"データ書き出し(&S)...\tCtrl+S", ID_DATA_SAVE},
    MenuPopup("計測", kMeasureMenu),
};

// Added after the menus above, under keys none of them uses: the mnemonic T on the menu bar, no
// accelerators.
constexpr MenuItemTemplate kToolsMenu[] = {
    {"曲線の自動抽出(&A)", ID_TRACE_MODE},
    {"直前の抽出を取り消す(&U)", ID_TRACE_UNDO},
    MenuSeparator(),
    {"抽出の設定(&S)...", ID_TRACE_SETTINGS},
    MenuSeparator(),
    {"作業の保存(&W)...", ID_WORK_SAVE},
    {"作業を開く(&R)...", ID_WORK_OPEN},
};

constexpr MenuItemTemplate kHelpMenu[] = {
    {"Tallyscopeのﾊﾞｰｼﾞｮﾝ情報(&A)...", ID_APP_ABOUT},
};

constexpr MenuItemTemplate kMainMenu[] = {
    MenuPopup("ﾌｧｲﾙ(&F)", kFileMenu), MenuPopup("編集(&E)", kEditMenu), MenuPopup("表示(&V)", kViewMenu),
    MenuPopup("ﾃﾞｰﾀ(&D)", kDataMenu), MenuPopup("ツール(&T)", kToolsMenu), MenuPopup("ﾍﾙﾌﾟ(&H)", kHelpMenu),
};

// Both undo keys delete the latest picked point; the undo menu item itself has no handler.
constexpr AcceleratorEntry kMainAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_DATA_SAVE},
    {FVIRTKEY | FCONTROL, 'Z', ID_DATA_DELETE_LAST},
    {FVIRTKEY | FALT, VK_BACK, ID_DATA_DELETE_LAST},
    {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
    {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
    {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
    {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
};

constexpr UINT kMainToolBarItems[] = {
    ID_FILE_OPEN,  ID_DATA_SAVE,       ID_SEPARATOR,        ID_AXIS_ORIGIN,     ID_AXIS_XAXIS,
    ID_AXIS_YAXIS, ID_AXIS_VALUE,      ID_SEPARATOR,        ID_MEASURE_LENGTH,  ID_MEASURE_AREA,
    ID_SEPARATOR,  ID_DATA_NEW_SERIES, ID_DATA_DELETE_LAST, ID_DATA_DELETE_ALL, ID_SEPARATOR,
    ID_ZOOM_X1,    ID_ZOOM_X2,         ID_ZOOM_X4,
};

// A command string is the status-line prompt, then "\n" and the tooltip.
constexpr StringEntry kStrings[] = {
    // The document template: main-window title, document name, file-new name, Open filter name and
    // extension, registry file type id and name.
    {IDR_MAIN, "Tallyscope\n\nTallyscope\n画像　ファイル(*.bmp;*.jpg;*.gif)\n.bmp;*.jpg;*.gif\n"
               "Tallyscope.Document\nTallyscope Document"},

    {ID_DATA_SHOW, "ﾃﾞｰﾀの表示"},
    {ID_AXIS_ORIGIN, "原点位置をマウスで選択\n原点選択"},
    {ID_AXIS_XAXIS, "Ｘ軸位置をマウスで選択\nX軸選択"},
    {ID_AXIS_YAXIS, "Ｙ軸位置をマウスで選択\nY軸選択"},
    {ID_AXIS_VALUE, "軸の値を設定\n軸の値設定"},
    {ID_DATA_SAVE, "ﾃﾞｰﾀの書き出し\nﾃﾞｰﾀ書き出し"},
    {ID_DATA_DELETE_LAST, "最新のﾃﾞｰﾀを消去\n最新ﾃﾞｰﾀ消去"},
    {ID_DATA_DELETE_ALL, "全ての系列のﾃﾞｰﾀを消去\n全ﾃﾞｰﾀ消去"},
    {ID_DATA_NEW_SERIES, "新しい系列のﾃﾞｰﾀ計測の開始\n新規系列ﾃﾞｰﾀ開始"},
    {ID_ZOOM_X1, "画像を等倍で表示\n等倍表示"},
    {ID_ZOOM_X2, "画像を2倍で表示\n2倍表示"},
    {ID_ZOOM_X4, "画像を4倍で表示\n4倍表示"},
    {ID_MEASURE_LENGTH, "長さの計測\n長さの計測"},
    {ID_MEASURE_AREA, "面積の計測\n面積の計測"},
    {ID_TRACE_MODE, "Shift+クリックで曲線を抽出\n曲線の自動抽出"},
    {ID_TRACE_UNDO, "直前の抽出で加えた点を消去\n直前の抽出を取り消す"},
    {ID_TRACE_SETTINGS, "自動抽出の許容差と間隔を設定\n抽出の設定"},
    {ID_WORK_SAVE, "作業をファイルに保存\n作業の保存"},
    {ID_WORK_OPEN, "保存した作業を開く\n作業を開く"},

    {AFX_IDS_APP_TITLE, "Tallyscope"},
    {AFX_IDS_IDLEMESSAGE, "ﾚﾃﾞｨ"},
    {AFX_IDS_OPENFILE, "開く"},
    {AFX_IDS_SAVEFILE, "名前を付けて保存"},
    {AFX_IDS_UNTITLED, "無題"},

    {ID_FILE_NEW, "新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ"},
    {ID_FILE_OPEN, "既存のﾌｧｲﾙを開く\n開く"},
    {ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀおよびﾌﾟﾘﾝﾀ ｵﾌﾟｼｮﾝの設定を変更\n印刷設定"},
    {ID_FILE_MRU_FILE1, "指定のﾌｧｲﾙを開く", ID_FILE_MRU_FILE16},
    {ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了"},
    {ID_APP_ABOUT, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"},
    {ID_NEXT_PANE, "次のｳｨﾝﾄﾞｳに切り替える\n次のﾍﾟｲﾝ"},
    {ID_PREV_PANE, "前のｳｨﾝﾄﾞｳに切り替える\n前のﾍﾟｲﾝ"},
    {ID_EDIT_UNDO, "直前に行った動作を元に戻す\n元に戻す"},
    {ID_EDIT_CUT, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n切り取り"},
    {ID_EDIT_COPY, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ"},
    {ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け"},
    {ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰの 表示/非表示\nﾂｰﾙ ﾊﾞｰの表示切り替え"},
    {ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰの 表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え"},
    {AFX_IDS_ALLFILTER, "すべてのﾌｧｲﾙ (*.*)"},
    {AFX_IDS_PREVIEW_CLOSE, "印刷ﾌﾟﾚﾋﾞｭｰ ﾓｰﾄﾞを閉じる\nﾌﾟﾚﾋﾞｭｰのｷｬﾝｾﾙ"},

    {AFX_IDS_SCSIZE, "ｳｨﾝﾄﾞｳのｻｲｽﾞを変更"},
    {AFX_IDS_SCMOVE, "ｳｨﾝﾄﾞｳの位置を変更"},
    {AFX_IDS_SCMINIMIZE, "ｳｨﾝﾄﾞｳを最小化する"},
    {AFX_IDS_SCMAXIMIZE, "ｳｨﾝﾄﾞｳを最大化する"},
    {AFX_IDS_SCNEXTWINDOW, "次のﾄﾞｷｭﾒﾝﾄ ｳｨﾝﾄﾞｳに切り替える"},
    {AFX_IDS_SCPREVWINDOW, "前のﾄﾞｷｭﾒﾝﾄ ｳｨﾝﾄﾞｳに切り替える"},
    {AFX_IDS_SCCLOSE, "作業中のｳｨﾝﾄﾞｳを閉じ、変更したﾌｧｲﾙの保存を指示"},
    {AFX_IDS_SCRESTORE, "ｳｨﾝﾄﾞｳを通常のｻｲｽﾞに戻す"},
    {AFX_IDS_SCTASKLIST, "ｱﾌﾟﾘｹｰｼｮﾝの切り替え"},

    {ID_INDICATOR_EXT, "拡張"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_INDICATOR_OVR, "OVR"},
    {ID_INDICATOR_REC, "REC"},
    {ID_INDICATOR_KANA, "ｶﾅ"},
};

constexpr MenuResource kMenus[] = {{IDR_MAIN, kMainMenu}};
constexpr AcceleratorResource kAccelerators[] = {{IDR_MAIN, kMainAccelerators}};
constexpr ToolBarTemplate kToolBars[] = {{IDR_MAIN, 16, 15, ":/res/images/toolbar.png", kMainToolBarItems}};
constexpr IconResource kIcons[] = {
    {IDR_MAIN, ":/res/images/main-icon.png"},
    {IDI_DOCUMENT, ":/res/images/document-icon.png"},
};

constexpr VersionString kVersionStrings[] = {
    {"Comments", ""},
    {"CompanyName", ""},
    {"FileDescription", "Tallyscope MFC ｱﾌﾟﾘｹｰｼｮﾝ"},
    {"FileVersion", "1, 2, 0, 0"},
    {"InternalName", "Tallyscope"},
    {"LegalCopyright", "Copyright (C) The Tallyscope authors"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Tallyscope.EXE"},
    {"PrivateBuild", ""},
    {"ProductName", "Tallyscope ｱﾌﾟﾘｹｰｼｮﾝ"},
    {"ProductVersion", "1, 2, 0, 0"},
    {"SpecialBuild", ""},
};
constexpr VersionResource kVersion{{1, 2, 0, 0}, {1, 2, 0, 0}, "041104b0", kVersionStrings};


} // namespace

// The pictures are compiled into the static library; naming the resource file here keeps the linker
// from dropping them.
static void InitImageResources() {
    Q_INIT_RESOURCE(tallyscope);
}

const ResourceModule& AfxGetResourceModule() {
    static const bool imagesRegistered = (InitImageResources(), true);
    (void)imagesRegistered;
    static const ResourceModule module{kStrings, kMenus, kAccelerators, kToolBars, kIcons, &kVersion, CursorTable()};
    return module;
}
