#pragma once
// The point list: one line per picked point of every series, in series then point order, with the
// point's pixel offsets from the origin reference point (y counted upward). Double-clicking a line
// retypes that point in a CDataEditDlg; the list stays open for further edits. The document is
// the active document of the main window.

#include "platform/ui/CControls.h"
#include "platform/ui/CDialog.h"

class CPixelDataDlg : public CDialog {
    DECLARE_MESSAGE_MAP()
public:
    explicit CPixelDataDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnDblclkPixelList();

    CListBox* m_pList;
    CString m_strSelected;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// One line of the list: series and point numbers from 1, offsets in pixels. The offsets are wider
// than a pixel position, so that no pair of positions can overflow them.
CString FormatPixelDataLine(int nSeries, int nPoint, long long nX, long long nY);
