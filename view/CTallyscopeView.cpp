#include "view/CTallyscopeView.h"

#include "dialogs/CAxisValueDlg.h"
#include "doc/CTallyscopeDoc.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CStatusBar.h"
#include "platform/app/CWinApp.h"
#include "platform/res/Cursors.h"
#include "res/Resource.h"
#include "view/LogicalClip.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

IMPLEMENT_DYNCREATE(CTallyscopeView, CScrollView)

const MessageMap* CTallyscopeView::ThisMessageMap() {
    static const MessageMap map(
        CScrollView::ThisMessageMap(),
        {
            MapMessage<&CTallyscopeView::OnEraseBkgnd>(WM_ERASEBKGND),
            MapMessage<&CTallyscopeView::OnLButtonDown>(WM_LBUTTONDOWN),
            MapMessage<&CTallyscopeView::OnLButtonDblClk>(WM_LBUTTONDBLCLK),
            MapMessage<&CTallyscopeView::OnMouseMove>(WM_MOUSEMOVE),
            MapMessage<&CTallyscopeView::OnSetCursor>(WM_SETCURSOR),
            MapMessage<&CTallyscopeView::OnKeyDown>(WM_KEYDOWN),
            MapMessage<&CTallyscopeView::OnKeyUp>(WM_KEYUP),
            MapCommand<&CTallyscopeView::OnAxisOrigin>(ID_AXIS_ORIGIN),
            MapCommand<&CTallyscopeView::OnAxisXaxis>(ID_AXIS_XAXIS),
            MapCommand<&CTallyscopeView::OnAxisYaxis>(ID_AXIS_YAXIS),
            MapUpdate<&CTallyscopeView::OnUpdateAxisSelect>(ID_AXIS_ORIGIN, ID_AXIS_YAXIS),
            MapCommand<&CTallyscopeView::OnZoomX1>(ID_ZOOM_X1),
            MapCommand<&CTallyscopeView::OnZoomX2>(ID_ZOOM_X2),
            MapCommand<&CTallyscopeView::OnZoomX4>(ID_ZOOM_X4),
            MapUpdate<&CTallyscopeView::OnUpdateZoomX1>(ID_ZOOM_X1),
            MapUpdate<&CTallyscopeView::OnUpdateZoomX2>(ID_ZOOM_X2),
            MapUpdate<&CTallyscopeView::OnUpdateZoomX4>(ID_ZOOM_X4),
        });
    return &map;
}

CTallyscopeDoc* CTallyscopeView::GetDocument() const {
    return static_cast<CTallyscopeDoc*>(CView::GetDocument());
}

BOOL CTallyscopeView::OnCmdMsg(UINT nID, CCmdUI* pUI) {
    if (m_traceMode.OnCmdMsg(nID, pUI))
        return TRUE;
    return CScrollView::OnCmdMsg(nID, pUI);
}

namespace {
constexpr int kPointRadius = 5;
constexpr int kMarkerHalfSide = 5;
constexpr int kSelectionRadius = 10;
constexpr COLORREF kFinishedSeriesColor = RGB(0, 255, 0);
constexpr COLORREF kCurrentSeriesColor = RGB(255, 0, 0);
constexpr COLORREF kAxisColor = RGB(0, 0, 255);
constexpr COLORREF kSelectionColor = RGB(0, 0, 0);

int ClampToInt(std::int64_t value, std::int64_t limit) {
    return static_cast<int>(std::clamp(value, -limit, limit));
}

// A full circle: Arc with start and end both on the rightmost point.
void DrawCircle(CDC* pDC, CPoint centre, int radius) {
    pDC->Arc(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius, centre.x + radius,
             centre.y, centre.x + radius, centre.y);
}
} // namespace

// Markers beyond the logical limit are far outside any view and are held at it, which keeps their
// corners (a few pixels further) inside 32 bits.
CPoint CTallyscopeView::Zoomed(int nPixelX, int nPixelY) const {
    return CPoint(ClampToInt(std::int64_t{m_nZoom} * nPixelX, kLogicalLimit),
                  ClampToInt(std::int64_t{m_nZoom} * nPixelY, kLogicalLimit));
}

LogicalPoint CTallyscopeView::ZoomedExactly(const CData& point) const {
    return {std::int64_t{m_nZoom} * point.m_nPixelX, std::int64_t{m_nZoom} * point.m_nPixelY};
}

