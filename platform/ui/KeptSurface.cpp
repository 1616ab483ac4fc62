#include "platform/ui/KeptSurface.h"

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
    if (m_image.size() != m_window->size()) {
        m_image = QImage(m_window->size(), QImage::Format_RGB32);
        Forget();
    }
    m_bKept = true;
    return &m_image;
}

void KeptSurface::Present() {
    if (m_window)
        m_window->update();
}

void KeptSurface::Forget() {
    m_bKept = false;
    m_image.fill(m_window ? m_window->palette().color(QPalette::Window) : Qt::white);
}

bool KeptSurface::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || !m_window)
        return false;
    if (watched == m_parent) {
        // The parent's own region leaves out an opaque child, so its bounding box is what tells
        // whether the repaint reached over this window.
        const QRect dirty = static_cast<QPaintEvent*>(event)->rect();
        if (!m_image.isNull() && dirty.intersects(m_window->geometry()))
            Forget();
        return false;
    }
    if (watched == m_window && m_bKept && m_image.size() == m_window->size()) {
        QPainter painter(m_window);
        painter.drawImage(0, 0, m_image);
        return true;
    }
    return false;
}
