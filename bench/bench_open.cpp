// Opening pictures. In process: a 12000 x 9000 JPEG chart decoded into the document's one image.
// As a user meets it: the real program (the launch probe, see launch_probe.cpp) started as a child
// process on a 6000 x 4500 chart in each format, timed from the launch to the picture painted in
// the view; and the whole program's peak memory (counter peak_MiB) with a 12000 x 9000 chart open,
// beside the peak of a bare Qt window showing the same chart (".../qt_floor"). Every launch also
// reports the memory the program settles at once the picture is shown (settled_MiB) and how far its
// peak rose above that on the way (transient_MiB).
//
// On screen, as a user meets an open: the same probe on a display of its own (Xvfb with openbox,
// VirtualDisplay.h), timed from the launch until the X server holds the painted picture, for a
// 12000 x 9000 JPEG, 6000 x 4500 BMP and GIF and a 2000 x 1500 BMP, each with the program's way of
// handing window pixels to the server (".../connection") and with shared memory
// (".../shared_memory"). The rows give min and max beside mean, median and spread.
//
// To compare with another build of the program in one run, name that build's probe in
// TALLYSCOPE_BASELINE_PROBE: every launch is then also run with it (".../baseline"), on the same
// files. Launches take turns in random order unless the command line says otherwise.
#include "ScreenWatch.h"
#include "../tests/support/VirtualDisplay.h"

#include "doc/CTallyscopeDoc.h"

#include "../tests/support/GifWriter.h"
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// A chart as a scanner gives it: paper with a little grain, grid lines, axes and a curve.
QImage MakeChart(int width, int height) {
    QImage chart(width, height, QImage::Format_RGB32);
    QRandomGenerator grain(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(chart.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int level = 240 + static_cast<int>(grain.bounded(8)) * 2;
            line[x] = qRgb(level, level, level - 4);
        }
    }
    QPainter painter(&chart);
    const int margin = width / 20;
    painter.setPen(QPen(QColor(150, 150, 150), std::max(1, width / 4000)));
    for (int x = margin; x < width - margin; x += width / 30)
        painter.drawLine(x, margin, x, height - margin);
    for (int y = margin; y < height - margin; y += height / 30)
        painter.drawLine(margin, y, width - margin, y);
    painter.setPen(QPen(Qt::black, std::max(2, width / 1500)));
    painter.drawLine(margin, height - margin, width - margin, height - margin);
    painter.drawLine(margin, margin, margin, height - margin);
    // What ScreenWatch looks for to tell that the picture is on screen, in whatever program.
    painter.fillRect(ScreenWatch::kMarkerOffset, ScreenWatch::kMarkerOffset, ScreenWatch::kMarkerSide,
                     ScreenWatch::kMarkerSide, QColor(255, 0, 255));
    painter.setPen(QPen(Qt::red, std::max(2, width / 1200)));
    for (int x = margin; x < width - margin; x += 3) {
        const double t = static_cast<double>(x - margin) / (width - 2 * margin);
        painter.drawPoint(x, height - margin - static_cast<int>(t * t * (height - 2 * margin)));
    }
    return chart;
}

QString WriteChart(const QTemporaryDir& dir, int width, int height, const char* format) {
    const QImage chart = MakeChart(width, height);
    const QString path = dir.filePath(QStringLiteral("chart%1x%2.%3").arg(width).arg(height).arg(format));
    if (QByteArray(format) == "gif") {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(WriteGif(chart).bytes) < 0)
            return QString();
    } else if (!chart.save(path, format, 90)) {
        return QString();
    }
    return path;
}

void BM_OpenLargeScan(benchmark::State& state, const QString& path) {
    const QByteArray name = path.toUtf8();
    for (auto _ : state) {
        CTallyscopeDoc doc;
        if (!doc.OnOpenDocument(name.constData()))
            state.SkipWithError("the scan did not open");
        benchmark::DoNotOptimize(doc.GetBitmapHandle());
    }
}