// Lines keep their true direction however far their ends lie: they are cut, not their ends held.
void CTallyscopeView::DrawSegment(CDC* pDC, const CData& from, const CData& to) const {
    if (const auto segment = ClipSegmentToLogicalLimit(ZoomedExactly(from), ZoomedExactly(to))) {
        pDC->MoveTo(segment->first);
        pDC->LineTo(segment->second);
    }
}

bool CTallyscopeView::HasPicture() const {
    return GetDocument() != nullptr && GetDocument()->m_pPicture != nullptr;
}

// ---- scroll extent --------------------------------------------------------------------------------

void CTallyscopeView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    m_traceMode.ForgetStaleTracer();
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

// The workspace colour goes only where the picture will not be drawn: the picture covers its part
// of the clip box whole, so a fill under it was wasted on every repaint and scroll step. The strips
// are the rows above and below the picture, then the parts left and right of it in its rows.
BOOL CTallyscopeView::OnEraseBkgnd(CDC* pDC) {
    CRect clip;
    if (pDC->GetClipBox(&clip) == NULLREGION)
        return TRUE;
    const COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);
    const CRect picture = GetPictureWindowRect();
    const int top = std::clamp(picture.top, clip.top, clip.bottom);
    const int bottom = std::clamp(picture.bottom, top, clip.bottom);
    const int left = std::clamp(picture.left, clip.left, clip.right);
    const int right = std::clamp(picture.right, left, clip.right);
    for (const CRect& strip :
         {CRect(clip.left, clip.top, clip.right, top), CRect(clip.left, bottom, clip.right, clip.bottom),
          CRect(clip.left, top, left, bottom), CRect(right, top, clip.right, bottom)}) {
        if (!strip.IsRectEmpty())
            pDC->FillSolidRect(&strip, workspace);
    }
    // A fill leaves its colour as the background colour; so does the erase, filled or not.
    pDC->SetBkColor(workspace);
    return TRUE;
}

