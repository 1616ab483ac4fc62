#include "platform/ui/WndEventBridge.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/PixelGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

WndEventBridge::WndEventBridge(CWnd& window, QObject* parent) : QObject(parent), m_window(window) {}

namespace {
// The mouse position with its fractional part. Qt hands a child widget its position rounded to
// whole logical pixels, but keeps the exact one relative to the window; an event made by hand
// (whose window position is just its own) keeps its position as given.
QPointF ExactPosition(const QMouseEvent* e, const PixelGrid& grid) {
    const QPointF inWindow = e->scenePosition() - QPointF(grid.WindowOffset());
    return inWindow.toPoint() == e->position().toPoint() ? inWindow : e->position();
}

// Positions keep their fractional part until here, and become the logical pixel under them: never
// rounded, so the right half of a pixel on a scaled screen is still that pixel.
CPoint PixelAt(const QMouseEvent* e, const QObject* watched) {
    const PixelGrid grid(static_cast<const QWidget*>(watched));
    return grid.LogicalPixelAt(ExactPosition(e, grid));
}
} // namespace

bool WndEventBridge::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window.GetInputWidget())
        return false;
    if (m_window.OnWidgetEvent(event))
        return true;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        m_window.SendMouseMessage(WM_LBUTTONDOWN, AfxMouseFlags(e->buttons(), e->modifiers()),
                                  PixelAt(e, watched));
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        // A window without a double-click handler leaves the event to its widget (a list box's
        // double-click, say).
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        return m_window.SendMouseMessage(WM_LBUTTONDBLCLK, AfxMouseFlags(e->buttons(), e->modifiers()),
                                         PixelAt(e, watched)) != FALSE;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        m_window.SendMouseMessage(WM_MOUSEMOVE, AfxMouseFlags(e->buttons(), e->modifiers()),
                                  PixelAt(e, watched));
        m_window.SendSetCursor();
        return true;
    }
    case QEvent::Enter:
        m_window.SendSetCursor();
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* e = static_cast<QKeyEvent*>(event);
        // A held key repeats as presses alone, each with the repeat flag; the releases X11 pairs
        // with its repeated presses would end the key (a held Shift) between two of them.
        if (event->type() == QEvent::KeyRelease && e->isAutoRepeat())
            return true;
        const UINT vk = AfxVirtualKey(e->key());
        if (vk == 0)
            return false;
        const UINT message = event->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
        const UINT repeat = e->count() > 0 ? static_cast<UINT>(e->count()) : 1;
        return m_window.SendKeyMessage(message, vk, repeat, e->isAutoRepeat() ? 0x4000u : 0u) != FALSE;
    }
    default:
        return false;
    }
}
