// Opening pictures. In process: a 12000 x 9000 JPEG chart decoded into the document's one image.
// As a user meets it: the real program (the launch probe, see launch_probe.cpp) started as a child
// process on a 6000 x 4500 chart in each format, timed from the launch to the picture painted in
// the view; and the whole program's peak memory (counter peak_MiB) with a 12000 x 9000 chart open,
// beside the peak of a bare Qt window showing the same chart (".../qt_floor"). Every launch also
// reports the memory the program settles at once the picture is shown (settled_MiB) and how far its
// peak rose above that on the way (transient_MiB).
//
// To compare with another build of the program in one run, name that build's probe in
// TALLYSCOPE_BASELINE_PROBE: every launch is then also run with it (".../baseline"), on the same
// files; add --benchmark_enable_random_interleaving=true so that the two take turns.
#include "doc/CTallyscopeDoc.h"

#include "../tests/support/GifWriter.h"
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

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
    double seconds = 0;  // from the launch to the report of the first paint
    long peakKiB = 0;    // the program's peak resident memory over its whole run, as it reports it
    long settledKiB = 0; // its resident memory once the picture was painted
};

// Starts the probe on the picture with a profile store of its own and waits for its report.
Launch LaunchProbe(const std::string& probe, const QString& picture, const QString& configDir) {
    const std::string file = picture.toStdString();
    const std::string config = "XDG_CONFIG_HOME=" + configDir.toStdString();
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string(*variable).rfind("XDG_CONFIG_HOME=", 0) != 0)
            environment.push_back(*variable);
    }
    environment.push_back(const_cast<char*>(config.c_str()));
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
    waitpid(child, &status, 0);
    return launch;
}

void BM_LaunchToPainted(benchmark::State& state, const std::string& probe, const QString& picture) {
    QTemporaryDir config;
    Launch last;
    for (auto _ : state) {
        last = LaunchProbe(probe, picture, config.path());
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
}

void RegisterProbe(const std::string& name, const std::string& probe, const QString& picture, int repetitions) {
    benchmark::RegisterBenchmark(name.c_str(), BM_LaunchToPainted, probe, picture)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(repetitions);
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

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    return RunQtBenchmarks(argc, argv, [&dir] {
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
            RegisterProbe("BM_LaunchToPainted/12000x9000_jpeg/qt_floor", ProbeBesideUs("tallyscope_qt_floor_probe"),
                          scan, 3);
    });
}
