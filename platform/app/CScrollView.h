#pragma once
// The framework's scrolling view, on a QAbstractScrollArea. The document's extent is set with
// SetScrollSizes (device pixels, MM_TEXT); the scroll bars cover what does not fit the viewport.
// Painting: each paint of the viewport draws into a back buffer the size of the viewport, first
// the background (WM_ERASEBKGND through the message table; by default the workspace colour), then
// OnDraw with logical (0, 0) at minus the scroll position (OnPrepareDC), and then shows the
// buffer. Only the invalid part is drawn. RenderBackBuffer does the same without a screen. The
// buffer has the screen's device pixel ratio, so what is drawn on it comes out at the screen's
// resolution (see CDC); a change of screen or scale makes a new one at the next paint.

#include "platform/app/CView.h"
#include "platform/gdi/CDC.h"

#include <memory>

class QAbstractScrollArea;

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    // Page and line sizes that ask for the framework's defaults: a page is a tenth of the total
    // size, a line a tenth of a page.
    static const CSize sizeDefault;

    ~CScrollView() override;

    BOOL Create(CWnd* pParentWnd, UINT nID) override;

    void SetScrollSizes(int nMapMode, CSize sizeTotal, const CSize& sizePage = sizeDefault,
                        const CSize& sizeLine = sizeDefault);
    void GetDeviceScrollSizes(int& nMapMode, CSize& sizeTotal, CSize& sizePage, CSize& sizeLine) const;
    CSize GetTotalSize() const { return m_totalDev; }
    CPoint GetDeviceScrollPosition() const;
    CPoint GetScrollPosition() const { return GetDeviceScrollPosition(); }
    // Scrolls so that the logical point is at the viewport's top-left, as far as the extent allows.
    void ScrollToPosition(CPoint pt);
    int GetScrollPos(int nBar) const override;

    // Puts logical (0, 0) at minus the scroll position.
    virtual void OnPrepareDC(CDC* pDC);

    // Draws the view into its back buffer at the size given (the viewport's when it has no
    // width or height) as a paint would, limited to the invalid rectangle when one is given
    // (logical units), at the device pixel ratio given (the viewport's when 0). Tests and
    // benchmarks call it directly.
    void RenderBackBuffer(CSize size = CSize(), const CRect* pInvalid = nullptr, double ratio = 0);
    // The last buffer drawn; empty before the first paint.
    const QImage& GetBackBuffer() const;

    bool OnWidgetEvent(QEvent* event) override;

protected:
    CScrollView();

    // Whether what the view draws moves with the scroll position and nothing else, so that a scroll
    // may move the pixels already shown and draw only the strip it uncovers. A view that draws
    // anything fixed to the window (a hatch pattern keeps its cells where the window's are) says no
    // while it does, and is then drawn whole at every scroll.
    virtual BOOL DrawsOnlyWhatScrolls() const { return TRUE; }

private:
    friend class ScrollingArea;
    QAbstractScrollArea* ScrollArea() const;
    // The scroll position moved by (dx, dy) device-independent pixels.
    void ScrollContentsBy(int dx, int dy);
    // Fits the scroll bars to the extent and the viewport's size.
    void UpdateBars();
    // WM_ERASEBKGND: the table's handler, else the workspace colour over the clip box.
    void EraseBackground(CDC* pDC);

    int m_nMapMode = MM_TEXT;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    std::unique_ptr<QImage> m_pBackBuffer;
};
