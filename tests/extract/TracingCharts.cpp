#include "TracingCharts.h"

#include "../support/GifWriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
const QSize kChartSize(1000, 700);
const QRect kPlotFrame(60, 30, 910, 630);

// Colours of a common plotting library's default cycle.
const QColor kBlue(0x1f, 0x77, 0xb4);
const QColor kOrange(0xff, 0x7f, 0x0e);
const QColor kGreen(0x2c, 0xa0, 0x2c);
const QColor kRed(0xd6, 0x27, 0x28);
const QColor kPurple(0x94, 0x67, 0xbd);
const QColor kBrown(0x8c, 0x56, 0x4b);

QImage WhiteCanvas(QSize size = kChartSize, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(size, format);
    picture.fill(Qt::white);
    return picture;
}

QPen StrokePen(QColor colour, double width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, width, style, Qt::FlatCap, Qt::RoundJoin);
    return pen;
}

void DrawLine(QImage& picture, const std::vector<QPointF>& line, const QPen& pen) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.drawPolyline(line.data(), int(line.size()));
}

// A frame of black axes with ticks and numbers, as a plotting library draws around the plot.
void DrawAxes(QImage& picture, QRect frame = kPlotFrame) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5));
    for (int x = frame.left() + 50; x < frame.right(); x += 100) {
        painter.drawLine(QPointF(x + 0.5, frame.bottom()), QPointF(x + 0.5, frame.bottom() + 6));
        painter.drawText(QRectF(x - 20, frame.bottom() + 8, 40, 16), Qt::AlignCenter, QString::number(x / 10));
    }
    for (int y = frame.top() + 50; y < frame.bottom(); y += 100) {
        painter.drawLine(QPointF(frame.left() - 6, y + 0.5), QPointF(frame.left(), y + 0.5));
        painter.drawText(QRectF(frame.left() - 50, y - 8, 40, 16), Qt::AlignRight, QString::number(y / 10));
    }
}

void DrawGrid(QImage& picture, QColor colour, int every, QRect frame = kPlotFrame) {
    QPainter painter(&picture);
    painter.setPen(QPen(colour, 1));
    for (int x = frame.left() + every; x < frame.right(); x += every)
        painter.drawLine(x, frame.top(), x, frame.bottom());
    for (int y = frame.top() + every; y < frame.bottom(); y += every)
        painter.drawLine(frame.left(), y, frame.right(), y);
}

QImage InRgb888(const QImage& picture) { return picture.convertToFormat(QImage::Format_RGB888); }

TracingChart ChartOf(const QImage& picture, std::vector<QPointF> line) {
    const QPoint start = PixelOn(line, 0.3);
    return {InRgb888(picture), std::move(line), start};
}

std::vector<QPointF> Wave(double middle, double amplitude, double period, double phase = 0) {
    return SampleCurve([=](double t) {
        const double x = 100 + 840 * t;
        return QPointF(x, middle + amplitude * std::sin(2 * kPi * (x - 100) / period + phase) * std::exp(-t * 0.8));
    });
}

std::vector<QPointF> Drift() {
    return SampleCurve([](double t) {
        const double x = 100 + 840 * t;
        return QPointF(x, 560 - 430 * t + 35 * std::sin(x / 37.0));
    });
}

} // namespace

std::vector<QPointF> SampleCurve(const std::function<QPointF(double)>& curve, int samples) {
    std::vector<QPointF> line;
    for (int i = 0; i <= samples; ++i)
        line.push_back(curve(double(i) / samples));
    return line;
}

QPoint PixelOn(const std::vector<QPointF>& line, double share) {
    const QPointF point = line[size_t(share * double(line.size() - 1))];
    return {int(std::floor(point.x())), int(std::floor(point.y()))};
}

QImage ThroughFile(const QImage& picture, const char* format, int quality) {
    QByteArray bytes;
    if (QByteArray(format) == "GIF") {
        bytes = WriteGif(picture).bytes;
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, format, quality);
    }
    // A scan-sized picture is beyond Qt's default allocation limit for reading (the program's own
    // loader reads JPEG with libjpeg-turbo and has its own).
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, format);
    const QImage read = reader.read();
    QImageReader::setAllocationLimit(limit);
    return read;
}

TracingChart OnePixelLineChart() {
    QImage picture = WhiteCanvas();
    std::vector<QPointF> line = Wave(340, 220, 500);
    DrawLine(picture, line, StrokePen(kRed, 1.0));
    return ChartOf(picture, std::move(line));
}

