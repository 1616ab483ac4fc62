#include "platform/ui/CaptionBar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

AfxCaptionBar::AfxCaptionBar(QWidget* window) : QWidget(window) {
    setFixedHeight(QFontMetrics(CaptionFont()).height() + 6);
    window->installEventFilter(this);
    connect(window, &QWidget::windowTitleChanged, this, [this] { update(); });
}

QFont AfxCaptionBar::CaptionFont() const {
    QFont font = this->font();
    font.setBold(true);
    return font;
}

void AfxCaptionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool active = window()->isActiveWindow();
    painter.fillRect(rect(), palette().color(active ? QPalette::Highlight : QPalette::Mid));
    painter.setPen(palette().color(active ? QPalette::HighlightedText : QPalette::Window));
    painter.setFont(CaptionFont());
    const QRect text = rect().adjusted(4, 0, -4, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, text.width()));
}

void AfxCaptionBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    QWindow* handle = window()->windowHandle();
    if (handle != nullptr && handle->startSystemMove())
        return;
    m_dragOffset = event->globalPosition().toPoint() - window()->pos();
}

void AfxCaptionBar::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset)
        window()->move(event->globalPosition().toPoint() - *m_dragOffset);
}

void AfxCaptionBar::mouseReleaseEvent(QMouseEvent*) {
    m_dragOffset.reset();
}

// The caption follows its window's activation, as a title bar does.
bool AfxCaptionBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() &&
        (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate))
        update();
    return QWidget::eventFilter(watched, event);
}
