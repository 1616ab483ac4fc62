#pragma once
// The picture view: the chart at 1x, 2x or 4x in a scrolling window, with everything placed on it
// drawn over it on every paint (series, area figures, reference markers, axis lines, selection).
// Image pixel (px, py) is the zoom x zoom block at logical (zoom * px, zoom * py), and every marker
// is centred on that corner with a size in device pixels, the same at every zoom.

#include "platform/CScrollView.h"

class CTallyscopeDoc;
class CPictureHolder;

class CTallyscopeView : public CScrollView {
    DECLARE_DYNCREATE(CTallyscopeView)
    DECLARE_MESSAGE_MAP()
public:
    CTallyscopeView() = default;
    ~CTallyscopeView() override = default;

    CTallyscopeDoc* GetDocument() const;

    // Rendering.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // The scroll extent for the current picture and zoom, without repainting.
    void UpdateScrollSizes();
    // The picture's size in device pixels, from its HIMETRIC extent; (0, 0) when it cannot be read.
    CSize GetPictureSize(CPictureHolder* pPicture);
    BOOL OnEraseBkgnd(CDC* pDC);

    // Interaction: mouse, keys, cursors, zoom and axis commands.

    int m_nAxisMode = -1;
    int m_nShiftState = -1;
    int m_nZoom = 1;
    BOOL m_bPointSelected = FALSE;

protected:
    void DrawOverlay(CDC* pDC);

private:
    // The logical position of an image pixel's block, where its markers are centred.
    CPoint Zoomed(int nPixelX, int nPixelY) const { return CPoint(m_nZoom * nPixelX, m_nZoom * nPixelY); }
    void DrawSeries(CDC* pDC);
    void DrawAxes(CDC* pDC);
    void DrawSelection(CDC* pDC);
};
