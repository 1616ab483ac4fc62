#pragma once
// Works real modal Qt windows from a test: every 10 ms the step sees the active modal window and
// says whether it handled it. Used with QtModalHost, whose dialogs run their own event loops.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class ModalDriver {
public:
    explicit ModalDriver(std::function<bool(QWidget*)> step) : m_step(std::move(step)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != m_lastHandled && m_step(modal))
                m_lastHandled = modal;
        });
        m_timer.start(10);
    }

private:
    std::function<bool(QWidget*)> m_step;
    QPointer<QWidget> m_lastHandled;
    QTimer m_timer;
};
