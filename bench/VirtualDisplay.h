#pragma once
// A display of a benchmark's own for the whole run: Xvfb with openbox, so that the real program
// meets a window manager as on a desktop. Programs started with Environment() show their windows
// there; Send() drives it through xdotool.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class VirtualDisplay {
public:
    VirtualDisplay() = default;
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    ~VirtualDisplay();

    // False where Xvfb or openbox is missing or the server does not come up.
    bool Start();
    QProcessEnvironment Environment() const;
    bool Send(const QStringList& commands) const;
    // The CPU the X server has spent since it started, in milliseconds: what drawing for the
    // programs on the display cost on the server's side.
    double ServerCpuMilliseconds() const;

private:
    bool WindowManagerRuns() const;

    QProcess m_server;
    QProcess m_windowManager;
    QString m_name;
};
