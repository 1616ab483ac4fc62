#include "platform/core/CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const MessageMapEntry* MessageMap::Find(msgmap::EntryKind kind, UINT message, UINT id) const {
    for (const MessageMap* map = this; map != nullptr; map = map->m_pBase) {
        for (const MessageMapEntry& e : map->m_entries) {
            if (e.kind != kind || e.message != message)
                continue;
            if (kind == msgmap::EntryKind::Message || (id >= e.idFirst && id <= e.idLast))
                return &e;
        }
    }
    return nullptr;
}

const MessageMap* CCmdTarget::ThisMessageMap() {
    static const MessageMap map(nullptr, {});
    return &map;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, CCmdUI* pUI) {
    const MessageMap* map = GetMessageMap();
    if (pUI != nullptr) {
        if (const MessageMapEntry* update = map->Find(msgmap::EntryKind::Update, WM_COMMAND, nID)) {
            std::get<msgmap::UpdateFn>(update->handler)(*this, pUI);
            return TRUE;
        }
        if (map->Find(msgmap::EntryKind::Command, WM_COMMAND, nID)) {
            pUI->Enable(TRUE);
            return TRUE;
        }
        return FALSE;
    }
    if (const MessageMapEntry* command = map->Find(msgmap::EntryKind::Command, WM_COMMAND, nID)) {
        std::get<msgmap::CommandFn>(command->handler)(*this, nID);
        return TRUE;
    }
    return FALSE;
}

BOOL CCmdTarget::OnNotify(UINT notifyCode, UINT controlId) {
    if (const MessageMapEntry* e = GetMessageMap()->Find(msgmap::EntryKind::Notify, notifyCode, controlId)) {
        std::get<msgmap::VoidFn>(e->handler)(*this);
        return TRUE;
    }
    return FALSE;
}

const MessageMapEntry* CCmdTarget::FindMessageEntry(UINT message) const {
    return GetMessageMap()->Find(msgmap::EntryKind::Message, message, 0);
}

CCmdUI CCmdTarget::QueryCommandState(UINT nID) {
    CCmdUI state(nID);
    if (!OnCmdMsg(nID, &state))
        state.Enable(FALSE); // nobody handles it: shown disabled
    else if (!state.m_bEnableChanged)
        state.m_bEnabled = true;
    return state;
}

BOOL CCmdTarget::ExecuteCommand(UINT nID) {
    if (!QueryCommandState(nID).m_bEnabled)
        return FALSE;
    return OnCmdMsg(nID, nullptr);
}
