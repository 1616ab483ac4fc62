#include "platform/ui/KeptSurface.h"

#include "platform/ui/PixelGrid.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

KeptSurface::KeptSurface(QWidget* window) : m_window(window) {
    if (window == nullptr)
        return;
    window->installEventFilter(this);
    m_parent = window->parentWidget();
    if (m_parent)
        m_parent->installEventFilter(this);
}

QImage* KeptSurface::Image() {
    if (!m_window || m_window->width() <= 0 || m_window->height() <= 0)
        return nullptr;
    if (!Fits()) {
        const PixelGrid grid(m_window);
        m_image = QImage(grid.BufferSize(m_window->size()), QImage::Format_RGB32);
        m_image.setDevicePixelRatio(grid.Ratio());
        Forget();
    }
    m_bKept = true;
    // The kept pixels cover the window: its background need not be filled under them first.
    m_window->setAttribute(Qt::WA_OpaquePaintEvent, true);
    return &m_image;
}

void KeptSurface::Present() {
    if (m_window)
        m_window->update();
}

bool KeptSurface::Fits() const {
    const PixelGrid grid(m_window);
    return m_image.size() == grid.BufferSize(m_window->size()) && m_image.devicePixelRatio() == grid.Ratio();
}

void KeptSurface::Forget() {
    m_bKept = false;
    if (m_window)
        m_window->setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_image.fill(m_window ? m_window->palette().color(QPalette::Window) : Qt::white);
}

bool KeptSurface::eventFilter(QObject* watched, QEvent* event) {
    if (!m_window)
        return false;
    if (event->type() == QEvent::Resize && watched == m_window && m_bKept &&
        m_image.size() != m_window->size()) {
        Forget(); // the window paints its background again until something is drawn at the new size
        return false;
    }
    if (event->type() != QEvent::Paint)
        return false;
    if (watched == m_parent) {
        // The parent's own region leaves out an opaque child, so its bounding box is what tells
        // whether the repaint reached over this window.
        const QRect dirty = static_cast<QPaintEvent*>(event)->rect();
        if (!m_image.isNull() && dirty.intersects(m_window->geometry()))
            Forget();
        return false;
    }
    if (watched == m_window && m_bKept && Fits()) {
        QPainter painter(m_window);
        painter.drawImage(PixelGrid(m_window).BufferOrigin(), m_image);
        return true;
    }
    return false;
}
