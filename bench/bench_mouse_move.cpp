// One mouse move over the picture, as the running program handles it: the real application with
// its main window (600 x 500), status bar and zoom window, zoom 4, a mouse-move event delivered to
// the picture view, and then the event loop until every repaint the move asked for has been done
// (status panes, the magnifier's square and read-outs). Run with a last finished series of 500
// points and of 100,000 points: the per-move cost must not follow the series' length.
#include "app/CMainFrame.h"
#include "app/CTallyscopeApp.h"
#include "doc/CTallyscopeDoc.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

#include "BenchDocument.h"
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

namespace {

constexpr int kZoom = 4;

// A chart-like picture with some structure, so the magnifier's read-outs change as the mouse moves.
QString WriteChart(const QTemporaryDir& dir) {
    QImage chart(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < chart.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(chart.scanLine(y));
        for (int x = 0; x < chart.width(); ++x)
            line[x] = qRgb((x * 3) & 0xFF, (y * 5) & 0xFF, (x ^ y) & 0xFF);
    }
    const QString path = dir.filePath("chart.bmp");
    chart.save(path);
    return path;
}

// One move and everything it leads to. Kept out of line, so a profiler can collect this alone
// (valgrind --tool=callgrind --toggle-collect='*MoveMouseOnce*').
[[gnu::noinline]] void MoveMouseOnce(QWidget* target, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QCoreApplication::processEvents();
}

void BM_MouseMove(benchmark::State& state, const QString& chart) {
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    theApp.SetCommandLine({CString(chart.toUtf8().constData())});
    if (!theApp.InitInstance()) {
        state.SkipWithError("the program did not start on the chart");
        return;
    }
    auto* frame = static_cast<CMainFrame*>(theApp.m_pMainWnd);
    auto* doc = static_cast<CTallyscopeDoc*>(frame->GetActiveDocument());
    auto* view = static_cast<CTallyscopeView*>(frame->GetActiveView());
    FillDocument(*doc, static_cast<int>(state.range(0)));
    frame->ExecuteCommand(ID_ZOOM_X4);
    view->ScrollToPosition(CPoint(kZoom * 300, kZoom * 200));
    QCoreApplication::processEvents();

    QWidget* picture = view->GetInputWidget();
    const int width = picture->width();
    int step = 0;
    for (auto _ : state) {
        // Left to right across the view, one window pixel a move, as a hand moves the mouse.
        MoveMouseOnce(picture, QPoint(20 + step % (width - 40), 100 + (step / (width - 40)) % 200));
        ++step;
    }
    theApp.ExitInstance();
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    return RunQtBenchmarks(argc, argv, [&dir] {
        const QString chart = WriteChart(dir);
        benchmark::RegisterBenchmark("BM_MouseMove", BM_MouseMove, chart)
            ->ArgName("finished_points")
            ->Arg(500)
            ->Arg(100'000)
            ->Unit(benchmark::kMicrosecond);
    });
}
