#pragma once
// The point edit dialog: the two coordinates of one picked point, in pixels from the origin
// reference point with y counted upward. The caller fills and reads the members; this dialog
// never touches the document.

#include "platform/ui/CDialog.h"

class CDataEditDlg : public CDialog {
public:
    explicit CDataEditDlg(CWnd* pParent = nullptr);

    int m_nX;
    int m_nY;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
