// A batch on the command line: 200 charts of 2000 x 1500 of one layout, read and traced in
// parallel, against one chart alone through the same run. The goal: the batch takes at most
// 1.2 x (200 / cores) x the time of one. Both run in this process through the command line's own
// code (CommandLineRun), the pictures written once as PNG files beforehand.
//
//   bench_batch --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// The line "goal" gives the bound worked out from the median of one picture, with the cores seen.
//
// BM_Command* time the same two runs as a user times them: the program started on the command
// line, once with one picture and once with the 200, the run's start and end included.

#include "QtBenchmarkMain.h"

#include "cli/CommandLineRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <sstream>

namespace {

constexpr int kWidth = 2000;
constexpr int kHeight = 1500;
constexpr int kBatchSize = 200;
// Distinct charts drawn; the batch names each many times through links of other names, so that
// every picture is read from its own path as a real batch's would be.
constexpr int kVariants = 8;

QImage Chart(int variant) {
    QImage chart(kWidth, kHeight, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(100, 1400, 1900, 1400);
    painter.drawLine(100, 1400, 100, 100);
    QPolygonF red;
    QPolygonF blue;
    for (int x = 120; x <= 1880; x += 6) {
        red << QPointF(x, 750 + 400 * std::sin(x / 200.0 + variant));
        blue << QPointF(x, 1300 - (x - 120) * 0.5 - 20 * variant);
    }
    painter.setPen(QPen(QColor(0xd0, 0x20, 0x20), 3));
    painter.drawPolyline(red);
    painter.setPen(QPen(QColor(0x20, 0x50, 0xc8), 3));
    painter.drawPolyline(blue);
    return chart;
}

class Charts {
public:
    Charts() {
        for (int v = 0; v < kVariants; ++v)
            Chart(v).save(m_folder.filePath(QStringLiteral("variant%1.png").arg(v)));
        for (int i = 0; i < kBatchSize; ++i) {
            const QString name = m_folder.filePath(QStringLiteral("chart%1.png").arg(i, 3, 10, QLatin1Char('0')));
            QFile::link(m_folder.filePath(QStringLiteral("variant%1.png").arg(i % kVariants)), name);
            m_paths.push_back(name.toStdString());
        }
    }
    // The command a user types for the run Request(count) makes.
    QStringList Arguments(int count) const {
        QStringList arguments{"--origin", "100,1400=0,0", "--x-axis", "1900,1400=100", "--y-axis", "100,100=50",
                              "--trace-colour", "d02020", "--trace-colour", "2050c8", "--export",
                              m_folder.filePath(count == 1 ? "one.dat" : "out")};
        for (int i = 0; i < count; ++i)
            arguments << QString::fromStdString(m_paths[size_t(i)]);
        return arguments;
    }
    CommandLineRequest Request(int count) const {
        CommandLineRequest request;
        request.origin = ReferenceOption{QPoint(100, 1400), 0.0, 0.0};
        request.xAxis = ReferenceOption{QPoint(1900, 1400), 100.0, 0.0};
        request.yAxis = ReferenceOption{QPoint(100, 100), 0.0, 50.0};
        request.traces = {{TraceOption::Start::Colour, {}, 0xd02020, "--trace-colour d02020"},
                          {TraceOption::Start::Colour, {}, 0x2050c8, "--trace-colour 2050c8"}};
        request.exportPath = m_folder.filePath(count == 1 ? "one.dat" : "out").toStdString();
        request.pictures.assign(m_paths.begin(), m_paths.begin() + count);
        return request;
    }

private:
    QTemporaryDir m_directory;
    QDir m_folder{m_directory.path()};
    std::vector<std::string> m_paths;
};

const Charts& TheCharts() {
    static const Charts charts;
    return charts;
}

void RunBatch(benchmark::State& state, int count) {
    const CommandLineRequest request = TheCharts().Request(count);
    for (auto _ : state) {
        std::ostringstream errors;
        if (CommandLineRun(request, errors).Execute() != CommandLineRun::kSucceeded) {
            state.SkipWithError(errors.str().c_str());
            return;
        }
    }
    state.counters["pictures"] = count;
    state.counters["cores"] = QThread::idealThreadCount();
    // The goal for the batch, in the time of one picture: 1.2 x (pictures / cores).
    state.counters["goal_in_singles"] = 1.2 * count / QThread::idealThreadCount();
}

void BM_OnePicture(benchmark::State& state) {
    RunBatch(state, 1);
}
void BM_BatchOf200(benchmark::State& state) {
    RunBatch(state, kBatchSize);
}

void RunCommand(benchmark::State& state, int count) {
    const QStringList arguments = TheCharts().Arguments(count);
    for (auto _ : state) {
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        program.start(QStringLiteral(TALLYSCOPE_PROGRAM), arguments);
        if (!program.waitForFinished(-1) || program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
            state.SkipWithError(program.readAllStandardError().constData());
            return;
        }
    }
    state.counters["pictures"] = count;
    state.counters["goal_in_singles"] = 1.2 * count / QThread::idealThreadCount();
}

void BM_CommandOnePicture(benchmark::State& state) {
    RunCommand(state, 1);
}
void BM_CommandBatchOf200(benchmark::State& state) {
    RunCommand(state, kBatchSize);
}

} // namespace

BENCHMARK(BM_CommandOnePicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CommandBatchOf200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_OnePicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchOf200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
