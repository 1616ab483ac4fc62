// A page of a paper opened as the picture: an A4 page of two columns of text around a vector
// chart (axes, grid, three curves of 600 points, 150 markers, labels), written with QPdfWriter,
// rendered by the loader at 150, 300 and 600 dpi into the program's 24-bit picture. The goal is a
// page at 300 dpi in under a second.
#include "platform/picture/Picture.h"

#include "QtBenchmarkMain.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double kPageWidth = 595.0; // A4 in points
constexpr double kPageHeight = 842.0;

void DrawTextColumn(QPainter& painter, double left, double top, double bottom, double width) {
    painter.setPen(Qt::black);
    painter.setFont(QFont("IPAPGothic", 9));
    const QString line = QStringLiteral("The measured response follows the model within the error of the "
                                        "instrument; 測定値はモデルとよく一致する。");
    int n = 0;
    for (double y = top; y < bottom; y += 11.0, ++n)
        painter.drawText(QRectF(left, y, width, 11.0), Qt::AlignLeft | Qt::TextSingleLine,
                         line.mid(n % 7, 90));
}

void DrawChart(QPainter& painter, const QRectF& area) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(210, 210, 210), 0.3));
    for (int i = 1; i < 10; ++i) {
        const double x = area.left() + area.width() * i / 10.0;
        const double y = area.top() + area.height() * i / 10.0;
        painter.drawLine(QLineF(x, area.top(), x, area.bottom()));
        painter.drawLine(QLineF(area.left(), y, area.right(), y));
    }
    painter.setPen(QPen(Qt::black, 0.8));
    painter.drawRect(area);
    painter.setFont(QFont("IPAPGothic", 7));
    for (int i = 0; i <= 10; ++i) {
        const double x = area.left() + area.width() * i / 10.0;
        painter.drawLine(QLineF(x, area.bottom(), x, area.bottom() + 3));
        painter.drawText(QPointF(x - 4, area.bottom() + 11), QString::number(i * 10));
    }
    const QColor colours[] = {Qt::blue, Qt::red, QColor(0, 128, 0)};
    for (int curve = 0; curve < 3; ++curve) {
        painter.setPen(QPen(colours[curve], 1.0));
        QPainterPath path;
        for (int k = 0; k < 600; ++k) {
            const double t = k / 599.0;
            const QPointF point(area.left() + area.width() * t,
                                area.bottom() - area.height() * (0.5 + 0.4 * std::sin(6.0 * t + curve) * std::exp(-t * curve)));
            if (k == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
            if (k % 12 == 0)
                painter.drawEllipse(point, 1.5, 1.5);
        }
        painter.drawPath(path);
    }
}

QByteArray MakePaperPage() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    {
        QPainter painter(&writer);
        DrawTextColumn(painter, 50, 50, 792, 235);
        DrawTextColumn(painter, 310, 400, 792, 235);
        DrawChart(painter, QRectF(330, 60, 220, 160));
    }
    return bytes;
}

// The page written once for every benchmark of the run.
const QString& PaperPath() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath("paper.pdf");
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(MakePaperPage());
        return file;
    }();
    return path;
}

} // namespace

static void BM_RenderPaperPage(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    const COleVariant fileName(PaperPath().toUtf8().constData());
    for (auto _ : state) {
        IPictureDisp* picture = nullptr;
        if (FAILED(OleLoadPdfPage(fileName, {1, dpi}, &picture))) {
            state.SkipWithError("the page did not render");
            return;
        }
        std::unique_ptr<IPictureDisp> owned(picture);
        benchmark::DoNotOptimize(owned.get());
    }
    state.counters["megapixels"] = std::round(kPageWidth * dpi / 72.0) * std::round(kPageHeight * dpi / 72.0) / 1e6;
}
BENCHMARK(BM_RenderPaperPage)
    ->Arg(150)
    ->Arg(300)
    ->Arg(600)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(8)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
    ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
