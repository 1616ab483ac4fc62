#pragma once
// The program's modal host: real QMessageBox, QFileDialog and dialog windows.

#include "platform/ModalHost.h"

class QtModalHost final : public ModalHost {
public:
    int MessageBox(const CString& text, const CString& caption, UINT nType) override;
    int FileDialog(const FileDialogRequest& request, CString& chosenPath) override;
    INT_PTR DoModal(CDialog& dialog) override;
};
