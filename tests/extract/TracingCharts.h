#pragma once
// Charts drawn by the tests with QPainter's antialiasing, so that the centre line of every curve is
// known exactly: the polyline that was drawn. Each kind stands for a way real charts make tracing
// hard (see the table in CurveTracerTest.cpp).

#include <QImage>
#include <QPoint>
#include <QPointF>

#include <functional>
#include <vector>

struct TracingChart {
    QImage picture;
    std::vector<QPointF> centreLine; // the curve to trace, as drawn, left to right
    QPoint start;                    // a pixel on it to start from
};

// A curve sampled densely from its parameter in [0, 1].
std::vector<QPointF> SampleCurve(const std::function<QPointF(double)>& curve, int samples = 4000);
// The pixel under the curve's point at the given share of its samples.
QPoint PixelOn(const std::vector<QPointF>& line, double share);
// The picture written and read back in the format and quality given ("JPG", "GIF" ...).
QImage ThroughFile(const QImage& picture, const char* format, int quality = -1);

TracingChart OnePixelLineChart();
TracingChart TwoPixelLineUnderGridChart();
TracingChart JpegChart();
TracingChart BlackCurveAmongGridChart();
TracingChart TwoCrossingCurvesChart();
TracingChart CurvesApartInOneChannelChart();
TracingChart ThreeCrossingCurvesChart();
TracingChart DashedCurveChart();
TracingChart MarkedCurveChart();
TracingChart KaplanMeierChart();
TracingChart SelfCrossingLoopChart();
TracingChart LogAxisPaletteChart();
TracingChart WideStrokeChart();
TracingChart LargeJpegChart();
