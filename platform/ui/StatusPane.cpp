#include "platform/ui/StatusPane.h"

#include <QEvent>
#include <QLabel>

// The label paints its own background: a new read-out then repaints the label alone, not the bar,
// the row and the window behind it as well.
StatusPane::StatusPane(QWidget* parent) : QWidget(parent), m_label(new QLabel(this)) {
    m_label->setAutoFillBackground(true);
}

void StatusPane::KeepWidth(int width) {
    m_stretches = false;
    m_width = width;
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setFixedWidth(width);
    updateGeometry();
}

// Ignored: the row gives the pane only what is left, never more because of its text.
void StatusPane::LetWidthStretch() {
    m_stretches = true;
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    updateGeometry();
}

QSize StatusPane::sizeHint() const {
    const QSize label = m_label->sizeHint();
    m_givenHeight = label.height();
    return m_stretches ? label : QSize(m_width, label.height());
}

QSize StatusPane::minimumSizeHint() const {
    const QSize label = m_label->minimumSizeHint();
    return m_stretches ? QSize(0, label.height()) : QSize(minimumWidth(), label.height());
}

// A pane shows one line, so a new text can change only the width its label would like, which the
// row does not ask for; a new font or style reaches the box itself, which then tells the row as
// every widget does.
bool StatusPane::event(QEvent* event) {
    if (event->type() != QEvent::LayoutRequest)
        return QWidget::event(event);
    if (m_label->sizeHint().height() != m_givenHeight)
        updateGeometry();
    return true;
}

// Fixed at the pane's size: the label then asks nobody to lay out again when its text changes,
// which it does on every mouse move.
void StatusPane::resizeEvent(QResizeEvent*) {
    m_label->move(0, 0);
    m_label->setFixedSize(size());
}
