#pragma once
// The caption of a frame whose title bar carries no buttons: an overlapped window without a system
// menu has a title and a border, but no close, minimise or maximise box. Window managers keep their
// close box on every window they decorate, whatever the window asks for (openbox does so on
// purpose), so such a frame is left undecorated and draws its caption and border itself. The caption
// shows the window's title, highlighted while the window is active; dragging it moves the window,
// through the window manager when there is one.

#include <QPoint>
#include <QWidget>

#include <optional>

class AfxCaptionBar final : public QWidget {
    Q_OBJECT
public:
    // A caption for the top-level window; the window's border is the window's own to draw.
    explicit AfxCaptionBar(QWidget* window);

    // The width of the border drawn round a window with this caption.
    static constexpr int kBorder = 1;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFont CaptionFont() const;

    // Where the pointer grabbed the window, relative to its top-left corner, while it is dragged
    // without the window manager's help.
    std::optional<QPoint> m_dragOffset;
};
