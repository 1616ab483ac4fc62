#pragma once
// Layer res: the program's resource tables, and the menus, accelerators, cursors and dialog widgets
// made from them. It rests on gdi and the layers beneath, and on QtWidgets.
//
// The program's resources as the framework looks them up by id: menus, accelerator tables, the
// string table, toolbar layouts, icons and cursors. The tables themselves are constant data of the
// program, which defines AfxGetResourceModule() as it defines main(): the framework declares what
// it looks up and the program provides it. This header only says what a table looks like and how
// to read it.

#include "platform/core/CString.h"

#include <span>

// A menu item; a popup carries the items of its submenu, a separator has no caption.
inline constexpr UINT MF_GRAYED = 0x0001;

struct MenuItemTemplate {
    const char* caption = nullptr; // "&" before the mnemonic, "\t" before the shortcut text
    UINT id = 0;
    UINT flags = 0;
    std::span<const MenuItemTemplate> popup{};

    constexpr bool IsSeparator() const { return caption == nullptr; }
    constexpr bool IsPopup() const { return !popup.empty(); }
};
constexpr MenuItemTemplate MenuSeparator() {
    return {};
}
constexpr MenuItemTemplate MenuPopup(const char* caption, std::span<const MenuItemTemplate> items) {
    return {caption, 0, 0, items};
}

// One accelerator: a virtual key with its modifiers, and the command it sends.
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;

struct AcceleratorEntry {
    BYTE fVirt;
    UINT key; // a VK_* code, or an upper-case letter
    UINT cmd;
};

// A string of the string table; an entry with idLast covers the whole range of ids.
struct StringEntry {
    UINT id;
    const char* text;
    UINT idLast = 0;
};

// A toolbar: buttons of one size cut in order from one image strip; ID_SEPARATOR marks a gap.
inline constexpr UINT ID_SEPARATOR = 0;

struct ToolBarTemplate {
    UINT id;
    int buttonWidth;
    int buttonHeight;
    const char* imagePath; // a Qt resource path
    std::span<const UINT> items;
};

struct MenuResource {
    UINT id;
    std::span<const MenuItemTemplate> items;
};

struct AcceleratorResource {
    UINT id;
    std::span<const AcceleratorEntry> entries;
};

struct IconResource {
    UINT id;
    const char* imagePath; // a Qt resource path
};

// The version resource: the numeric file and product versions, and one string table (named by its
// language and code page, "041104b0") of named texts such as "FileDescription".
// A cursor picture: 32 rows of 32 characters ('#' black, '.' white, ' ' transparent) with its hot spot.
struct CursorResource {
    UINT id;
    const char* const* picture;
    int hotSpotX;
    int hotSpotY;
};

struct VersionString {
    const char* name;
    const char* value;
};

struct VersionResource {
    WORD fileVersion[4];
    WORD productVersion[4];
    const char* translation;
    std::span<const VersionString> strings;

    // The text of a named field, or null when the table has no such field.
    const char* Find(const char* name) const;
    // The file version as people write it: "1.2.0.0".
    CString FileVersionText() const;
};

struct ResourceModule {
    std::span<const StringEntry> strings;
    std::span<const MenuResource> menus;
    std::span<const AcceleratorResource> accelerators;
    std::span<const ToolBarTemplate> toolBars;
    std::span<const IconResource> icons;
    const VersionResource* version = nullptr;
    std::span<const CursorResource> cursors;

    const MenuResource* FindMenu(UINT id) const;
    const AcceleratorResource* FindAccelerators(UINT id) const;
    const ToolBarTemplate* FindToolBar(UINT id) const;
    const IconResource* FindIcon(UINT id) const;
    const CursorResource* FindCursor(UINT id) const;
};

// The program's resources (defined by the program).
const ResourceModule& AfxGetResourceModule();

// The string with the id, or an empty string when the table has none.
CString AfxLoadString(UINT nID);
BOOL AfxLoadString(UINT nID, CString& rString);
// Field iSubString of a string whose fields are separated by chSep; FALSE past the last field.
BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, char chSep = '\n');