CRect CTallyscopeView::GetPictureWindowRect() const {
    CTallyscopeDoc* pDoc = GetDocument();
    const HBITMAP hBitmap =
        pDoc != nullptr && pDoc->m_pPicture != nullptr ? pDoc->GetBitmapHandle() : nullptr;
    BITMAP info;
    if (hBitmap == nullptr || GetObject(hBitmap, sizeof(BITMAP), &info) == 0)
        return CRect();
    const std::int64_t h = GetScrollPos(SB_HORZ);
    const std::int64_t v = GetScrollPos(SB_VERT);
    constexpr std::int64_t intLimit = std::numeric_limits<int>::max();
    return CRect(ClampToInt(-h, intLimit), ClampToInt(-v, intLimit),
                 ClampToInt(std::int64_t{m_nZoom} * info.bmWidth - h, intLimit),
                 ClampToInt(std::int64_t{m_nZoom} * info.bmHeight - v, intLimit));
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
    // A repaint of a small area (a pick, a scroll step) passes over the circles and lines that lie
    // wholly outside it, so that it does not cost in proportion to every point picked.
    CRect clip;
    pDC->GetClipBox(&clip);
    const auto meetsClip = [&clip](std::int64_t left, std::int64_t top, std::int64_t right,
                                   std::int64_t bottom) {
        return right >= clip.left && left < clip.right && bottom >= clip.top && top < clip.bottom;
    };
    std::vector<LogicalPoint> vertices;
    for (int i = 0; i < nSeries; ++i) {
        const bool current = i == nSeries - 1;
        if (current)
            pDC->SelectObject(&currentPen);
        const CTypedObArray<CData>& points = series[i]->m_aData;
        const int nPoints = points.GetSize();
        if (nPoints == 0)
            continue;
        vertices.clear();
        for (int j = 0; j < nPoints; ++j) {
            const CData& point = *points[j];
            const LogicalPoint at = ZoomedExactly(point);
            vertices.push_back(at);
            if (j > 0) {
                const LogicalPoint& from = vertices[static_cast<std::size_t>(j - 1)];
                if (meetsClip(std::min(from.x, at.x) - 1, std::min(from.y, at.y) - 1,
                              std::max(from.x, at.x) + 1, std::max(from.y, at.y) + 1))
                    DrawSegment(pDC, *points[j - 1], point);
            }
            const CPoint centre = Zoomed(point.m_nPixelX, point.m_nPixelY);
            const int reach = kPointRadius + 1;
            if (meetsClip(centre.x - reach, centre.y - reach, centre.x + reach, centre.y + reach))
                DrawCircle(pDC, centre, kPointRadius);
        }
        if (pDoc->m_bMeasureArea && !current) {
            const std::vector<CPoint> figure = ClipPolygonToLogicalLimit(vertices);
            if (!figure.empty())
                pDC->Polygon(figure.data(), static_cast<int>(figure.size()));
        }
    }
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

// The hatch of a measured figure keeps its cells where the window's are, so with one on show a
// scroll cannot move the pixels already drawn.
BOOL CTallyscopeView::DrawsOnlyWhatScrolls() const {
    const CTallyscopeDoc* pDoc = GetDocument();
    return !pDoc->m_bMeasureArea || pDoc->m_DataSeries.m_aSeries.GetSize() <= 1;
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
    DrawSegment(pDC, axis.m_XAxis, axis.m_Origin);
    DrawSegment(pDC, axis.m_Origin, axis.m_YAxis);
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

// ---- mouse ----------------------------------------------------------------------------------------

CPoint CTallyscopeView::WindowToImage(CPoint point) const {
    const std::int64_t x = (std::int64_t{point.x} + GetScrollPos(SB_HORZ)) / m_nZoom;
    const std::int64_t y = (std::int64_t{point.y} + GetScrollPos(SB_VERT)) / m_nZoom;
    constexpr std::int64_t intLimit = std::numeric_limits<int>::max();
    return CPoint(ClampToInt(x, intLimit), ClampToInt(y, intLimit));
}

// Every press first drops the selection; the modifier keys, compared as a whole, then choose
// between selecting, placing and ending a figure. Any other combination only clears.
void CTallyscopeView::OnLButtonDown(UINT nFlags, CPoint point) {
    const CRect shownSelection = SelectionWindowRect();
    GetDocument()->ClearSelection();
    m_bPointSelected = FALSE;
    const CPoint pixel = WindowToImage(point);
    switch (nFlags) {
    case MK_LBUTTON:
        SelectPointAt(pixel);
        break;
    case MK_LBUTTON | MK_SHIFT:
        // A pending axis mode's reference point comes before a trace.
        if (m_nAxisMode == -1 && m_traceMode.IsOn()) {
            m_traceMode.TraceAt(QPoint(pixel.x, pixel.y));
            break;
        }
        if (m_nAxisMode == -1) {
            PickPointAt(pixel, shownSelection);
            Default();
            return;
        }
        PlaceReferencePointAt(pixel);
        break;
    case MK_LBUTTON | MK_SHIFT | MK_CONTROL:
        EndFigureAt(pixel);
        break;
    default:
        break;
    }
    Invalidate(TRUE);
    Default();
}

// The second of two quick presses is still a press: a person picking a dense curve clicks at that
// pace, and nothing in this view gives a double-click a meaning of its own.
void CTallyscopeView::OnLButtonDblClk(UINT nFlags, CPoint point) {
    OnLButtonDown(nFlags, point);
}

void CTallyscopeView::SelectPointAt(CPoint pixel) {
    m_bPointSelected = GetDocument()->SelectData(pixel.x, pixel.y);
    if (m_bPointSelected)
        GetDocument()->UpdateZoomView(pixel.x, pixel.y, TRUE);
}

// The reference point that the axis mode waits for; a data point is picked instead (PickPointAt).
void CTallyscopeView::PlaceReferencePointAt(CPoint pixel) {
    CDataAxis& axis = GetDocument()->m_DataAxis;
    switch (m_nAxisMode) {
    case 0:
        axis.m_Origin.m_nPixelX = pixel.x;
        axis.m_Origin.m_nPixelY = pixel.y;
        m_nAxisMode = -1;
        break;
    case 1:
        PlaceAxisPoint(axis.m_XAxis, axis.m_XAxis.m_dValueX, axis.m_bLogX, pixel);
        break;
    case 2:
        PlaceAxisPoint(axis.m_YAxis, axis.m_YAxis.m_dValueY, axis.m_bLogY, pixel);
        break;
    default:
        return;
    }
    GetDocument()->DataChanged();
}

// A picked point changes the view only around itself: its circle, the line to it from the point
// before it, and the selection circle the press took away. Only that is repainted, so a pick costs
// the same in a large window at zoom 4 as in a small one.
void CTallyscopeView::PickPointAt(CPoint pixel, const CRect& shownSelection) {
    CDataSeries& series = GetDocument()->m_DataSeries;
    series.AddData(pixel.x, pixel.y);
    GetDocument()->DataChanged();
    // Points go to the last series, the one drawn red without a polygon; should they go elsewhere,
    // a polygon may have changed, and the whole view is repainted.
    if (series.m_nCurrent != series.m_aSeries.GetSize() - 1) {
        Invalidate(TRUE);
        return;
    }
    const CTypedObArray<CData>& points = series.m_aSeries[series.m_nCurrent]->m_aData;
    const int count = points.GetSize();
    const CData& added = *points[count - 1];
    const CData& before = count > 1 ? *points[count - 2] : added;
    const CRect changed = WindowRectAround(before, added, kPointRadius + 2);
    InvalidateRect(&changed, TRUE);
    if (!shownSelection.IsRectEmpty())
        InvalidateRect(&shownSelection, TRUE);
}

// The window rectangle holding two image pixels' zoomed corners with a margin, held within the
// integer range however far outside the view they lie.
CRect CTallyscopeView::WindowRectAround(const CData& a, const CData& b, int margin) const {
    constexpr std::int64_t limit = std::numeric_limits<int>::max() / 2;
    const LogicalPoint p = ZoomedExactly(a);
    const LogicalPoint q = ZoomedExactly(b);
    const std::int64_t h = GetScrollPos(SB_HORZ);
    const std::int64_t v = GetScrollPos(SB_VERT);
    return CRect(ClampToInt(std::min(p.x, q.x) - h - margin, limit),
                 ClampToInt(std::min(p.y, q.y) - v - margin, limit),
                 ClampToInt(std::max(p.x, q.x) - h + margin + 1, limit),
                 ClampToInt(std::max(p.y, q.y) - v + margin + 1, limit));
}

// Where the selection circle is drawn now, empty when none is.
CRect CTallyscopeView::SelectionWindowRect() const {
    const CData* selected = m_bPointSelected ? GetDocument()->GetSelectedData() : nullptr;
    return selected != nullptr ? WindowRectAround(*selected, *selected, kSelectionRadius + 2) : CRect();
}

void CTallyscopeView::PlaceAxisPoint(CData& reference, double& value, BOOL& logarithmic, CPoint pixel) {
    reference.m_nPixelX = pixel.x;
    reference.m_nPixelY = pixel.y;
    CAxisValueDlg dlg;
    dlg.m_dValue = value;
    dlg.m_bLog = logarithmic;
    if (dlg.DoModal() == IDOK) {
        value = dlg.m_dValue;
        logarithmic = dlg.m_bLog;
    }
    m_nAxisMode = -1;
    m_nShiftState = -1; // the dialog took the Shift release
}

void CTallyscopeView::EndFigureAt(CPoint pixel) {
    if (m_nAxisMode != -1)
        return;
    CDataSeries& series = GetDocument()->m_DataSeries;
    series.AddData(pixel.x, pixel.y);
    series.NewSeries();
    GetDocument()->DataChanged();
}

void CTallyscopeView::OnMouseMove(UINT nFlags, CPoint point) {
    if (HasPicture()) {
        const CPoint pixel = WindowToImage(point);
        if (!m_bPointSelected)
            GetDocument()->UpdateZoomView(pixel.x, pixel.y, FALSE);
        ShowStatus(pixel);
    }
    Default();
}

// Panes 1 to 5: the offset from the origin (y up), then the length and area of the series before
// the current one, then the current series' index. Offsets are taken in 64 bits so that positions
// near the integer limits show their true distance.
void CTallyscopeView::ShowStatus(CPoint pixel) {
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    auto* bar = frame != nullptr ? dynamic_cast<CStatusBar*>(frame->GetMessageBar()) : nullptr;
    if (bar == nullptr)
        return;
    const CTallyscopeDoc* doc = GetDocument();
    const CData& origin = doc->m_DataAxis.m_Origin;
    CString text;
    text.Format("x = %3lld", static_cast<long long>(std::int64_t{pixel.x} - origin.m_nPixelX));
    bar->SetPaneText(1, text, TRUE);
    text.Format("y = %3lld", static_cast<long long>(std::int64_t{origin.m_nPixelY} - pixel.y));
    bar->SetPaneText(2, text, TRUE);
    double length = 0.0;
    double area = 0.0;
    doc->GetPreviousSeriesMeasure(length, area);
    text.Format("l = %3lf", length);
    bar->SetPaneText(3, text, TRUE);
    text.Format("a = %3lf", area);
    bar->SetPaneText(4, text, TRUE);
    text.Format("系列 = %3d", doc->m_DataSeries.m_nCurrent);
    bar->SetPaneText(5, text, TRUE);
}

// ---- cursor and keys ------------------------------------------------------------------------------

BOOL CTallyscopeView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_nShiftState != 0)
        return CScrollView::OnSetCursor(pWnd, nHitTest, message);
    UINT cursorId = IDC_CURSOR_PICK;
    switch (m_nAxisMode) {
    case 0:
        cursorId = IDC_CURSOR_ORIGIN;
        break;
    case 1:
        cursorId = IDC_CURSOR_XAXIS;
        break;
    case 2:
        cursorId = IDC_CURSOR_YAXIS;
        break;
    default:
        break;
    }
    SetCursor(LoadCursor(AfxFindResourceHandle(cursorId, RT_GROUP_CURSOR), cursorId));
    return TRUE;
}

