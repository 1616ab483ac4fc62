#include "view/CTallyscopeView.h"

#include "doc/CTallyscopeDoc.h"

#include <vector>

IMPLEMENT_DYNCREATE(CTallyscopeView, CScrollView)

const MessageMap* CTallyscopeView::ThisMessageMap() {
    static const MessageMap map(CScrollView::ThisMessageMap(),
                                {
                                    MapMessage<&CTallyscopeView::OnEraseBkgnd>(WM_ERASEBKGND),
                                });
    return &map;
}

CTallyscopeDoc* CTallyscopeView::GetDocument() const {
    return static_cast<CTallyscopeDoc*>(CView::GetDocument());
}

namespace {
constexpr int kPointRadius = 5;
constexpr int kMarkerHalfSide = 5;
constexpr int kSelectionRadius = 10;
constexpr COLORREF kFinishedSeriesColor = RGB(0, 255, 0);
constexpr COLORREF kCurrentSeriesColor = RGB(255, 0, 0);
constexpr COLORREF kAxisColor = RGB(0, 0, 255);
constexpr COLORREF kSelectionColor = RGB(0, 0, 0);

// A full circle: Arc with start and end both on the rightmost point.
void DrawCircle(CDC* pDC, CPoint centre, int radius) {
    pDC->Arc(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius, centre.x + radius,
             centre.y, centre.x + radius, centre.y);
}
} // namespace

// ---- scroll extent --------------------------------------------------------------------------------

void CTallyscopeView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    UpdateScrollSizes();
    CScrollView::OnUpdate(pSender, lHint, pHint);
}

void CTallyscopeView::UpdateScrollSizes() {
    CSize total(0, 0);
    CTallyscopeDoc* pDoc = GetDocument();
    if (pDoc != nullptr && pDoc->m_pPicture != nullptr) {
        const CSize picture = GetPictureSize(pDoc->m_pPicture);
        total = CSize(m_nZoom * picture.cx, m_nZoom * picture.cy);
    }
    SetScrollSizes(MM_TEXT, total, sizeDefault, sizeDefault);
}

CSize CTallyscopeView::GetPictureSize(CPictureHolder* pPicture) {
    IPicture* picture = pPicture != nullptr ? pPicture->GetPicture() : nullptr;
    if (picture == nullptr)
        return CSize(0, 0);
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)))
        return CSize(0, 0);
    CSize size(static_cast<int>(width), static_cast<int>(height));
    CDC* pDC = GetDC();
    pDC->HIMETRICtoDP(&size);
    ReleaseDC(pDC);
    return size;
}

// ---- paint ----------------------------------------------------------------------------------------

BOOL CTallyscopeView::OnEraseBkgnd(CDC* pDC) {
    CRect clip;
    if (pDC->GetClipBox(&clip) != NULLREGION)
        pDC->FillSolidRect(&clip, GetSysColor(COLOR_APPWORKSPACE));
    return TRUE;
}

void CTallyscopeView::OnDraw(CDC* pDC) {
    CTallyscopeDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->m_pPicture == nullptr)
        return;
    // A picture that is not a bitmap has no pixels to show; its overlay still is drawn.
    if (HBITMAP hBitmap = pDoc->GetBitmapHandle()) {
        CDC memDC;
        memDC.CreateCompatibleDC(pDC);
        CBitmap bitmap;
        bitmap.Attach(hBitmap);
        CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
        BITMAP info;
        bitmap.GetBitmap(&info);
        // The device context stretches only what meets its clip box, so this costs in proportion
        // to the visible area however large the picture.
        pDC->StretchBlt(0, 0, m_nZoom * info.bmWidth, m_nZoom * info.bmHeight, &memDC, 0, 0, info.bmWidth,
                        info.bmHeight, SRCCOPY);
        memDC.SelectObject(pOldBitmap);
        bitmap.Detach();
        memDC.DeleteDC();
    }
    DrawOverlay(pDC);
}

void CTallyscopeView::DrawOverlay(CDC* pDC) {
    DrawSeries(pDC);
    DrawAxes(pDC);
    if (m_bPointSelected)
        DrawSelection(pDC);
}