struct Launch {
    bool painted = false;
    double seconds = 0;    // from the launch to the report of the first paint
    long peakKiB = 0;      // the program's peak resident memory over its whole run, as it reports it
    long settledKiB = 0;   // its resident memory once the picture was painted
    double cpuSeconds = 0; // the CPU the program spent over its whole run, its threads together
};

// Starts the probe on the picture in the environment given, with settings and a recovery folder of
// its own (the user's are left alone, and no journal of one launch is offered to the next), and
// waits for its report.
Launch LaunchProbe(const std::string& probe, const QString& picture, const QString& configDir,
                   QProcessEnvironment settings) {
    const std::string file = picture.toStdString();
    settings.insert("XDG_CONFIG_HOME", configDir);
    settings.insert("XDG_STATE_HOME", configDir);
    std::vector<std::string> variables;
    for (const QString& variable : settings.toStringList())
        variables.push_back(variable.toStdString());
    std::vector<char*> environment;
    for (std::string& variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);
    char* arguments[] = {const_cast<char*>(probe.c_str()), const_cast<char*>(file.c_str()), nullptr};

    Launch launch;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return launch;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, probe.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return launch;
    }
    FILE* report = fdopen(pipeEnds[0], "r");
    char line[64] = {};
    if (std::fgets(line, sizeof line, report) != nullptr && std::string(line) == "painted\n") {
        launch.painted = true;
        launch.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    while (std::fgets(line, sizeof line, report) != nullptr) {
        std::sscanf(line, "peak_kib %ld", &launch.peakKiB);
        std::sscanf(line, "settled_kib %ld", &launch.settledKiB);
    }
    std::fclose(report);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    launch.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return launch;
}

// On a busy machine the time to the picture mostly tells how long the launch waited for a CPU; the
// counters cpu_ms (the program's CPU) and, on the virtual display, server_cpu_ms (the X server's
// CPU over the same launch) tell the work itself, whatever the load.
void BM_LaunchToPainted(benchmark::State& state, const std::string& probe, const QString& picture,
                        const QProcessEnvironment& settings, const VirtualDisplay* display) {
    QTemporaryDir config;
    Launch last;
    double serverCpu = 0;
    for (auto _ : state) {
        const double serverBefore = display != nullptr ? display->ServerCpuMilliseconds() : 0;
        last = LaunchProbe(probe, picture, config.path(), settings);
        serverCpu = display != nullptr ? display->ServerCpuMilliseconds() - serverBefore : 0;
        if (!last.painted) {
            state.SkipWithError("the program did not paint the picture");
            return;
        }
        state.SetIterationTime(last.seconds);
    }
    state.counters["peak_MiB"] = static_cast<double>(last.peakKiB) / 1024.0;
    // What the program held only on the way to the picture: its peak above what it settles at.
    state.counters["settled_MiB"] = static_cast<double>(last.settledKiB) / 1024.0;
    state.counters["transient_MiB"] = static_cast<double>(last.peakKiB - last.settledKiB) / 1024.0;
    state.counters["cpu_ms"] = last.cpuSeconds * 1000.0;
    if (display != nullptr)
        state.counters["server_cpu_ms"] = serverCpu;
}