void CTallyscopeView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_ESCAPE)
        m_traceMode.Leave();
    if (HasPicture()) {
        if (nChar == VK_SHIFT)
            m_nShiftState = 0;
        SendSetCursor(); // the cursor changes at once, without waiting for a mouse move
        if (m_bPointSelected)
            MoveSelectedPoint(nChar, nRepCnt);
    }
    Default();
}

// The arrow keys move the selected point by the repeat count in image pixels, at any zoom and
// beyond the picture; at the integer limits the position stops rather than wrapping round.
void CTallyscopeView::MoveSelectedPoint(UINT nChar, UINT nRepCnt) {
    CData* point = GetDocument()->GetSelectedData();
    if (point == nullptr)
        return;
    const std::int64_t step = nRepCnt;
    std::int64_t x = point->m_nPixelX;
    std::int64_t y = point->m_nPixelY;
    switch (nChar) {
    case VK_LEFT:
        x -= step;
        break;
    case VK_UP:
        y -= step;
        break;
    case VK_RIGHT:
        x += step;
        break;
    case VK_DOWN:
        y += step;
        break;
    default:
        return;
    }
    constexpr std::int64_t lowest = std::numeric_limits<int>::min();
    constexpr std::int64_t highest = std::numeric_limits<int>::max();
    point->m_nPixelX = static_cast<int>(std::clamp(x, lowest, highest));
    point->m_nPixelY = static_cast<int>(std::clamp(y, lowest, highest));
    GetDocument()->DataChanged();
    GetDocument()->UpdateZoomView(point->m_nPixelX, point->m_nPixelY, TRUE);
    Invalidate(TRUE);
}

