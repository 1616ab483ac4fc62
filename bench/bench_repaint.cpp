// One repaint of the picture view: a 1920 x 1080 viewport at zoom 4, scrolled to the middle of the
// picture, with 10 finished series of 1,000 points each and area measurement on, so that every
// series is also a hatched polygon. Run over a 12000 x 9000 scan and over a 2000 x 1500 one: the
// cost must follow the visible area, not the picture's size.
#include "doc/CTallyscopeDoc.h"
#include "view/CTallyscopeView.h"

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include <cmath>
#include <memory>

namespace {

constexpr int kViewportWidth = 1920;
constexpr int kViewportHeight = 1080;
constexpr int kZoom = 4;
constexpr int kSeries = 10;
constexpr int kPointsPerSeries = 1000;

// A picture with some structure, so that the copy is not of one repeated value; in 24-bit rows, as
// the loader holds pictures.
std::unique_ptr<QImage> MakeScan(int width, int height) {
    auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* line = image->scanLine(y);
        for (int x = 0; x < width; ++x) {
            *line++ = static_cast<uchar>(x & 0xFF);
            *line++ = static_cast<uchar>(y & 0xFF);
            *line++ = static_cast<uchar>((x ^ y) & 0xFF);
        }
    }
    return image;
}

// Curves across the whole picture, one above the other, each closed back to its start.
void AddSeries(CTallyscopeDoc& doc, int width, int height) {
    for (int s = 0; s < kSeries; ++s) {
        const double baseline = height * (s + 1.0) / (kSeries + 1.0);
        for (int j = 0; j < kPointsPerSeries; ++j) {
            const int x = static_cast<int>((j + 0.5) * width / kPointsPerSeries);
            const int y = static_cast<int>(baseline + height / 25.0 * std::sin(j / 15.0));
            doc.m_DataSeries.AddData(x, y);
        }
        doc.m_DataSeries.NewSeries();
    }
    doc.m_bMeasureArea = TRUE;
}

void BM_RepaintAtZoom4(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    CTallyscopeDoc doc;
    doc.m_pPicture = new CPictureHolder;
    doc.m_pPicture->SetPictureDispatch(new IPicture(MakeScan(width, height)));
    AddSeries(doc, width, height);

    CTallyscopeView view;
    doc.AddView(&view);
    view.Create(nullptr, 0);
    view.GetSafeHwnd()->resize(kViewportWidth + 40, kViewportHeight + 40);
    view.GetSafeHwnd()->show();
    view.m_nZoom = kZoom;
    view.OnInitialUpdate();
    const CPoint middle(kZoom * width / 2 - kViewportWidth / 2, kZoom * height / 2 - kViewportHeight / 2);
    view.ScrollToPosition(middle);
    if (view.GetDeviceScrollPosition() != middle)
        state.SkipWithError("the view did not scroll to the middle of the picture");

    for (auto _ : state) {
        view.RenderBackBuffer(CSize(kViewportWidth, kViewportHeight));
        benchmark::DoNotOptimize(view.GetBackBuffer().constBits());
    }
    delete view.GetSafeHwnd();
}

// One step of the horizontal scroll bar in a view the size of the main window's, at zoom 4 over the
// large scan, through the event loop: the step, the repaint it asks for, and the paint itself.
void BM_ScrollStepAtZoom4(benchmark::State& state) {
    CTallyscopeDoc doc;
    doc.m_pPicture = new CPictureHolder;
    doc.m_pPicture->SetPictureDispatch(new IPicture(MakeScan(12000, 9000)));
    AddSeries(doc, 12000, 9000);

    CTallyscopeView view;
    doc.AddView(&view);
    view.Create(nullptr, 0);
    view.GetSafeHwnd()->resize(600, 420);
    view.GetSafeHwnd()->show();
    view.m_nZoom = kZoom;
    view.OnInitialUpdate();
    view.ScrollToPosition(CPoint(kZoom * 6000, kZoom * 4500));
    QCoreApplication::processEvents();

    QScrollBar* bar = qobject_cast<QAbstractScrollArea*>(view.GetSafeHwnd())->horizontalScrollBar();
    bool forward = true;
    for (auto _ : state) {
        // Back and forth, so the view stays over the same part of the picture.
        bar->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd
                                   : QAbstractSlider::SliderSingleStepSub);
        QCoreApplication::processEvents();
        forward = !forward;
    }
    delete view.GetSafeHwnd();
}

} // namespace

BENCHMARK(BM_RepaintAtZoom4)->Args({12000, 9000})->Args({2000, 1500})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollStepAtZoom4)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
