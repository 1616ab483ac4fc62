#pragma once
// Turns the Qt events of one widget into the framework's window messages for its CWnd.

#include <QObject>

class CWnd;

class WndEventBridge final : public QObject {
    Q_OBJECT
public:
    WndEventBridge(CWnd& window, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CWnd& m_window;
};
