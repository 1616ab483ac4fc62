#pragma once
// The curve tracer's settings dialog, from the tools menu: colour tolerance (Delta E), point
// spacing and largest gap bridged in picture pixels, and whether a trace stays inside the box of
// the three reference points. Each number must lie in its range (TracePreferences) before OK
// takes it.

#include "platform/ui/CDialog.h"

class CTraceSettingsDlg : public CDialog {
public:
    explicit CTraceSettingsDlg(CWnd* pParent = nullptr);

    int m_nColourTolerance = 0;
    int m_nPointSpacing = 0;
    int m_nLargestGap = 0;
    BOOL m_bInsideReferenceBox = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
