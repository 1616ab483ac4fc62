#pragma once
// The program's modal host: real QMessageBox, QFileDialog, QPrintDialog and dialog windows.

#include "platform/ui/ModalHost.h"

#include <memory>

class QPrinter;

class QtModalHost final : public ModalHost {
public:
    QtModalHost();
    ~QtModalHost() override;

    int MessageBox(const CString& text, const CString& caption, UINT nType) override;
    int FileDialog(const FileDialogRequest& request, CString& chosenPath) override;
    INT_PTR DoModal(CDialog& dialog) override;
    int PrintSetup() override;

private:
    // The printer the user set up, made when first asked for; it holds for the whole run.
    std::unique_ptr<QPrinter> m_printer;
};
