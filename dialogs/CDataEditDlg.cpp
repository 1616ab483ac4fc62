#include "dialogs/CDataEditDlg.h"

#include "res/Resource.h"

CDataEditDlg::CDataEditDlg(CWnd* pParent) : CDialog(IDD_DATA_EDIT, pParent), m_nX(0), m_nY(0) {}

void CDataEditDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EDIT_X, m_nX);
    DDX_Text(pDX, IDC_EDIT_Y, m_nY);
}
