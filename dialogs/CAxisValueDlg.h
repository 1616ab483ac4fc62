#pragma once
// The single-axis value dialog the picture view opens after the X-axis or Y-axis reference point
// has been placed: the chart value at that point and whether its axis is logarithmic.

#include "platform/ui/CDialog.h"

class CAxisValueDlg : public CDialog {
public:
    explicit CAxisValueDlg(CWnd* pParent = nullptr);

    double m_dValue;
    BOOL m_bLog;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
