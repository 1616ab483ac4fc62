#include "platform/res/AfxResource.h"

#include <algorithm>
#include <string_view>

namespace {
template <class Table> auto FindById(const Table& table, UINT id) -> decltype(table.data()) {
    const auto it =
        std::find_if(table.begin(), table.end(), [id](const auto& entry) { return entry.id == id; });
    return it != table.end() ? &*it : nullptr;
}
} // namespace

const MenuResource* ResourceModule::FindMenu(UINT id) const {
    return FindById(menus, id);
}
const AcceleratorResource* ResourceModule::FindAccelerators(UINT id) const {
    return FindById(accelerators, id);
}
const ToolBarTemplate* ResourceModule::FindToolBar(UINT id) const {
    return FindById(toolBars, id);
}
const IconResource* ResourceModule::FindIcon(UINT id) const {
    return FindById(icons, id);
}
const CursorResource* ResourceModule::FindCursor(UINT id) const {
    return FindById(cursors, id);
}

const char* VersionResource::Find(const char* name) const {
    const auto it = std::find_if(strings.begin(), strings.end(), [name](const VersionString& entry) {
        return std::string_view(entry.name) == name;
    });
    return it != strings.end() ? it->value : nullptr;
}

CString VersionResource::FileVersionText() const {
    CString text;
    text.Format("%u.%u.%u.%u", fileVersion[0], fileVersion[1], fileVersion[2], fileVersion[3]);
    return text;
}

BOOL AfxLoadString(UINT nID, CString& rString) {
    for (const StringEntry& entry : AfxGetResourceModule().strings) {
        const UINT last = entry.idLast != 0 ? entry.idLast : entry.id;
        if (nID >= entry.id && nID <= last) {
            rString = entry.text;
            return TRUE;
        }
    }
    rString.Empty();
    return FALSE;
}

CString AfxLoadString(UINT nID) {
    CString text;
    AfxLoadString(nID, text);
    return text;
}

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, char chSep) {
    rString.Empty();
    if (lpszFullString == nullptr || iSubString < 0)
        return FALSE;
    std::string_view rest(lpszFullString);
    for (; iSubString > 0; --iSubString) {
        const std::size_t sep = rest.find(chSep);
        if (sep == std::string_view::npos)
            return FALSE;
        rest.remove_prefix(sep + 1);
    }
    rString = std::string(rest.substr(0, rest.find(chSep)));
    return TRUE;
}
