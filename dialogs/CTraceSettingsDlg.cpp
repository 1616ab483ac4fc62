#include "dialogs/CTraceSettingsDlg.h"

#include "res/Resource.h"
#include "trace/TracePreferences.h"

CTraceSettingsDlg::CTraceSettingsDlg(CWnd* pParent) : CDialog(IDD_TRACE_SETTINGS, pParent) {}

void CTraceSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    const auto exchange = [pDX](int id, int& value, const int(&range)[2]) {
        DDX_Text(pDX, id, value);
        DDV_MinMaxInt(pDX, value, range[0], range[1]);
    };
    exchange(IDC_TRACE_TOLERANCE, m_nColourTolerance, TracePreferences::kToleranceRange);
    exchange(IDC_TRACE_SPACING, m_nPointSpacing, TracePreferences::kSpacingRange);
    exchange(IDC_TRACE_GAP, m_nLargestGap, TracePreferences::kGapRange);
    DDX_Check(pDX, IDC_TRACE_INSIDE_AXES, m_bInsideReferenceBox);
}
