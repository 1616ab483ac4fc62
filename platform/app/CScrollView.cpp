#include "platform/app/CScrollView.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/PixelGrid.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

IMPLEMENT_DYNAMIC(CScrollView, CView)

// The view scrolls by its bars and the mouse wheel, never by keyboard: a key its window leaves
// unhandled goes on to the frame, as the system's default processing does nothing with it, instead
// of turning the arrow and page keys into scrolling. A scroll is the view's to show.
class ScrollingArea final : public QAbstractScrollArea {
public:
    ScrollingArea(CScrollView& view, QWidget* parent) : QAbstractScrollArea(parent), m_view(view) {}

protected:
    void keyPressEvent(QKeyEvent* event) override { event->ignore(); }
    void scrollContentsBy(int dx, int dy) override { m_view.ScrollContentsBy(dx, dy); }

private:
    CScrollView& m_view;
};

const CSize CScrollView::sizeDefault(0, 0);

CScrollView::CScrollView() : m_pBackBuffer(std::make_unique<QImage>()) {}

CScrollView::~CScrollView() = default;

BOOL CScrollView::Create(CWnd* pParentWnd, UINT) {
    auto* area = new ScrollingArea(*this, pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr);
    area->setFrameShape(QFrame::NoFrame);
    // The back buffer covers every pixel, so Qt need not clear the viewport first.
    area->viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    AttachWidget(area, area->viewport());
    UpdateBars();
    return TRUE;
}

QAbstractScrollArea* CScrollView::ScrollArea() const {
    return qobject_cast<QAbstractScrollArea*>(GetSafeHwnd());
}

void CScrollView::SetScrollSizes(int nMapMode, CSize sizeTotal, const CSize& sizePage,
                                 const CSize& sizeLine) {
    m_nMapMode = nMapMode;
    m_totalDev = sizeTotal;
    m_pageDev = sizePage;
    m_lineDev = sizeLine;
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    UpdateBars();
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, CSize& sizeTotal, CSize& sizePage,
                                       CSize& sizeLine) const {
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

void CScrollView::UpdateBars() {
    QAbstractScrollArea* area = ScrollArea();
    if (area == nullptr)
        return;
    const QSize viewport = area->viewport()->size();
    QScrollBar* horizontal = area->horizontalScrollBar();
    QScrollBar* vertical = area->verticalScrollBar();
    horizontal->setRange(0, std::max(0, m_totalDev.cx - viewport.width()));
    horizontal->setPageStep(m_pageDev.cx);
    horizontal->setSingleStep(m_lineDev.cx);
    vertical->setRange(0, std::max(0, m_totalDev.cy - viewport.height()));
    vertical->setPageStep(m_pageDev.cy);
    vertical->setSingleStep(m_lineDev.cy);
}

CPoint CScrollView::GetDeviceScrollPosition() const {
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

int CScrollView::GetScrollPos(int nBar) const {
    const QAbstractScrollArea* area = ScrollArea();
    if (area == nullptr)
        return 0;
    return nBar == SB_VERT ? area->verticalScrollBar()->value() : area->horizontalScrollBar()->value();
}

void CScrollView::ScrollToPosition(CPoint pt) {
    if (QAbstractScrollArea* area = ScrollArea()) {
        area->horizontalScrollBar()->setValue(pt.x);
        area->verticalScrollBar()->setValue(pt.y);
    }
}

// The pixels shown are moved and only the uncovered strip drawn, as the system's ScrollWindow does.
// At a fractional device pixel ratio a moved logical pixel would not land on whole device pixels,
// so the view is drawn whole there, as it is when it draws something fixed to the window.
void CScrollView::ScrollContentsBy(int dx, int dy) {
    QWidget* viewport = GetInputWidget();
    if (viewport == nullptr)
        return;
    const double ratio = PixelGrid(viewport).Ratio();
    if (ratio == std::floor(ratio) && DrawsOnlyWhatScrolls())
        viewport->scroll(dx, dy);
    else
        viewport->update();
}

void CScrollView::OnPrepareDC(CDC* pDC) {
    const CPoint scroll = GetDeviceScrollPosition();
    pDC->SetMapMode(m_nMapMode);
    pDC->SetViewportOrg(-scroll.x, -scroll.y);
}

void CScrollView::EraseBackground(CDC* pDC) {
    if (const MessageMapEntry* entry = FindMessageEntry(WM_ERASEBKGND)) {
        std::get<msgmap::EraseFn>(entry->handler)(*this, pDC);
        return;
    }
    CRect clip;
    if (pDC->GetClipBox(&clip) != NULLREGION)
        pDC->FillSolidRect(&clip, GetSysColor(COLOR_APPWORKSPACE));
}

void CScrollView::RenderBackBuffer(CSize size, const CRect* pInvalid, double ratio) {
    const QWidget* viewport = GetInputWidget();
    if (size.cx <= 0 || size.cy <= 0)
        size = viewport != nullptr ? CSize(viewport->width(), viewport->height()) : CSize();
    const PixelGrid grid(viewport);
    QSize device = grid.BufferSize(QSize(std::max(size.cx, 0), std::max(size.cy, 0)));
    if (ratio <= 0)
        ratio = grid.Ratio();
    else if (ratio != grid.Ratio())
        device =
            QSize(static_cast<int>(std::ceil(size.cx * ratio)), static_cast<int>(std::ceil(size.cy * ratio)));
    if (m_pBackBuffer->size() != device || m_pBackBuffer->devicePixelRatio() != ratio) {
        *m_pBackBuffer =
            QImage(std::max(device.width(), 0), std::max(device.height(), 0), QImage::Format_RGB32);
        m_pBackBuffer->setDevicePixelRatio(ratio);
    }
    if (m_pBackBuffer->isNull())
        return;
    CDC dc;
    dc.AttachSurface(m_pBackBuffer.get());
    if (pInvalid != nullptr)
        dc.IntersectClipRect(pInvalid);
    // The background is erased in window coordinates, before the scroll position applies.
    EraseBackground(&dc);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

const QImage& CScrollView::GetBackBuffer() const {
    return *m_pBackBuffer;
}

bool CScrollView::OnWidgetEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint: {
        QWidget* viewport = GetInputWidget();
        const QRect dirty = static_cast<QPaintEvent*>(event)->rect();
        const PixelGrid grid(viewport);
        // At a fractional ratio the device pixels at the dirty edges are shared with the logical
        // pixels beside them, so those are drawn again too.
        const int margin = grid.Ratio() == std::floor(grid.Ratio()) ? 0 : 1;
        const CRect invalid(dirty.left() - margin, dirty.top() - margin,
                            dirty.left() + dirty.width() + margin, dirty.top() + dirty.height() + margin);
        RenderBackBuffer(CSize(viewport->width(), viewport->height()), &invalid);
        QPainter painter(viewport);
        painter.setClipRect(dirty);
        painter.drawImage(grid.BufferOrigin(), *m_pBackBuffer);
        return true;
    }
    case QEvent::Resize:
        UpdateBars();
        return false;
    default:
        return false;
    }
}