// The grid is drawn over the curve, cutting it every 40 pixels.
TracingChart TwoPixelLineUnderGridChart() {
    QImage picture = WhiteCanvas();
    std::vector<QPointF> line = Drift();
    DrawLine(picture, line, StrokePen(kBlue, 2.0));
    DrawGrid(picture, QColor(0xc8, 0xc8, 0xc8), 40);
    return ChartOf(picture, std::move(line));
}

TracingChart JpegChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> line = Wave(330, 200, 350, 1.0);
    DrawLine(picture, line, StrokePen(kGreen, 1.5));
    TracingChart chart = ChartOf(picture, std::move(line));
    chart.picture = InRgb888(ThroughFile(picture, "JPG", 70));
    return chart;
}

TracingChart BlackCurveAmongGridChart() {
    QImage picture = WhiteCanvas();
    DrawGrid(picture, QColor(0xc8, 0xc8, 0xc8), 40);
    DrawAxes(picture);
    std::vector<QPointF> line = SampleCurve([](double t) {
        return QPointF(100 + 840 * t, 600 - 520 * (1 - std::exp(-4 * t)) + 20 * std::sin(12 * t));
    });
    DrawLine(picture, line, StrokePen(Qt::black, 1.0));
    return ChartOf(picture, std::move(line));
}

// The traced curve (red) is drawn first, so the blue one crosses over it and cuts it.
TracingChart TwoCrossingCurvesChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> red = Wave(340, 200, 300);
    DrawLine(picture, red, StrokePen(kRed, 2.0));
    DrawLine(picture, Wave(340, 200, 300, kPi * 0.8), StrokePen(kBlue, 2.0));
    return ChartOf(picture, std::move(red));
}

// A colour is judged once and then looked up: the other curve (red with blue raised to purple)
// differs from the traced one in a single channel, so a lookup that loses a channel takes it too.
TracingChart CurvesApartInOneChannelChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> red = Wave(340, 200, 300);
    DrawLine(picture, red, StrokePen(kRed, 2.0));
    DrawLine(picture, Wave(340, 200, 300, kPi * 0.8), StrokePen(QColor(kRed.red(), kRed.green(), 0xd0), 2.0));
    return ChartOf(picture, std::move(red));
}

// The traced curve (green) lies between the other two in drawing order and crosses both.
TracingChart ThreeCrossingCurvesChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    DrawLine(picture, Wave(340, 220, 420), StrokePen(kRed, 1.5));
    std::vector<QPointF> green = Drift();
    DrawLine(picture, green, StrokePen(kGreen, 1.5));
    DrawLine(picture, Wave(360, 180, 260, kPi / 2), StrokePen(kBlue, 1.5));
    return ChartOf(picture, std::move(green));
}

TracingChart DashedCurveChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> line = Wave(330, 210, 450, 0.5);
    DrawLine(picture, line, StrokePen(kOrange, 1.5, Qt::DashLine));
    return ChartOf(picture, std::move(line));
}

// Filled round markers on the curve every 70 pixels, each with an error bar of the same colour.
TracingChart MarkedCurveChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> line = Drift();
    DrawLine(picture, line, StrokePen(kPurple, 1.5));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t i = 150; i < line.size(); i += 330) {
        const QPointF at = line[i];
        painter.setPen(StrokePen(kPurple, 1.5));
        painter.drawLine(at - QPointF(0, 22), at + QPointF(0, 22));
        painter.drawLine(at - QPointF(5, 22), at + QPointF(5, -22));
        painter.drawLine(at + QPointF(-5, 22), at + QPointF(5, 22));
        painter.setPen(Qt::NoPen);
        painter.setBrush(kPurple);
        painter.drawEllipse(at, 4.5, 4.5);
    }
    painter.end();
    return ChartOf(picture, std::move(line));
}

