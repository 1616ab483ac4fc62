#include "ScriptedModalHost.h"

#include <gtest/gtest.h>

ScriptedModalHost::ScriptedModalHost() { AfxSetModalHost(this); }

ScriptedModalHost::~ScriptedModalHost() {
    AfxSetModalHost(nullptr);
    EXPECT_TRUE(m_messageAnswers.empty()) << "a queued message box answer was never asked for";
    EXPECT_TRUE(m_fileAnswers.empty()) << "a queued file dialog answer was never asked for";
    EXPECT_TRUE(m_dialogScripts.empty()) << "a queued dialog script was never run";
}

int ScriptedModalHost::MessageBox(const CString& text, const CString&, UINT nType) {
    messages.push_back({text, nType});
    if (m_messageAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << text.GetString();
        return (nType & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    }
    const int answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

int ScriptedModalHost::FileDialog(const FileDialogRequest& request, CString& chosenPath) {
    fileDialogs.push_back(request);
    if (m_fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return IDCANCEL;
    }
    std::optional<CString> answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (!answer)
        return IDCANCEL;
    chosenPath = AfxApplyDefaultExtension(*answer, request.defaultExt);
    return IDOK;
}

// FIXME: dialogs are driven through their real controls once the dialog layer lands.
INT_PTR ScriptedModalHost::DoModal(CDialog& dialog) {
    ++dialogsRun;
    if (m_dialogScripts.empty()) {
        ADD_FAILURE() << "unexpected modal dialog";
        return IDCANCEL;
    }
    auto script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    return script(dialog);
}
