// One magnifier update, as every mouse move over the picture asks for: stretch the square, paint
// the white bands, both profiles over all three channels, the read-out and the cross.
#include "doc/CTallyscopeDoc.h"
#include "zoom/CZoomView.h"

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QWidget>

namespace {

void BM_MagnifierUpdate(benchmark::State& state) {
    const QString path = QDir::tempPath() + "/tallyscope-bench-magnifier.bmp";
    QImage chart(2000, 1500, QImage::Format_RGB32);
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x)
            chart.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x + y) & 0xFF));
    chart.save(path);

    CTallyscopeDoc doc;
    if (!doc.OnOpenDocument(path.toUtf8().constData())) {
        state.SkipWithError("the picture did not open");
        return;
    }
    CZoomView view;
    doc.AddView(&view);
    view.Create(nullptr, 0);
    view.GetSafeHwnd()->show();
    view.OnInitialUpdate();
    view.m_bRowRed = view.m_bRowGreen = view.m_bRowBlue = TRUE;
    view.m_bColRed = view.m_bColGreen = view.m_bColBlue = TRUE;
    view.UpdateData(FALSE);

    int x = 0;
    for (auto _ : state) {
        view.UpdateZoom(10 + x, 700, FALSE); // near the left edge now and then: white bands too
        x = (x + 7) % 1900;
    }
    doc.RemoveView(&view);
    delete view.GetSafeHwnd();
    QFile::remove(path);
}
BENCHMARK(BM_MagnifierUpdate)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