// A survival curve: level stretches and vertical drops, with censoring ticks across the level
// stretches, as such curves are published.
TracingChart KaplanMeierChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> line{{100.0, 80.0}};
    const int stretches[] = {40, 12, 65, 30, 8, 90, 25, 55, 15, 70, 35, 100, 20, 60, 45, 120, 50};
    const int drops[] = {30, 6, 45, 12, 20, 4, 38, 9, 25, 16, 60, 7, 22, 14, 33, 10};
    size_t drop = 0;
    for (const int stretch : stretches) {
        line.push_back(line.back() + QPointF(stretch, 0));
        if (drop < std::size(drops))
            line.push_back(line.back() + QPointF(0, drops[drop++]));
    }
    DrawLine(picture, line, StrokePen(kBlue, 1.5));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(StrokePen(kBlue, 1.5));
    for (const size_t level : {0u, 10u, 22u}) {
        const QPointF middle = (line[level] + line[level + 1]) / 2;
        painter.drawLine(middle + QPointF(0, -5), middle + QPointF(0, 5));
    }
    painter.end();
    return ChartOf(picture, std::move(line));
}

// A prolate cycloid: it runs left to right overall but turns back on itself in three loops.
TracingChart SelfCrossingLoopChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> line = SampleCurve([](double t) {
        const double angle = 2 * kPi * 3 * t;
        return QPointF(160 + 680 * t - 90 * std::sin(angle), 360 - 110 * std::cos(angle));
    });
    DrawLine(picture, line, StrokePen(kBrown, 1.5));
    TracingChart chart = ChartOf(picture, std::move(line));
    chart.start = PixelOn(chart.centreLine, 0.1);
    return chart;
}

// Decades and their minor lines on a logarithmic y axis, a curve over them, written as a GIF: the
// tracer gets the palette picture as it was read.
TracingChart LogAxisPaletteChart() {
    QImage picture = WhiteCanvas();
    const auto rowOf = [](double value) { return 630 - 200 * std::log10(value); }; // 1 .. 1000
    {
        QPainter painter(&picture);
        for (int decade = 1; decade <= 100; decade *= 10)
            for (int minor = 1; minor < 10; ++minor) {
                painter.setPen(QPen(minor == 1 ? QColor(0xb0, 0xb0, 0xb0) : QColor(0xe0, 0xe0, 0xe0), 1));
                const double y = rowOf(decade * minor);
                painter.drawLine(QPointF(kPlotFrame.left(), y), QPointF(kPlotFrame.right(), y));
            }
    }
    DrawAxes(picture);
    std::vector<QPointF> line = SampleCurve([&](double t) {
        return QPointF(100 + 840 * t, rowOf(2 + 700 * std::exp(-5 * t) * (1 + 0.3 * std::sin(9 * t))));
    });
    DrawLine(picture, line, StrokePen(kRed, 1.5));
    TracingChart chart = ChartOf(picture, std::move(line));
    chart.picture = ThroughFile(picture, "GIF");
    return chart;
}

// A stroke 8 pixels wide, clicked 3 pixels off its centre.
TracingChart WideStrokeChart() {
    QImage picture = WhiteCanvas();
    DrawAxes(picture);
    std::vector<QPointF> line = Wave(340, 180, 600, 0.3);
    DrawLine(picture, line, StrokePen(kBrown, 8.0));
    TracingChart chart = ChartOf(picture, std::move(line));
    const size_t at = chart.centreLine.size() / 3;
    const QPointF along = chart.centreLine[at + 1] - chart.centreLine[at];
    const QPointF beside = chart.centreLine[at] + QPointF(-along.y(), along.x()) / std::hypot(along.x(), along.y()) * 3;
    chart.start = QPoint(int(std::floor(beside.x())), int(std::floor(beside.y())));
    return chart;
}

// A scan-sized chart: 12000 x 9000 pixels, strokes 6 pixels wide, saved as JPEG.
TracingChart LargeJpegChart() {
    QImage picture = WhiteCanvas({12000, 9000}, QImage::Format_RGB888);
    std::vector<QPointF> line = SampleCurve(
        [](double t) {
            const double x = 600 + 10800 * t;
            return QPointF(x, 4500 + 2600 * std::sin(2 * kPi * t * 1.5) * std::exp(-t));
        },
        40000);
    DrawLine(picture, line, StrokePen(kBlue, 6.0));
    DrawLine(picture, SampleCurve([](double t) { return QPointF(600 + 10800 * t, 7000 - 5000 * t); }),
             StrokePen(kRed, 6.0));
    TracingChart chart{QImage(), std::move(line), {}};
    chart.start = PixelOn(chart.centreLine, 0.3);
    chart.picture = InRgb888(ThroughFile(picture, "JPG", 70));
    return chart;
}
