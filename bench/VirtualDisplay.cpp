#include "VirtualDisplay.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

bool VirtualDisplay::Start() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("openbox").isEmpty())
        return false;
    // -displayfd: the server picks a free display and tells its number once it accepts clients.
    m_server.start("Xvfb",
                   {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-noreset", "-nolisten", "tcp"});
    if (!m_server.waitForStarted() || !m_server.waitForReadyRead(20000))
        return false;
    m_name = ":" + QString::fromLatin1(m_server.readLine()).trimmed();
    m_windowManager.setProcessEnvironment(Environment());
    m_windowManager.start("openbox", {});
    if (!m_windowManager.waitForStarted())
        return false;
    // Windows mapped before openbox has taken the screen are never framed: wait until it has.
    QElapsedTimer waited;
    waited.start();
    while (!WindowManagerRuns()) {
        if (waited.elapsed() > 20000)
            return false;
        QThread::msleep(50);
    }
    return true;
}

VirtualDisplay::~VirtualDisplay() {
    for (QProcess* process : {&m_windowManager, &m_server}) {
        process->kill();
        process->waitForFinished();
    }
}

QProcessEnvironment VirtualDisplay::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_name);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    return environment;
}

bool VirtualDisplay::Send(const QStringList& commands) const {
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start("xdotool", commands);
    return tool.waitForFinished(60000) && tool.exitCode() == 0;
}

double VirtualDisplay::ServerCpuMilliseconds() const {
    QFile stat(QString("/proc/%1/stat").arg(m_server.processId()));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The fields after the command's name, which ends with the last ')': utime and stime are the
    // 14th and 15th of the line.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    const double ticks = fields[11].toDouble() + fields[12].toDouble();
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A window manager names its check window on the root window once it manages the screen.
bool VirtualDisplay::WindowManagerRuns() const {
    QProcess probe;
    probe.setProcessEnvironment(Environment());
    probe.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
    return probe.waitForFinished(10000) && probe.readAllStandardOutput().contains("window id");
}
