#include "platform/ui/CWaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

// Without Qt's application (the command-line benchmarks) there is no cursor to show.
CWaitCursor::CWaitCursor() : m_bShown(qGuiApp != nullptr) {
    if (m_bShown)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

CWaitCursor::~CWaitCursor() {
    if (m_bShown && qGuiApp != nullptr)
        QGuiApplication::restoreOverrideCursor();
}
