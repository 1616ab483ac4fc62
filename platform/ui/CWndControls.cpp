// The parts of CWnd that address dialog controls: binding to a control widget, window text, focus,
// control ids. They live beside the controls rather than in CWnd.cpp because only dialogs and
// forms build control widgets.

#include "platform/core/CString.h"
#include "platform/res/ControlWidgets.h"
#include "platform/res/DialogBuilder.h"
#include "platform/ui/CWnd.h"

#include <QWidget>

BOOL CWnd::SubclassWindow(QWidget* hWnd) {
    if (hWnd == nullptr)
        return FALSE;
    m_hWnd = hWnd;
    m_inputWidget = hWnd;
    return TRUE;
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    AfxSetWidgetText(m_hWnd.data(), QString::fromUtf8(lpszString != nullptr ? lpszString : ""));
}

void CWnd::GetWindowText(CString& rString) const {
    rString = CString(AfxGetWidgetText(m_hWnd.data()).toUtf8().toStdString());
}

void CWnd::SetFocus() {
    if (m_hWnd)
        m_hWnd->setFocus(Qt::OtherFocusReason);
}

int CWnd::GetDlgCtrlID() const {
    return m_hWnd ? AfxGetDialogControlId(*m_hWnd) : 0;
}

CWnd* CWnd::GetDlgItem(int) const {
    return nullptr;
}

LRESULT CWnd::SendMessage(UINT, WPARAM, LPARAM) {
    return 0;
}
