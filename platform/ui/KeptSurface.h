#pragma once
// Pixels a window keeps between paints, for windows that are drawn on from outside their paint
// (GetDC ... ReleaseDC), as a form draws into a picture frame. The window shows them whenever it
// repaints by itself. A repaint of its parent over it (the form invalidated, or shown again)
// paints the window's own background and forgets them, as the framework's windows do: a picture
// drawn that way lasts until the window is next repainted from its parent. The pixels are at the
// screen's device pixel ratio; a change of screen or scale starts them afresh.

#include <QImage>
#include <QObject>
#include <QPointer>

class QWidget;

class KeptSurface final : public QObject {
    Q_OBJECT
public:
    explicit KeptSurface(QWidget* window);

    QWidget* GetWindow() const { return m_window.data(); }
    // The pixels, the window's size; its background colour where nothing is kept. Null without a
    // window or when the window has no area. Drawing on them keeps them.
    QImage* Image();
    // Shows the pixels at the window's next paint.
    void Present();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the pixels have the window's size and device pixel ratio.
    bool Fits() const;
    void Forget();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_parent;
    QImage m_image;
    bool m_bKept = false;
};
