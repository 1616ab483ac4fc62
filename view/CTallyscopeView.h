#pragma once
// The picture view: the chart at 1x, 2x or 4x in a scrolling window, with everything placed on it
// drawn over it on every paint (series, area figures, reference markers, axis lines, selection).
// Image pixel (px, py) is the zoom x zoom block at logical (zoom * px, zoom * py), and every marker
// is centred on that corner with a size in device pixels, the same at every zoom.

#include "platform/app/CScrollView.h"
#include "trace/TraceMode.h"
#include "view/LogicalClip.h"

class CTallyscopeDoc;
class CPictureHolder;
class CData;

class CTallyscopeView : public CScrollView {
    DECLARE_DYNCREATE(CTallyscopeView)
    DECLARE_MESSAGE_MAP()
public:
    CTallyscopeView() = default;
    ~CTallyscopeView() override = default;

    CTallyscopeDoc* GetDocument() const;
    // The trace mode's commands come first, then the view's own and the document's.
    BOOL OnCmdMsg(UINT nID, CCmdUI* pUI) override;

    // Rendering.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // The scroll extent for the current picture and zoom, without repainting.
    void UpdateScrollSizes();
    // The picture's size in device pixels, from its HIMETRIC extent; (0, 0) when it cannot be read.
    CSize GetPictureSize(CPictureHolder* pPicture);
    BOOL OnEraseBkgnd(CDC* pDC);
    // The window rectangle the picture's pixels are drawn over at the present zoom and scroll
    // position; empty when there is no bitmap to draw.
    CRect GetPictureWindowRect() const;

    // Interaction: mouse, keys, cursors, zoom and axis commands.
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnAxisOrigin();
    void OnAxisXaxis();
    void OnAxisYaxis();
    void OnUpdateAxisSelect(CCmdUI* pCmdUI);
    void OnZoomX1();
    void OnZoomX2();
    void OnZoomX4();
    void OnUpdateZoomX1(CCmdUI* pCmdUI);
    void OnUpdateZoomX2(CCmdUI* pCmdUI);
    void OnUpdateZoomX4(CCmdUI* pCmdUI);

    // The image pixel under a window position: (window + scroll) / zoom, rounding toward zero.
    CPoint WindowToImage(CPoint point) const;

    int m_nAxisMode = -1;
    int m_nShiftState = -1;
    int m_nZoom = 1;
    BOOL m_bPointSelected = FALSE;
    // Shift-clicks trace whole curves while it is on (trace/).
    TraceMode m_traceMode{*this};

protected:
    void DrawOverlay(CDC* pDC);
    BOOL DrawsOnlyWhatScrolls() const override;

private:
    // The logical position of an image pixel's block, where its markers are centred. Positions far
    // outside any picture are held to a range in which the markers' own arithmetic cannot overflow.
    CPoint Zoomed(int nPixelX, int nPixelY) const;
    // The same position without limit, for lines and polygons, which are cut instead.
    LogicalPoint ZoomedExactly(const CData& point) const;
    void DrawSegment(CDC* pDC, const CData& from, const CData& to) const;
    bool HasPicture() const;
    // The three gestures of a left click, told apart by the modifier keys.
    void SelectPointAt(CPoint pixel);
    void PlaceReferencePointAt(CPoint pixel);
    void PickPointAt(CPoint pixel, const CRect& shownSelection);
    CRect WindowRectAround(const CData& a, const CData& b, int margin) const;
    CRect SelectionWindowRect() const;
    void EndFigureAt(CPoint pixel);
    // Puts a reference point at the pixel, then asks for its axis value; Cancel keeps the old value.
    void PlaceAxisPoint(CData& reference, double& value, BOOL& logarithmic, CPoint pixel);
    void ShowStatus(CPoint pixel);
    void MoveSelectedPoint(UINT nChar, UINT nRepCnt);
    void SetZoom(int zoom);
    void DrawSeries(CDC* pDC);
    void DrawAxes(CDC* pDC);
    void DrawSelection(CDC* pDC);
};