// Every series as a polyline with a circle on each point, finished series green and the current
// (last) one red; with area measurement on, each finished series also as a closed, cross-hatched
// polygon over all its points, however many.
void CTallyscopeView::DrawSeries(CDC* pDC) {
    CTallyscopeDoc* pDoc = GetDocument();
    CPen finishedPen(PS_SOLID, 1, kFinishedSeriesColor);
    CPen currentPen(PS_SOLID, 1, kCurrentSeriesColor);
    CBrush hatch;
    hatch.CreateHatchBrush(HS_CROSS, kFinishedSeriesColor);
    CPen* pOldPen = pDC->SelectObject(&finishedPen);
    CBrush* pOldBrush = pDC->SelectObject(&hatch);
    pDC->SetBkMode(TRANSPARENT); // the picture shows between the hatch lines

    const CTypedObArray<CDataArray>& series = pDoc->m_DataSeries.m_aSeries;
    const int nSeries = series.GetSize();
    std::vector<CPoint> vertices;
    for (int i = 0; i < nSeries; ++i) {
        const bool current = i == nSeries - 1;
        if (current)
            pDC->SelectObject(&currentPen);
        const CTypedObArray<CData>& points = series[i]->m_aData;
        const int nPoints = points.GetSize();
        if (nPoints == 0)
            continue;
        vertices.clear();
        pDC->MoveTo(Zoomed(points[0]->m_nPixelX, points[0]->m_nPixelY));
        for (int j = 0; j < nPoints; ++j) {
            const CPoint p = Zoomed(points[j]->m_nPixelX, points[j]->m_nPixelY);
            vertices.push_back(p);
            pDC->LineTo(p);
            DrawCircle(pDC, p, kPointRadius);
        }
        if (pDoc->m_bMeasureArea && !current)
            pDC->Polygon(vertices.data(), nPoints);
    }
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

// The three reference points as square outlines, then the axis lines from the X-axis point through
// the origin to the Y-axis point.
void CTallyscopeView::DrawAxes(CDC* pDC) {
    const CDataAxis& axis = GetDocument()->m_DataAxis;
    CPen axisPen(PS_SOLID, 1, kAxisColor);
    CPen* pOldPen = pDC->SelectObject(&axisPen);
    for (const CData* reference : {&axis.m_Origin, &axis.m_XAxis, &axis.m_YAxis}) {
        const CPoint p = Zoomed(reference->m_nPixelX, reference->m_nPixelY);
        const int h = kMarkerHalfSide;
        pDC->MoveTo(p.x - h, p.y - h);
        pDC->LineTo(p.x + h, p.y - h);
        pDC->LineTo(p.x + h, p.y + h);
        pDC->LineTo(p.x - h, p.y + h);
        // One pixel past the starting corner, so that the corner itself is drawn.
        pDC->LineTo(p.x - h, p.y - h - 1);
    }
    pDC->MoveTo(Zoomed(axis.m_XAxis.m_nPixelX, axis.m_XAxis.m_nPixelY));
    pDC->LineTo(Zoomed(axis.m_Origin.m_nPixelX, axis.m_Origin.m_nPixelY));
    pDC->LineTo(Zoomed(axis.m_YAxis.m_nPixelX, axis.m_YAxis.m_nPixelY));
    pDC->SelectObject(pOldPen);
}

// A circle that inverts what lies under it, so it shows on any picture and over the markers.
void CTallyscopeView::DrawSelection(CDC* pDC) {
    const CData* selected = GetDocument()->GetSelectedData();
    if (selected == nullptr)
        return;
    const int previousMode = pDC->SetROP2(R2_NOTXORPEN);
    CPen selectionPen(PS_SOLID, 1, kSelectionColor);
    CPen* pOldPen = pDC->SelectObject(&selectionPen);
    DrawCircle(pDC, Zoomed(selected->m_nPixelX, selected->m_nPixelY), kSelectionRadius);
    pDC->SelectObject(pOldPen);
    pDC->SetROP2(previousMode);
}
