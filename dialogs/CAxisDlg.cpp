#include "dialogs/CAxisDlg.h"

#include "res/Resource.h"

CAxisDlg::CAxisDlg(CWnd* pParent)
    : CDialog(IDD_AXIS, pParent), m_nOriginX(0), m_nOriginY(0), m_dXMax(0.0), m_dXMin(0.0), m_nXAxisX(0),
      m_nXAxisY(0), m_dYMax(0.0), m_dYMin(0.0), m_nYAxisX(0), m_nYAxisY(0), m_bXLog(FALSE), m_bYLog(FALSE) {}

// The order is the order in which fields are read back on OK, and so which failing field is
// reported first.
void CAxisDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ORIGIN_X, m_nOriginX);
    DDX_Text(pDX, IDC_ORIGIN_Y, m_nOriginY);
    DDX_Text(pDX, IDC_X_MAX, m_dXMax);
    DDX_Text(pDX, IDC_X_MIN, m_dXMin);
    DDX_Text(pDX, IDC_XAXIS_X, m_nXAxisX);
    DDX_Text(pDX, IDC_XAXIS_Y, m_nXAxisY);
    DDX_Text(pDX, IDC_Y_MAX, m_dYMax);
    DDX_Text(pDX, IDC_Y_MIN, m_dYMin);
    DDX_Text(pDX, IDC_YAXIS_X, m_nYAxisX);
    DDX_Text(pDX, IDC_YAXIS_Y, m_nYAxisY);
    DDX_Check(pDX, IDC_X_LOG, m_bXLog);
    DDX_Check(pDX, IDC_Y_LOG, m_bYLog);
}
