// The cost of interaction as a user meets it: the real program (the interaction probe, see
// interaction_probe.cpp) on a display of its own (Xvfb with openbox), a 2000 x 1500 chart at zoom 4
// with a finished series of 500 points (and of 100,000), driven through XTEST by xdotool: pointer
// moves 15 ms apart, Shift-clicks that pick points, and wheel notches that scroll. Each event is
// charged the CPU the program's process spent on it, every thread counted (/proc/PID/task/*/schedstat,
// nanoseconds), less what the process spends idle in the same time. The time column is the CPU per
// move; the counters give each kind of event in milliseconds, and ..._main the share of the main
// thread, which is what the in-process benchmarks (bench_mouse_move, bench_magnifier) time.
//
// To compare with another build of the program in one run, name that build's probe in
// TALLYSCOPE_BASELINE_INTERACTION_PROBE: every session is then also run with it (".../baseline"),
// and the two take turns (random interleaving is on unless the command line says otherwise).
#include "QtBenchmarkMain.h"

#include "../tests/support/VirtualDisplay.h"

#include "doc/DocumentJournal.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kMoves = 200;
constexpr int kWarmUpMoves = 20;
constexpr int kClicks = 40;
constexpr int kNotches = 40;

// A chart to pick on: paper, a grid, axes and a curve, so the magnifier's read-outs change.
QString WriteChart(const QTemporaryDir& dir) {
    QImage chart(2000, 1500, QImage::Format_RGB32);
    chart.fill(qRgb(246, 244, 240));
    QPainter painter(&chart);
    painter.setPen(QColor(150, 150, 150));
    for (int x = 100; x < 1900; x += 60)
        painter.drawLine(x, 100, x, 1400);
    for (int y = 100; y < 1400; y += 45)
        painter.drawLine(100, y, 1900, y);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(100, 1400, 1900, 1400);
    painter.drawLine(100, 100, 100, 1400);
    painter.setPen(QPen(Qt::red, 2));
    for (int x = 100; x < 1900; x += 2) {
        const double t = (x - 100) / 1800.0;
        painter.drawPoint(x, 1400 - static_cast<int>(t * t * 1300));
    }
    painter.end();
    const QString path = dir.filePath("chart.bmp");
    return chart.save(path) ? path : QString();
}

VirtualDisplay* g_display = nullptr;

// Nanoseconds on a CPU: the process's threads together, and its main thread alone.
struct Cpu {
    double all = 0;
    double main = 0;
};

double ScheduledNanoseconds(const QString& schedstat) {
    QFile file(schedstat);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().split(' ').value(0).toDouble();
}

Cpu ReadCpu(qint64 pid) {
    Cpu cpu;
    const QString tasks = QString("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const double used = ScheduledNanoseconds(tasks + "/" + task + "/schedstat");
        cpu.all += used;
        if (task.toLongLong() == pid)
            cpu.main += used;
    }
    return cpu;
}

// How the program hands its windows' pixels to the X server: as it chooses itself, or forced to
// shared memory or to the connection. (A build from before the program chose uses shared memory
// unless told otherwise.)
enum class BackingStore { ProgramsChoice, SharedMemory, Connection };

// One started program with the picture view at (x, y), width x height on the screen.
class Session {
public:
    Session(const std::string& probe, const QString& chart, int points, BackingStore backingStore) {
        m_config.setAutoRemove(true);
        QProcessEnvironment environment = g_display->Environment();
        // Its own settings and its own recovery folder: a session killed at the end leaves a journal,
        // and the next session would otherwise open behind the question whether to restore it.
        environment.insert("XDG_CONFIG_HOME", m_config.path());
        environment.insert("XDG_STATE_HOME", m_config.path());
        environment.insert("TALLYSCOPE_PROBE_POINTS", QString::number(points));
        if (backingStore == BackingStore::Connection)
            environment.insert("QT_XCB_NO_MITSHM", "1");
        if (backingStore == BackingStore::SharedMemory)
            environment.insert("TALLYSCOPE_X11_SHARED_MEMORY", "1");
        m_program.setProcessEnvironment(environment);
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.start(QString::fromStdString(probe), {chart});
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000 && m_program.waitForReadyRead(60000)) {
            const QList<QByteArray> words = m_program.readLine().trimmed().split(' ');
            if (words.size() == 5 && words[0] == "ready") {
                x = words[1].toInt();
                y = words[2].toInt();
                width = words[3].toInt();
                height = words[4].toInt();
                m_bReady = width > 100 && height > 100;
                break;
            }
        }
    }
    ~Session() {
        m_program.kill();
        m_program.waitForFinished();
    }
    bool Ready() const { return m_bReady; }

    // Waits until the program has gone quiet, and learns what it spends when it is.
    void Settle() {
        for (int attempt = 0; attempt < 50; ++attempt) {
            const Cpu before = ReadCpu(m_program.processId());
            QThread::msleep(200);
            const double used = ReadCpu(m_program.processId()).all - before.all;
            m_idlePerMs = used / 200.0;
            if (used < 1e6) // under 1 ms in 200 ms
                return;
        }
    }

    // What the program spent on what the commands sent, per event, in milliseconds.
    std::optional<Cpu> Measure(const QStringList& commands, int events) {
        const qint64 pid = m_program.processId();
        const Cpu before = ReadCpu(pid);
        QElapsedTimer wall;
        wall.start();
        if (!g_display->Send(commands))
            return std::nullopt;
        QThread::msleep(150); // the last event's repaints
        const Cpu after = ReadCpu(pid);
        const double idle = m_idlePerMs * static_cast<double>(wall.elapsed());
        return Cpu{(after.all - before.all - idle) / events / 1e6, (after.main - before.main) / events / 1e6};
    }

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

