#include "platform/ui/CFileDialog.h"

namespace {
CString OrEmpty(LPCTSTR text) {
    return text != nullptr ? CString(text) : CString();
}
} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd*) {
    m_request.openFile = bOpenFileDialog != FALSE;
    m_request.defaultExt = OrEmpty(lpszDefExt);
    m_request.fileName = OrEmpty(lpszFileName);
    m_request.flags = dwFlags;
    m_request.filter = OrEmpty(lpszFilter);
}

INT_PTR CFileDialog::DoModal() {
    CString chosen;
    if (AfxGetModalHost().FileDialog(m_request, chosen) != IDOK || chosen.IsEmpty())
        return IDCANCEL;
    m_strPathName = chosen;
    return IDOK;
}
