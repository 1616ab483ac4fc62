#pragma once
// The framework's Open and Save As dialog, shown through the modal seam (ModalHost::FileDialog),
// so that the program shows a QFileDialog and tests answer from a queue. The parent window is
// not passed on: the host centres the dialog on the active window.

#include "platform/ui/ModalHost.h"

class CWnd;

class CFileDialog {
public:
    // lpszDefExt is added, after a dot, to a file name typed without an extension; lpszFilter is
    // the framework's "Name|patterns|...||" list.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    // IDOK with a chosen path, or IDCANCEL.
    INT_PTR DoModal();
    // The full path chosen, with the default extension applied; empty before a confirmed DoModal.
    CString GetPathName() const { return m_strPathName; }

    FileDialogRequest m_request;

private:
    CString m_strPathName;
};
