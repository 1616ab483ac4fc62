#pragma once
// Command targets and their message tables. Each class that takes commands or window messages
// declares one static table (DECLARE_MESSAGE_MAP in the class, ThisMessageMap in its source),
// built from the typed helpers MapCommand, MapUpdate, MapNotify and MapMessage; a lookup searches
// the class's table, then its base's. CCmdUI carries the enabled and checked state that update
// handlers set before a menu opens or when the toolbar idles.

#include "platform/core/CObject.h"

#include <initializer_list>
#include <type_traits>
#include <variant>
#include <vector>

class CCmdTarget;
class CWnd;
class CDC;
struct CREATESTRUCT;

// The state of one command as its update handler leaves it.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}
    void Enable(BOOL bOn = TRUE) {
        m_bEnabled = bOn != FALSE;
        m_bEnableChanged = true;
    }
    void SetCheck(int nCheck = 1) { m_bChecked = nCheck != 0; }

    UINT m_nID;
    bool m_bEnabled = false;
    // Whether the update handler decided the enabled state; one that only sets the check mark leaves
    // its command enabled.
    bool m_bEnableChanged = false;
    bool m_bChecked = false;
};

namespace msgmap {
using CommandFn = void (*)(CCmdTarget&, UINT id);
using UpdateFn = void (*)(CCmdTarget&, CCmdUI*);
using MouseFn = void (*)(CCmdTarget&, UINT nFlags, CPoint point);
using KeyFn = void (*)(CCmdTarget&, UINT nChar, UINT nRepCnt, UINT nFlags);
using SetCursorFn = BOOL (*)(CCmdTarget&, CWnd* pWnd, UINT nHitTest, UINT message);
using EraseFn = BOOL (*)(CCmdTarget&, CDC* pDC);
using CreateFn = int (*)(CCmdTarget&, CREATESTRUCT* cs);
using VoidFn = void (*)(CCmdTarget&);
using Handler = std::variant<CommandFn, UpdateFn, MouseFn, KeyFn, SetCursorFn, EraseFn, CreateFn, VoidFn>;

enum class EntryKind { Command, Update, Notify, Message };

template <class M>
struct MethodClass;
template <class C, class R, class... A>
struct MethodClass<R (C::*)(A...)> {
    using type = C;
};
template <auto Method>
using ClassOf = typename MethodClass<decltype(Method)>::type;
} // namespace msgmap

struct MessageMapEntry {
    msgmap::EntryKind kind;
    UINT message; // window message, or the notification code for Notify entries
    UINT idFirst;
    UINT idLast;
    msgmap::Handler handler;
};

class MessageMap {
public:
    MessageMap(const MessageMap* base, std::initializer_list<MessageMapEntry> entries)
        : m_pBase(base), m_entries(entries) {}
    // Searches this table, then the base tables.
    const MessageMapEntry* Find(msgmap::EntryKind kind, UINT message, UINT id) const;

private:
    const MessageMap* m_pBase;
    std::vector<MessageMapEntry> m_entries;
};

#define DECLARE_MESSAGE_MAP()                                                                               \
public:                                                                                                     \
    static const MessageMap* ThisMessageMap();                                                              \
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

// A command handler: void Method() or, for ranges, void Method(UINT id).
template <auto Method>
MessageMapEntry MapCommand(UINT idFirst, UINT idLast = 0) {
    using C = msgmap::ClassOf<Method>;
    msgmap::CommandFn fn = [](CCmdTarget& t, UINT id) {
        if constexpr (std::is_invocable_v<decltype(Method), C&, UINT>)
            (static_cast<C&>(t).*Method)(id);
        else
            (static_cast<C&>(t).*Method)();
    };
    return {msgmap::EntryKind::Command, WM_COMMAND, idFirst, idLast ? idLast : idFirst, fn};
}

// An update handler: void Method(CCmdUI*).
template <auto Method>
MessageMapEntry MapUpdate(UINT idFirst, UINT idLast = 0) {
    using C = msgmap::ClassOf<Method>;
    msgmap::UpdateFn fn = [](CCmdTarget& t, CCmdUI* ui) { (static_cast<C&>(t).*Method)(ui); };
    return {msgmap::EntryKind::Update, WM_COMMAND, idFirst, idLast ? idLast : idFirst, fn};
}

// A control notification (EN_CHANGE, LBN_DBLCLK, ...) from the control with the given id: void Method().
template <auto Method>
MessageMapEntry MapNotify(UINT notifyCode, UINT controlId) {
    using C = msgmap::ClassOf<Method>;
    msgmap::VoidFn fn = [](CCmdTarget& t) { (static_cast<C&>(t).*Method)(); };
    return {msgmap::EntryKind::Notify, notifyCode, controlId, controlId, fn};
}

// A window message; the handler's signature follows the message, as the framework's do.
template <auto Method>
MessageMapEntry MapMessage(UINT message) {
    using C = msgmap::ClassOf<Method>;
    using M = decltype(Method);
    msgmap::Handler fn;
    if constexpr (std::is_same_v<M, void (C::*)(UINT, CPoint)>)
        fn = msgmap::MouseFn([](CCmdTarget& t, UINT f, CPoint p) { (static_cast<C&>(t).*Method)(f, p); });
    else if constexpr (std::is_same_v<M, void (C::*)(UINT, UINT, UINT)>)
        fn = msgmap::KeyFn(
            [](CCmdTarget& t, UINT c, UINT r, UINT f) { (static_cast<C&>(t).*Method)(c, r, f); });
    else if constexpr (std::is_same_v<M, BOOL (C::*)(CWnd*, UINT, UINT)>)
        fn = msgmap::SetCursorFn(
            [](CCmdTarget& t, CWnd* w, UINT h, UINT m) { return (static_cast<C&>(t).*Method)(w, h, m); });
    else if constexpr (std::is_same_v<M, BOOL (C::*)(CDC*)>)
        fn = msgmap::EraseFn([](CCmdTarget& t, CDC* dc) { return (static_cast<C&>(t).*Method)(dc); });
    else if constexpr (std::is_same_v<M, int (C::*)(CREATESTRUCT*)>)
        fn = msgmap::CreateFn([](CCmdTarget& t, CREATESTRUCT* cs) { return (static_cast<C&>(t).*Method)(cs); });
    else if constexpr (std::is_same_v<M, void (C::*)()>)
        fn = msgmap::VoidFn([](CCmdTarget& t) { (static_cast<C&>(t).*Method)(); });
    else
        static_assert(sizeof(M) == 0, "no window message has this handler signature");
    return {msgmap::EntryKind::Message, message, 0, 0, fn};
}

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    static const MessageMap* ThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return ThisMessageMap(); }

    // Offers a command (pUI null) or its update (pUI set) to this target's table. Returns TRUE
    // when the table holds a handler for it. A command with a handler but no update handler
    // counts as enabled. Routing classes override this to pass the command on.
    virtual BOOL OnCmdMsg(UINT nID, CCmdUI* pUI);

    // Carries out a command the way menus, toolbar buttons and keys do: asks its update handler
    // first and delivers it only when some target handles it and leaves it enabled.
    BOOL ExecuteCommand(UINT nID);
    // The state a menu item or button for the command shows.
    CCmdUI QueryCommandState(UINT nID);

    // Offers a control notification to this target's table.
    BOOL OnNotify(UINT notifyCode, UINT controlId);

protected:
    // The entry for a window message in this target's tables, or null.
    const MessageMapEntry* FindMessageEntry(UINT message) const;
};
