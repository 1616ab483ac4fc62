#include "dialogs/CAxisValueDlg.h"

#include "res/Resource.h"

CAxisValueDlg::CAxisValueDlg(CWnd* pParent)
    : CDialog(IDD_AXIS_VALUE, pParent), m_dValue(0.0), m_bLog(FALSE) {}

void CAxisValueDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_AXIS_VALUE, m_dValue);
    DDX_Check(pDX, IDC_AXIS_LOG, m_bLog);
}
