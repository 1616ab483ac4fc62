#include "dialogs/CPixelDataDlg.h"

#include "dialogs/CDataEditDlg.h"
#include "doc/CTallyscopeDoc.h"
#include "platform/core/AfxGlobals.h"
#include "res/Resource.h"

#include <algorithm>
#include <limits>

namespace {

CTallyscopeDoc* ActiveDocument() {
    return dynamic_cast<CTallyscopeDoc*>(AfxGetActiveDocument());
}

// Offsets from the origin reference point, x to the right and y upward, in 64 bits: two 32-bit
// positions can lie almost 2^32 apart.
long long OffsetX(const CData& point, const CData& origin) {
    return static_cast<long long>(point.m_nPixelX) - origin.m_nPixelX;
}
long long OffsetY(const CData& point, const CData& origin) {
    return static_cast<long long>(origin.m_nPixelY) - point.m_nPixelY;
}

int SaturateToInt(long long value) {
    return static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The point that list line k stands for: lines run through series 0 to the current one and,
// within a series, through its points; empty series have no lines.
struct ListedPoint {
    CData* point = nullptr;
    int series = 0;
    int index = 0;
};

ListedPoint FindListedPoint(const CDataSeries& series, int k) {
    if (k < 0)
        return {};
    for (int i = 0; i <= series.m_nCurrent; ++i) {
        const CDataArray& points = *series.m_aSeries[i];
        if (k < points.m_aData.GetSize())
            return {points.m_aData[k], i, k};
        k -= points.m_aData.GetSize();
    }
    return {};
}

} // namespace

CString FormatPixelDataLine(int nSeries, int nPoint, long long nX, long long nY) {
    CString line;
    line.Format("系列 = %2d;No. = %3d;x = %5lld;y = %5lld", nSeries, nPoint, nX, nY);
    return line;
}

const MessageMap* CPixelDataDlg::ThisMessageMap() {
    static const MessageMap map(CDialog::ThisMessageMap(),
                                {MapNotify<&CPixelDataDlg::OnDblclkPixelList>(LBN_DBLCLK, IDC_PIXEL_LIST)});
    return &map;
}

CPixelDataDlg::CPixelDataDlg(CWnd* pParent) : CDialog(IDD_PIXEL_DATA, pParent), m_pList(nullptr) {}

void CPixelDataDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_LBString(pDX, IDC_PIXEL_LIST, m_strSelected);
}

// Lines are inserted at the end rather than added, because the list's sort style would otherwise
// put series 10 before series 2.
BOOL CPixelDataDlg::OnInitDialog() {
    m_pList = dynamic_cast<CListBox*>(GetDlgItem(IDC_PIXEL_LIST));
    CTallyscopeDoc* pDoc = ActiveDocument();
    if (pDoc != nullptr && m_pList != nullptr) {
        const CData& origin = pDoc->m_DataAxis.m_Origin;
        const CDataSeries& series = pDoc->m_DataSeries;
        for (int i = 0; i <= series.m_nCurrent; ++i) {
            const CDataArray& points = *series.m_aSeries[i];
            for (int j = 0; j < points.m_aData.GetSize(); ++j) {
                const CData& point = *points.m_aData[j];
                m_pList->InsertString(
                    -1, FormatPixelDataLine(i + 1, j + 1, OffsetX(point, origin), OffsetY(point, origin)));
            }
        }
    }
    CDialog::OnInitDialog();
    return TRUE;
}

// A coordinate is moved only when the typed offset differs from the one shown. Within the 32-bit
// range that is the same as always moving (the shown offset added back gives the same position);
// beyond it, where the shown offset had to be clamped, confirming unchanged fields keeps the point
// where it was instead of moving it to the clamped offset. A typed offset whose position would
// lie beyond the 32-bit range puts the point at the nearest position that exists.
void CPixelDataDlg::OnDblclkPixelList() {
    CTallyscopeDoc* pDoc = ActiveDocument();
    if (pDoc == nullptr || m_pList == nullptr)
        return;
    CDataEditDlg dlg;
    const int k = m_pList->GetCurSel();
    const ListedPoint listed = FindListedPoint(pDoc->m_DataSeries, k);
    if (listed.point == nullptr)
        return;
    CData& point = *listed.point;
    const CData& origin = pDoc->m_DataAxis.m_Origin;
    const int shownX = SaturateToInt(OffsetX(point, origin));
    const int shownY = SaturateToInt(OffsetY(point, origin));
    dlg.m_nX = shownX;
    dlg.m_nY = shownY;
    if (dlg.DoModal() == IDOK) {
        if (dlg.m_nX != shownX)
            point.m_nPixelX = SaturateToInt(static_cast<long long>(dlg.m_nX) + origin.m_nPixelX);
        if (dlg.m_nY != shownY)
            point.m_nPixelY = SaturateToInt(static_cast<long long>(origin.m_nPixelY) - dlg.m_nY);
        if (dlg.m_nX != shownX || dlg.m_nY != shownY)
            pDoc->DataChanged();
        const CString line = FormatPixelDataLine(listed.series + 1, listed.index + 1, OffsetX(point, origin),
                                                 OffsetY(point, origin));
        m_pList->DeleteString(static_cast<UINT>(k));
        m_pList->InsertString(k, line);
    }
    pDoc->UpdateAllViews(nullptr, 0, nullptr);
}
