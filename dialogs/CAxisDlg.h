#pragma once
// The axis settings dialog: the pixel positions of the three reference points, the chart values
// at both ends of each axis and the two logarithmic flags, all at once. The caller copies the
// calibration in before DoModal and back after IDOK; "Min" and "Max" are only column labels.

#include "platform/ui/CDialog.h"

class CAxisDlg : public CDialog {
public:
    explicit CAxisDlg(CWnd* pParent = nullptr);

    int m_nOriginX;
    int m_nOriginY;
    double m_dXMax;
    double m_dXMin;
    int m_nXAxisX;
    int m_nXAxisY;
    double m_dYMax;
    double m_dYMin;
    int m_nYAxisX;
    int m_nYAxisY;
    BOOL m_bXLog;
    BOOL m_bYLog;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
