#include "platform/ui/IdleTrigger.h"

#include <QCoreApplication>
#include <QEvent>

// The filter goes on the application that runs now: a test may make one after another.
IdleTrigger& IdleTrigger::Instance() {
    static IdleTrigger trigger;
    QCoreApplication* application = QCoreApplication::instance();
    if (application != nullptr && trigger.m_application != application) {
        application->installEventFilter(&trigger);
        trigger.m_application = application;
    }
    return trigger;
}

quint64 IdleTrigger::Generation() {
    return Instance().m_nGeneration;
}

void IdleTrigger::Touch() {
    ++Instance().m_nGeneration;
}

bool IdleTrigger::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::LayoutRequest:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::HoverMove:
    case QEvent::Expose:
    case QEvent::PlatformSurface:
    case QEvent::Polish:
    case QEvent::PolishRequest:
        break;
    default:
        ++m_nGeneration;
        break;
    }
    return false;
}