void CTallyscopeView::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (HasPicture()) {
        if (nChar == VK_SHIFT)
            m_nShiftState = -1;
        SendSetCursor();
    }
    Default();
}

// ---- axis and zoom commands -----------------------------------------------------------------------

void CTallyscopeView::OnAxisOrigin() {
    m_nAxisMode = 0;
}
void CTallyscopeView::OnAxisXaxis() {
    m_nAxisMode = 1;
}
void CTallyscopeView::OnAxisYaxis() {
    m_nAxisMode = 2;
}

void CTallyscopeView::OnUpdateAxisSelect(CCmdUI* pCmdUI) {
    pCmdUI->Enable(HasPicture());
}

void CTallyscopeView::SetZoom(int zoom) {
    m_nZoom = zoom;
    UpdateScrollSizes();
    Invalidate(TRUE);
}

void CTallyscopeView::OnZoomX1() {
    SetZoom(1);
}
void CTallyscopeView::OnZoomX2() {
    SetZoom(2);
}
void CTallyscopeView::OnZoomX4() {
    SetZoom(4);
}

void CTallyscopeView::OnUpdateZoomX1(CCmdUI* pCmdUI) {
    pCmdUI->Enable(HasPicture());
    pCmdUI->SetCheck(m_nZoom == 1);
}

void CTallyscopeView::OnUpdateZoomX2(CCmdUI* pCmdUI) {
    pCmdUI->Enable(HasPicture());
    pCmdUI->SetCheck(m_nZoom == 2);
}

void CTallyscopeView::OnUpdateZoomX4(CCmdUI* pCmdUI) {
    pCmdUI->Enable(HasPicture());
    pCmdUI->SetCheck(m_nZoom == 4);
}
