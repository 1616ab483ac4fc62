#include "platform/ui/StatusPane.h"

#include <QEvent>
#include <QLabel>

StatusPane::StatusPane(QWidget* parent) : QWidget(parent), m_label(new QLabel(this)) {}

void StatusPane::KeepWidth(int width) {
    setFixedWidth(width);
    m_label->setFixedWidth(width);
}

void StatusPane::LetWidthStretch() {
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_label)}) {
        widget->setMinimumWidth(0);
        widget->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

QSize StatusPane::sizeHint() const {
    m_givenHint = m_label->sizeHint();
    return m_givenHint;
}

QSize StatusPane::minimumSizeHint() const {
    m_givenMinimumHint = m_label->minimumSizeHint();
    return m_givenMinimumHint;
}

bool StatusPane::HasFixedWidth() const {
    return minimumWidth() == maximumWidth();
}

// A pane of fixed width shows one line, so a new text cannot change what it asks of the row; a new
// font or style reaches the box itself, which then tells the row as every widget does.
bool StatusPane::event(QEvent* event) {
    if (event->type() != QEvent::LayoutRequest)
        return QWidget::event(event);
    if (HasFixedWidth())
        return true;
    // The stretching pane's hints follow its text: the row hears of a new text only when they moved.
    if (m_label->sizeHint() != m_givenHint || m_label->minimumSizeHint() != m_givenMinimumHint)
        updateGeometry();
    return true;
}

void StatusPane::resizeEvent(QResizeEvent*) {
    m_label->setGeometry(rect());
}
