#pragma once
// Tells the idle work whether anything has happened since it last ran. The event loop falls idle
// several times for each thing a user does (once more for every repaint that reaches the screen),
// and the update handlers of every menu item and button need to run only after an event that may
// have changed what they answer: input, a timer, a queued call, a window shown or closed, or a
// window told to repaint because the program changed what it shows. Repaints themselves and the
// layout work that follows them change nothing there.

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

class IdleTrigger final : public QObject {
public:
    // A count that moves on with every such event; the first call starts the counting.
    static quint64 Generation();
    // Something the event filter cannot see changed the program's state.
    static void Touch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IdleTrigger() = default;
    static IdleTrigger& Instance();

    QPointer<QCoreApplication> m_application;
    quint64 m_nGeneration = 1;
};
