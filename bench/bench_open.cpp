// Opening a large scan: a 12000 x 9000 JPEG chart decoded into the document's one 32-bit image.
#include "doc/CTallyscopeDoc.h"

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

QString WriteLargeChart(const QTemporaryDir& dir) {
    QImage chart(12000, 9000, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setPen(QPen(Qt::black, 6));
    painter.drawLine(600, 8400, 11400, 8400);
    painter.drawLine(600, 600, 600, 8400);
    for (int x = 600; x < 11400; x += 40)
        painter.drawPoint(x, 8400 - (x * x) / 16000);
    painter.end();
    const QString path = dir.filePath("scan.jpg");
    chart.save(path, "JPEG", 90);
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

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    return RunQtBenchmarks(argc, argv, [&dir] {
        benchmark::RegisterBenchmark("BM_OpenLargeScan/12000x9000_jpeg", BM_OpenLargeScan,
                                     WriteLargeChart(dir))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    });
}
