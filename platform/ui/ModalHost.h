#pragma once
// The one seam every modal interaction passes through: message boxes, file dialogs, the printer
// setup and modal dialogs. The program installs QtModalHost, which shows real Qt widgets; tests
// install a scripted host that answers from queues and drives a dialog's real controls by id.

#include "platform/core/CString.h"

#include <QStringList>

class CDialog;

// What a file dialog is asked for, in the framework's terms.
struct FileDialogRequest {
    bool openFile = true;   // an Open dialog, else a Save dialog
    CString defaultExt;     // appended (with a dot) to a typed name without an extension
    CString fileName;       // initial file name
    DWORD flags = 0;        // OFN_* flags
    CString filter;         // "Name|*.a;*.b|All Files (*.*)|*.*||"
    CString title;          // empty: the platform's default title
    CString initialDir;     // the folder the dialog opens in; empty: the platform's choice
};

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

class ModalHost {
public:
    virtual ~ModalHost() = default;
    // Shows a message box; returns IDOK, IDYES, IDNO or IDCANCEL.
    virtual int MessageBox(const CString& text, const CString& caption, UINT nType) = 0;
    // Shows a file dialog; returns IDOK with the full path in chosenPath, or IDCANCEL.
    virtual int FileDialog(const FileDialogRequest& request, CString& chosenPath) = 0;
    // Runs a dialog modally; returns the code it ended with (IDOK, IDCANCEL).
    virtual INT_PTR DoModal(CDialog& dialog) = 0;
    // Shows the printer setup dialog; returns IDOK when the user confirmed a printer and its paper,
    // which then hold for the rest of the run, or IDCANCEL.
    virtual int PrintSetup() = 0;
};

ModalHost& AfxGetModalHost();
// Installs a host and returns the one it replaces. Start-up installs QtModalHost; tests install
// scripted ones. With none installed (null), every question is cancelled.
ModalHost* AfxSetModalHost(ModalHost* host);

// The framework's message box, captioned with the application name.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// Turns the framework's "Name|pattern|Name|pattern||" filter into Qt's ";;"-separated entries,
// each extension in both cases: "Data (*.dat)|*.dat|All Files (*.*)|*.*||" ->
// "Data (*.dat) (*.dat *.DAT)" and "All Files (*.*) (*)".
QStringList AfxQtFileFilters(const CString& filter);
// Adds ".ext" to a path whose file name has no extension.
CString AfxApplyDefaultExtension(const CString& path, const CString& defaultExt);
