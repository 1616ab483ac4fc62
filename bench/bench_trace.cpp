// One trace of a full-width curve, from a click on it to the ordered points: on a 2000 x 1500 chart
// (goal 50 ms) and on a 12000 x 9000 scan (goal 0.5 s). The tracer is made afresh each time, as
// the window makes it for each Shift-click. The colour trace, which looks at every pixel of the
// picture for the strokes of its colour, is timed beside it.
#include "extract/CurveTracer.h"

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <map>
#include <numbers>
#include <vector>

namespace {

struct Chart {
    QImage picture;
    QPoint start;
};

const QColor kCurveColour(0x1f, 0x77, 0xb4);

// Grid, axes and two curves, drawn with antialiasing and held in 24-bit rows as the loader holds
// pictures; strokes are as wide as a plotting library's at the picture's scale.
Chart MakeChart(int width, int height) {
    Chart chart{QImage(width, height, QImage::Format_RGB888), {}};
    chart.picture.fill(Qt::white);
    const double scale = width / 2000.0;
    QPainter painter(&chart.picture);
    painter.setPen(QPen(QColor(0xd0, 0xd0, 0xd0), scale));
    for (int x = width / 20; x < width; x += width / 20)
        painter.drawLine(x, 0, x, height);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2 * scale));
    painter.drawRect(QRectF(width * 0.04, height * 0.04, width * 0.92, height * 0.92));
    std::vector<QPointF> curve, other;
    for (int i = 0; i <= 4000; ++i) {
        const double t = i / 4000.0;
        const double x = width * (0.05 + 0.9 * t);
        curve.emplace_back(x, height * (0.5 + 0.35 * std::sin(2 * std::numbers::pi * 1.5 * t) * std::exp(-t)));
        other.emplace_back(x, height * (0.8 - 0.6 * t));
    }
    painter.setPen(QPen(Qt::red, 2 * scale));
    painter.drawPolyline(other.data(), int(other.size()));
    painter.setPen(QPen(kCurveColour, 2 * scale));
    painter.drawPolyline(curve.data(), int(curve.size()));
    chart.start = curve[1200].toPoint();
    return chart;
}

const Chart& ChartOfWidth(int width) {
    static std::map<int, Chart> charts;
    auto found = charts.find(width);
    if (found == charts.end())
        found = charts.emplace(width, MakeChart(width, width * 3 / 4)).first;
    return found->second;
}

void BM_TraceFromClick(benchmark::State& state) {
    const Chart& chart = ChartOfWidth(int(state.range(0)));
    size_t points = 0;
    for (auto _ : state) {
        const TraceResult result = CurveTracer(chart.picture).TraceFrom(chart.start, TraceSettings());
        points = result.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = double(points);
}

void BM_TraceColour(benchmark::State& state) {
    const Chart& chart = ChartOfWidth(int(state.range(0)));
    size_t points = 0;
    for (auto _ : state) {
        const TraceResult result = CurveTracer(chart.picture).TraceColour(kCurveColour.rgb() & 0xFFFFFF, TraceSettings());
        points = result.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = double(points);
}

} // namespace

BENCHMARK(BM_TraceFromClick)->Arg(2000)->Arg(12000)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_TraceColour)->Arg(2000)->Arg(12000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
