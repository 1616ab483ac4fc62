#pragma once
// A display of the test's own for running the real program: Xvfb on a free display number (the
// server names it once it takes clients), openbox on it so that windows are placed and focused as
// on a desktop, xdotool for input through the X server (XTEST), and what the screen shows: its
// pixels and the cursor with its hot spot (XFixes). The tests and the benchmarks share it.

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

class VirtualDisplay {
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Whether the tools are there; a machine without them skips the tests that need them.
    static bool IsAvailable();
    // Starts the server and the window manager and waits until both are ready.
    bool Start();
    // Ends the server at once, as a logout does: every client's connection breaks.
    void KillServer();
    // The environment for a program on this display.
    QProcessEnvironment Environment() const;
    // Runs xdotool with the commands; its output, or nothing when it failed.
    std::optional<QByteArray> Send(const QStringList& commands) const;

    // The cursor shown now: its picture (device pixels), hot spot and the pointer's position.
    struct Cursor {
        QImage picture;
        QPoint hotSpot;
        QPoint position;
    };
    std::optional<Cursor> ShownCursor() const;
    // The screen's pixels (without the cursor).
    QImage Screenshot() const;
    // The CPU the X server has spent since it started, in milliseconds: what drawing for the
    // programs on the display cost on the server's side.
    double ServerCpuMilliseconds() const;

private:
    QProcess m_server;
    QProcess m_windowManager;
    QString m_name;
};