double Smallest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}
double Largest(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

// A launch a repetition, timed by the launch itself, reported with its spread.
void TimeLaunches(benchmark::internal::Benchmark* launches, int repetitions) {
    launches->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ComputeStatistics("min", Smallest)
        ->ComputeStatistics("max", Largest);
}

void RegisterProbe(const std::string& name, const std::string& probe, const QString& picture, int repetitions,
                   const QProcessEnvironment& settings = QProcessEnvironment::systemEnvironment(),
                   const VirtualDisplay* display = nullptr) {
    TimeLaunches(benchmark::RegisterBenchmark(name.c_str(), BM_LaunchToPainted, probe, picture, settings, display),
                 repetitions);
}

std::string ProbeBesideUs(const char* name) {
    return (QCoreApplication::applicationDirPath() + "/" + name).toStdString();
}

void RegisterLaunch(const std::string& name, const QString& picture, int repetitions) {
    if (picture.isEmpty())
        return;
    RegisterProbe(name, ProbeBesideUs("tallyscope_launch_probe"), picture, repetitions);
    const std::string baseline = qEnvironmentVariable("TALLYSCOPE_BASELINE_PROBE").toStdString();
    if (!baseline.empty())
        RegisterProbe(name + "/baseline", baseline, picture, repetitions);
}

// Launches on the virtual display, with each way of handing window pixels to the X server.
void RegisterOnScreen(const VirtualDisplay& display, const std::string& name, const QString& picture,
                      int repetitions) {
    if (picture.isEmpty())
        return;
    const std::string probe = ProbeBesideUs("tallyscope_launch_probe");
    const std::string baseline = qEnvironmentVariable("TALLYSCOPE_BASELINE_PROBE").toStdString();
    for (const bool sharedMemory : {false, true}) {
        QProcessEnvironment settings = display.Environment();
        settings.remove("QT_XCB_NO_MITSHM");
        settings.remove("TALLYSCOPE_X11_SHARED_MEMORY");
        if (sharedMemory)
            settings.insert("TALLYSCOPE_X11_SHARED_MEMORY", "1");
        const std::string row = name + (sharedMemory ? "/shared_memory" : "/connection");
        RegisterProbe(row, probe, picture, repetitions, settings, &display);
        if (!baseline.empty())
            RegisterProbe(row + "/baseline", baseline, picture, repetitions, settings, &display);
    }
}

// A launch of a whole program on the virtual display, watched from outside (ScreenWatch): from the
// launch to its first window mapped and to the picture on screen. The program is then asked to end
// and the screen is let clear before the next launch.
struct SeenLaunch {
    ScreenWatch::Sighting sighting;
    double cpuSeconds = 0;
};

SeenLaunch LaunchWatched(const QString& program, const QString& picture, const QProcessEnvironment& settings,
                         ScreenWatch& watch) {
    SeenLaunch launch;
    QProcess process;
    process.setProcessEnvironment(settings);
    process.setProgram(program);
    process.setArguments({picture});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const auto launched = ScreenWatch::Clock::now();
    process.start();
    if (process.waitForStarted())
        launch.sighting = watch.Watch(launched, 60);
    // The CPU the program spent until the picture showed, its threads together.
    QFile stat(QString("/proc/%1/stat").arg(process.processId()));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            launch.cpuSeconds = (fields[11].toDouble() + fields[12].toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    watch.Clear(10);
    return launch;
}

void BM_OpenSeen(benchmark::State& state, const QString& program, const QString& picture,
                 const VirtualDisplay* display, ScreenWatch* watch) {
    QTemporaryDir home;
    QProcessEnvironment settings = display->Environment();
    // Settings and recovery folders of the launch's own; the peer gets a home of its own too.
    settings.insert("XDG_CONFIG_HOME", home.filePath("config"));
    settings.insert("XDG_STATE_HOME", home.filePath("state"));
    settings.insert("HOME", home.path());
    // The bare Qt window, when it is the baseline, stays on screen to be seen like the others.
    settings.insert("TALLYSCOPE_FLOOR_PROBE_STAYS", "1");
    SeenLaunch last;
    double serverCpu = 0;
    for (auto _ : state) {
        const double serverBefore = display->ServerCpuMilliseconds();
        last = LaunchWatched(program, picture, settings, *watch);
        serverCpu = display->ServerCpuMilliseconds() - serverBefore;
        if (last.sighting.markerSeconds < 0) {
            state.SkipWithError("the picture never showed");
            return;
        }
        state.SetIterationTime(last.sighting.markerSeconds);
    }
    state.counters["first_window_ms"] = last.sighting.firstWindowSeconds * 1000.0;
    state.counters["cpu_ms"] = last.cpuSeconds * 1000.0;
    state.counters["server_cpu_ms"] = serverCpu;
}

// This program's opens beside a peer's (TALLYSCOPE_PEER_PROGRAM, a digitiser taking the picture as
// its one argument, e.g. g3data) and beside another build of this program or the bare Qt window of
// qt_floor_probe.cpp (TALLYSCOPE_BASELINE_PROGRAM), all watched the same way.
void RegisterSeen(const VirtualDisplay& display, ScreenWatch& watch, const std::string& name, const QString& picture,
                  int repetitions) {
    if (picture.isEmpty())
        return;
    std::vector<std::pair<std::string, QString>> programs = {{"tallyscope", QStringLiteral(TALLYSCOPE_PROGRAM)}};
    for (const char* variable : {"TALLYSCOPE_PEER_PROGRAM", "TALLYSCOPE_BASELINE_PROGRAM"}) {
        const QString program = qEnvironmentVariable(variable);
        if (!program.isEmpty())
            programs.emplace_back(QFileInfo(program).fileName().toStdString() +
                                      (std::string(variable) == "TALLYSCOPE_BASELINE_PROGRAM" ? "_baseline" : ""),
                                  program);
    }
    for (const auto& [label, program] : programs)
        TimeLaunches(
            benchmark::RegisterBenchmark((name + "/" + label).c_str(), BM_OpenSeen, program, picture, &display, &watch),
            repetitions);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    std::unique_ptr<VirtualDisplay> display;
    std::unique_ptr<ScreenWatch> watch;
    return RunQtBenchmarksTakingTurns(argc, argv, [&dir, &display, &watch] {
        const QString scan = WriteChart(dir, 12000, 9000, "jpg");
        benchmark::RegisterBenchmark("BM_OpenLargeScan/12000x9000_jpeg", BM_OpenLargeScan, scan)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        RegisterLaunch("BM_LaunchToPainted/6000x4500_jpeg", WriteChart(dir, 6000, 4500, "jpg"), 7);
        RegisterLaunch("BM_LaunchToPainted/6000x4500_bmp", WriteChart(dir, 6000, 4500, "bmp"), 7);
        RegisterLaunch("BM_LaunchToPainted/6000x4500_gif", WriteChart(dir, 6000, 4500, "gif"), 7);
        // The memory goal is the counter peak_MiB; the time is only for completeness.
        RegisterLaunch("BM_LaunchToPainted/12000x9000_jpeg", scan, 3);
        // Beside it, the floor: a bare Qt Widgets window showing the same picture (qt_floor_probe.cpp).
        if (!scan.isEmpty())
            RegisterProbe("BM_LaunchToPainted/12000x9000_jpeg/qt_floor",
                          ProbeBesideUs("tallyscope_qt_floor_probe"), scan, 3);

        display = std::make_unique<VirtualDisplay>();
        if (!VirtualDisplay::IsAvailable() || !display->Start()) {
            std::fputs("bench_open: no Xvfb or openbox, opens on screen not measured\n", stderr);
            return;
        }
        RegisterOnScreen(*display, "BM_OpenOnScreen/12000x9000_jpeg", scan, 9);
        RegisterOnScreen(*display, "BM_OpenOnScreen/6000x4500_bmp", WriteChart(dir, 6000, 4500, "bmp"), 9);
        RegisterOnScreen(*display, "BM_OpenOnScreen/6000x4500_gif", WriteChart(dir, 6000, 4500, "gif"), 9);
        RegisterOnScreen(*display, "BM_OpenOnScreen/2000x1500_bmp", WriteChart(dir, 2000, 1500, "bmp"), 9);

        watch = std::make_unique<ScreenWatch>(display->Environment().value("DISPLAY"));
        if (!watch->IsOpen()) {
            std::fputs("bench_open: the display cannot be watched, opens as seen not measured\n", stderr);
            return;
        }
        RegisterSeen(*display, *watch, "BM_OpenSeen/12000x9000_jpeg", scan, 9);
        RegisterSeen(*display, *watch, "BM_OpenSeen/6000x4500_bmp", WriteChart(dir, 6000, 4500, "bmp"), 9);
        RegisterSeen(*display, *watch, "BM_OpenSeen/6000x4500_gif", WriteChart(dir, 6000, 4500, "gif"), 9);
        RegisterSeen(*display, *watch, "BM_OpenSeen/2000x1500_bmp", WriteChart(dir, 2000, 1500, "bmp"), 9);
    });
}
