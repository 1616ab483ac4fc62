#include "EventCounter.h"

#include <QCoreApplication>

EventCounter::EventCounter(QEvent::Type type) : m_type(type) {
    QCoreApplication::instance()->installEventFilter(this);
}

EventCounter::~EventCounter() {
    QCoreApplication::instance()->removeEventFilter(this);
}

int EventCounter::Count(const QObject* target) const {
    const auto found = m_counts.find(target);
    return found != m_counts.end() ? found->second : 0;
}

bool EventCounter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == m_type)
        ++m_counts[watched];
    return false;
}
