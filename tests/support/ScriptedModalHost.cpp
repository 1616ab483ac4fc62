#include "ScriptedModalHost.h"

#include "platform/ui/CDialog.h"

#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {
// Qt shows the wait cursor over every window, a message box or dialog too: long work must end its
// wait cursor before it asks or reports anything.
void ExpectNoWaitCursor(const char* what) {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    EXPECT_FALSE(cursor != nullptr && cursor->shape() == Qt::WaitCursor) << what << " under the wait cursor";
}
} // namespace

ScriptedModalHost::ScriptedModalHost() {
    m_previous = AfxSetModalHost(this);
}

ScriptedModalHost::~ScriptedModalHost() {
    AfxSetModalHost(m_previous);
    EXPECT_TRUE(m_messageAnswers.empty()) << "a queued message box answer was never asked for";
    EXPECT_TRUE(m_fileAnswers.empty()) << "a queued file dialog answer was never asked for";
    EXPECT_TRUE(m_dialogScripts.empty()) << "a queued dialog script was never run";
}

int ScriptedModalHost::MessageBox(const CString& text, const CString&, UINT nType) {
    ExpectNoWaitCursor("a message box");
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
    ExpectNoWaitCursor("a file dialog");
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

int ScriptedModalHost::PrintSetup() {
    ++printSetups;
    return IDCANCEL;
}

namespace {
// What a driver script answers: the dialog's own end code is the result.
constexpr INT_PTR kEndedByDriver = -100;
} // namespace

void ScriptedModalHost::AnswerDialog(std::function<void(DialogDriver&)> script) {
    m_dialogScripts.push_back([script = std::move(script)](CDialog& dialog) -> INT_PTR {
        DialogDriver driver(dialog);
        script(driver);
        return kEndedByDriver;
    });
}

// The dialog gets its real window and controls, shown offscreen, and runs OnInitDialog before the
// script, so that the dialog's own data exchange and handlers do the work.
INT_PTR ScriptedModalHost::DoModal(CDialog& dialog) {
    ExpectNoWaitCursor("a modal dialog");
    ++dialogsRun;
    if (m_dialogScripts.empty()) {
        ADD_FAILURE() << "unexpected modal dialog " << dialog.GetTemplateId();
        return IDCANCEL;
    }
    auto script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    QDialog* window = dialog.CreateModalWindow(nullptr);
    if (window == nullptr) {
        ADD_FAILURE() << "no template for dialog " << dialog.GetTemplateId();
        return -1;
    }
    window->show();
    dialog.InitModalWindow();
    INT_PTR result = dialog.HasEnded() ? dialog.GetModalResult() : script(dialog);
    if (dialog.HasEnded())
        result = dialog.GetModalResult();
    else if (result == kEndedByDriver) {
        ADD_FAILURE() << "the script left dialog " << dialog.GetTemplateId() << " open";
        result = IDCANCEL;
    }
    dialog.DestroyModalWindow();
    return result;
}
