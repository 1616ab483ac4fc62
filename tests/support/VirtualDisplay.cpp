#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <unistd.h>

VirtualDisplay::~VirtualDisplay() {
    for (QProcess* process : {&m_windowManager, &m_server}) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
    }
}

bool VirtualDisplay::IsAvailable() {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xprop", "import"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return false;
    return true;
}

bool VirtualDisplay::Start() {
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1600x1200x24", "-nolisten", "tcp"});
    if (!m_server.waitForStarted() || !m_server.waitForReadyRead(30000))
        return false;
    m_name = ":" + QString::fromLatin1(m_server.readLine()).trimmed();
    m_windowManager.setProcessEnvironment(Environment());
    m_windowManager.start("openbox", {});
    if (!m_windowManager.waitForStarted())
        return false;
    // The window manager has taken the screen once it names itself on the root window; windows
    // mapped before would be left unframed and unfocused. Now and then openbox cannot open the
    // display it was just told of and ends at once: it is started again.
    int restarts = 0;
    return QTest::qWaitFor(
        [this, &restarts] {
            if (m_windowManager.state() == QProcess::NotRunning && restarts++ < 5) {
                m_windowManager.start("openbox", {});
                m_windowManager.waitForStarted();
            }
            QProcess property;
            property.setProcessEnvironment(Environment());
            property.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
            return property.waitForFinished(10000) && property.readAll().contains("window id");
        },
        60000);
}

void VirtualDisplay::KillServer() {
    m_server.kill();
    m_server.waitForFinished();
}

QProcessEnvironment VirtualDisplay::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_name);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("WAYLAND_DISPLAY");
    return environment;
}

std::optional<QByteArray> VirtualDisplay::Send(const QStringList& commands) const {
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start("xdotool", commands);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return tool.readAllStandardOutput();
}

std::optional<VirtualDisplay::Cursor> VirtualDisplay::ShownCursor() const {
    Display* display = XOpenDisplay(m_name.toLatin1().constData());
    if (display == nullptr)
        return std::nullopt;
    std::optional<Cursor> cursor;
    int eventBase = 0;
    int errorBase = 0;
    if (XFixesQueryExtension(display, &eventBase, &errorBase)) {
        if (XFixesCursorImage* image = XFixesGetCursorImage(display)) {
            // The pixels come as premultiplied ARGB in unsigned longs, one a pixel.
            QImage picture(image->width, image->height, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < image->height; ++y)
                for (int x = 0; x < image->width; ++x)
                    picture.setPixel(x, y, static_cast<QRgb>(image->pixels[y * image->width + x]));
            cursor = Cursor{picture, QPoint(image->xhot, image->yhot), QPoint(image->x, image->y)};
            XFree(image);
        }
    }
    XCloseDisplay(display);
    return cursor;
}

QImage VirtualDisplay::Screenshot() const {
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start("import", {"-window", "root", "png:-"});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    return QImage::fromData(tool.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
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
