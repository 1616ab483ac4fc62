#pragma once
// A modal host for tests: message boxes and file dialogs are answered from queues, and what they
// showed is recorded. Installed for its lifetime; the previous host comes back when it goes. Any of
// them shown under the wait cursor fails the test.

#include "platform/ui/ModalHost.h"

#include "DialogDriver.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class ScriptedModalHost final : public ModalHost {
public:
    struct ShownMessage {
        CString text;
        UINT type;
    };

    ScriptedModalHost();
    ~ScriptedModalHost() override;

    // Queues the answer of the next message box (IDOK, IDYES, IDNO, ...).
    void AnswerMessageBox(int answer) { m_messageAnswers.push_back(answer); }
    // Queues the path chosen in the next file dialog; std::nullopt cancels it.
    void AnswerFileDialog(std::optional<CString> path) { m_fileAnswers.push_back(std::move(path)); }
    // Queues a script for the next modal dialog: it runs with the dialog open and returns its end code.
    // The dialog's controls exist and OnInitDialog has run; a script that ends the dialog itself
    // (through a DialogDriver) gets the code the dialog ended with instead.
    void AnswerDialog(std::function<INT_PTR(CDialog&)> script) { m_dialogScripts.push_back(std::move(script)); }
    // Queues a script that works the next dialog's controls as a user would and must end it with
    // the driver's PressOK or PressCancel.
    void AnswerDialog(std::function<void(DialogDriver&)> script);

    int MessageBox(const CString& text, const CString& caption, UINT nType) override;
    int FileDialog(const FileDialogRequest& request, CString& chosenPath) override;
    INT_PTR DoModal(CDialog& dialog) override;
    // Counts the request and cancels it: no test sets up a printer.
    int PrintSetup() override;

    std::vector<ShownMessage> messages;
    std::vector<FileDialogRequest> fileDialogs;
    int dialogsRun = 0;
    int printSetups = 0;

private:
    ModalHost* m_previous = nullptr;
    std::deque<int> m_messageAnswers;
    std::deque<std::optional<CString>> m_fileAnswers;
    std::deque<std::function<INT_PTR(CDialog&)>> m_dialogScripts;
};