private:
    QTemporaryDir m_config;
    QProcess m_program;
    bool m_bReady = false;
    double m_idlePerMs = 0;
};

// Pointer moves across the view, each far enough to land on another picture pixel at zoom 4.
QStringList Moves(const Session& session, int count, int first) {
    QStringList commands;
    for (int i = first; i < first + count; ++i) {
        const int px = session.x + 20 + (i * 7) % (session.width - 40);
        const int py = session.y + 20 + (i * 5) % (session.height - 40);
        commands << "mousemove" << QString::number(px) << QString::number(py) << "sleep"
                 << "0.015";
    }
    return commands;
}

QStringList Repeated(const QStringList& command, int count, const char* pause) {
    QStringList commands;
    for (int i = 0; i < count; ++i)
        commands << command << "sleep" << pause;
    return commands;
}

void BM_Interaction(benchmark::State& state, const std::string& probe, const QString& chart, int points,
                    BackingStore backingStore) {
    for (auto _ : state) {
        Session session(probe, chart, points, backingStore);
        if (!session.Ready()) {
            state.SkipWithError("the program did not get ready");
            return;
        }
        g_display->Send(Moves(session, kWarmUpMoves, kMoves));
        session.Settle();
        const auto move = session.Measure(Moves(session, kMoves, 0), kMoves);
        // Shift held over the picture's middle: every click picks a point.
        const QString middleX = QString::number(session.x + session.width / 2);
        const QString middleY = QString::number(session.y + session.height / 2);
        g_display->Send({"mousemove", middleX, middleY, "keydown", "shift"});
        // The first change of a picture's work has the journal stamp the picture file, once per
        // picture, on the journal's thread: a cost of the open, not of every click.
        g_display->Send({"click", "1"});
        QThread::msleep(DocumentJournal::kDelayMs + 200); // until the journal has written
        session.Settle();
        const auto click = session.Measure(Repeated({"click", "1"}, kClicks, "0.05"), kClicks);
        g_display->Send({"keyup", "shift"});
        session.Settle();
        // Half the notches down the picture, half back up.
        const auto scroll = session.Measure(Repeated({"click", "5"}, kNotches / 2, "0.04") +
                                                Repeated({"click", "4"}, kNotches / 2, "0.04"),
                                            kNotches);
        if (!move || !click || !scroll) {
            state.SkipWithError("xdotool failed");
            return;
        }
        state.SetIterationTime(move->all / 1e3);
        state.counters["move_ms"] = move->all;
        state.counters["move_main_ms"] = move->main;
        state.counters["click_ms"] = click->all;
        state.counters["click_main_ms"] = click->main;
        state.counters["scroll_ms"] = scroll->all;
        state.counters["scroll_main_ms"] = scroll->main;
    }
}

void Register(const std::string& name, const std::string& probe, const QString& chart, int points,
              BackingStore backingStore, int repetitions) {
    benchmark::RegisterBenchmark(name.c_str(), BM_Interaction, probe, chart, points, backingStore)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(1)
        ->Repetitions(repetitions);
}

void RegisterBoth(const std::string& name, const QString& chart, int points, BackingStore backingStore,
                  int repetitions) {
    const std::string probe =
        (QCoreApplication::applicationDirPath() + "/tallyscope_interaction_probe").toStdString();
    Register(name, probe, chart, points, backingStore, repetitions);
    const std::string baseline = qEnvironmentVariable("TALLYSCOPE_BASELINE_INTERACTION_PROBE").toStdString();
    if (!baseline.empty())
        Register(name + "/baseline", baseline, chart, points, backingStore, repetitions);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    std::unique_ptr<VirtualDisplay> display;
    return RunQtBenchmarksTakingTurns(argc, argv, [&] {
        display = std::make_unique<VirtualDisplay>();
        if (!VirtualDisplay::IsAvailable() || !display->Start()) {
            std::fputs("bench_interaction: no Xvfb or xdotool, nothing measured\n", stderr);
            return;
        }
        g_display = display.get();
        const QString chart = WriteChart(dir);
        RegisterBoth("BM_Interaction/x4/finished_points:500", chart, 500, BackingStore::ProgramsChoice, 5);
        RegisterBoth("BM_Interaction/x4/finished_points:100000", chart, 100'000, BackingStore::ProgramsChoice,
                     3);
        RegisterBoth("BM_Interaction/x4/finished_points:500/shared_memory", chart, 500,
                     BackingStore::SharedMemory, 3);
        RegisterBoth("BM_Interaction/x4/finished_points:500/no_shared_memory", chart, 500,
                     BackingStore::Connection, 3);
    });
}
