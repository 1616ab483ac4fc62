#include "platform/ui/OuterGeometry.h"

#include <QEvent>
#include <QMargins>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

QMargins FrameMargins(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

// Watches one top-level window until the window manager has framed it, then fits it to the outer
// rectangle last asked for.
class OuterGeometryKeeper final : public QObject {
public:
    explicit OuterGeometryKeeper(QWidget& window) : QObject(&window), m_window(window) {
        window.installEventFilter(this);
    }

    static OuterGeometryKeeper& Of(QWidget& window) {
        for (QObject* child : window.children())
            if (auto* keeper = dynamic_cast<OuterGeometryKeeper*>(child))
                return *keeper;
        return *new OuterGeometryKeeper(window);
    }

    void Request(std::optional<QPoint> topLeft, std::optional<QSize> size) {
        if (topLeft)
            m_topLeft = topLeft;
        if (size)
            m_size = size;
        m_framed = false;
        Fit(FrameMargins(m_window));
    }

protected:
    // The frame shows up in the window's own events: the window manager's reparenting moves the
    // window inside its frame.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && !m_framed) {
            switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize: {
                const QMargins frame = FrameMargins(m_window);
                if (frame != m_fitted)
                    Fit(frame);
                break;
            }
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Fit(const QMargins& frame) {
        m_fitted = frame;
        m_framed = !frame.isNull();
        if (m_size) {
            const QSize inner(std::max(1, m_size->width() - frame.left() - frame.right()),
                              std::max(1, m_size->height() - frame.top() - frame.bottom()));
            if (m_window.minimumSize() == m_window.maximumSize())
                m_window.setFixedSize(inner);
            else
                m_window.resize(inner);
        }
        // A window's position is that of its frame's top-left corner.
        if (m_topLeft)
            m_window.move(*m_topLeft);
    }

    QWidget& m_window;
    std::optional<QPoint> m_topLeft;
    std::optional<QSize> m_size;
    QMargins m_fitted;
    bool m_framed = false;
};

} // namespace

void AfxSetOuterGeometry(QWidget& window, std::optional<QPoint> topLeft, std::optional<QSize> size) {
    OuterGeometryKeeper::Of(window).Request(topLeft, size);
}
