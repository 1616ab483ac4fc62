// The curve tracer measured on charts whose centre lines are known exactly, and its behaviour at
// the edges: a start on nothing, the same colour elsewhere, the bounds.
#include "extract/CurveTracer.h"

#include "TraceAccuracy.h"
#include "TracingCharts.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <future>
#include <optional>
#include <ostream>

namespace {

struct ChartKind {
    const char* name;
    TracingChart (*make)();
};
void PrintTo(const ChartKind& kind, std::ostream* out) { *out << kind.name; }

void PrintFigures(const char* name, const TraceAccuracy& accuracy, size_t points) {
    std::printf("[ figures  ] %-22s median %.2f px, 95 %% within %.2f px, %.2f %% beyond 2 px, "
                "%.1f %% covered, spacing %.1f px, %zu points\n",
                name, accuracy.medianDistance, accuracy.distance95, 100 * accuracy.farShare,
                100 * accuracy.coverage, accuracy.medianSpacing, points);
}

void ExpectAccurate(const ChartKind& kind) {
    const TracingChart chart = kind.make();
    ASSERT_FALSE(chart.picture.isNull());
    const TraceSettings settings;
    const TraceResult result = CurveTracer(chart.picture).TraceFrom(chart.start, settings);
    ASSERT_EQ(result.outcome, TraceOutcome::Traced);
    const TraceAccuracy accuracy = MeasureTrace(result.points, chart.centreLine, settings.pointSpacing);
    PrintFigures(kind.name, accuracy, result.points.size());
    EXPECT_LE(accuracy.medianDistance, 0.6);
    EXPECT_LE(accuracy.distance95, 1.2);
    EXPECT_LE(accuracy.farShare, 0.01);
    EXPECT_GE(accuracy.coverage, 0.95);
    EXPECT_TRUE(accuracy.inPathOrder);
    EXPECT_LE(accuracy.medianSpacing, 12.0);
}

class CurveTracerAccuracy : public testing::TestWithParam<ChartKind> {};

TEST_P(CurveTracerAccuracy, CurveTracer_PointsLieOnTheCentreLineInPathOrder) { ExpectAccurate(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    ChartKinds, CurveTracerAccuracy,
    testing::Values(ChartKind{"OnePixelLine", OnePixelLineChart}, ChartKind{"TwoPixelLineUnderGrid", TwoPixelLineUnderGridChart},
                    ChartKind{"JpegQuality70", JpegChart}, ChartKind{"BlackCurveAmongGrid", BlackCurveAmongGridChart},
                    ChartKind{"TwoCrossingCurves", TwoCrossingCurvesChart},
                    ChartKind{"CurvesApartInOneChannel", CurvesApartInOneChannelChart},
                    ChartKind{"ThreeCrossingCurves", ThreeCrossingCurvesChart},
                    ChartKind{"DashedCurve", DashedCurveChart}, ChartKind{"MarkedCurve", MarkedCurveChart},
                    ChartKind{"KaplanMeierSteps", KaplanMeierChart},
                    ChartKind{"SelfCrossingLoop", SelfCrossingLoopChart},
                    ChartKind{"LogAxisPaletteGif", LogAxisPaletteChart},
                    ChartKind{"WideStrokeClickedOffCentre", WideStrokeChart}),
    [](const testing::TestParamInfo<ChartKind>& info) { return std::string(info.param.name); });

// Its own case, since drawing and compressing a 108-megapixel chart takes a few seconds.
TEST(CurveTracer, CurveTracer_LargeJpegScanIsTracedAsAccurately) {
    ExpectAccurate({"LargeJpeg12000x9000", LargeJpegChart});
}

} // namespace

namespace {

// A red curve, a shorter red curve not connected to it, and a red legend entry with its label; the
// distance of a point from each tells which one a trace took.
struct SameColourChart {
    QImage picture;
    std::vector<QPointF> longCurve;
    std::vector<QPointF> shortCurve;
    QRect legend;
};

const QColor kRed(0xd6, 0x27, 0x28);

SameColourChart MakeSameColourChart() {
    SameColourChart chart;
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::white);
    chart.longCurve = SampleCurve([](double t) { return QPointF(80 + 640 * t, 420 - 250 * t + 40 * std::sin(9 * t)); });
    chart.shortCurve = SampleCurve([](double t) { return QPointF(150 + 300 * t, 520 + 20 * std::cos(6 * t)); });
    chart.legend = QRect(600, 30, 160, 30);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kRed, 1.5));
    painter.drawPolyline(chart.longCurve.data(), int(chart.longCurve.size()));
    painter.drawPolyline(chart.shortCurve.data(), int(chart.shortCurve.size()));
    painter.drawLine(QPointF(610, 45), QPointF(650, 45));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(660, 35, 100, 20), "measured");
    painter.end();
    chart.picture = picture.convertToFormat(QImage::Format_RGB888);
    return chart;
}

double DistanceTo(const std::vector<QPointF>& line, QPointF point) {
    double nearest = 1e9;
    for (const QPointF& sample : line)
        nearest = std::min(nearest, std::hypot(sample.x() - point.x(), sample.y() - point.y()));
    return nearest;
}

enum class Taken { Nothing, LongCurve, ShortCurve };

struct BehaviourCase {
    const char* name;
    std::optional<QPoint> start; // else the trace is by colour
    std::optional<QRect> bounds;
    TraceOutcome outcome;
    Taken taken;
};
void PrintTo(const BehaviourCase& behaviour, std::ostream* out) { *out << behaviour.name; }

class CurveTracerBehaviour : public testing::TestWithParam<BehaviourCase> {};

TEST_P(CurveTracerBehaviour, CurveTracer_TakesOnlyTheStrokeAsked) {
    const BehaviourCase& behaviour = GetParam();
    static const SameColourChart chart = MakeSameColourChart();
    TraceSettings settings;
    settings.bounds = behaviour.bounds;
    const CurveTracer tracer(chart.picture);
    const TraceResult result = behaviour.start ? tracer.TraceFrom(*behaviour.start, settings)
                                               : tracer.TraceColour(kRed.rgb() & 0xFFFFFF, settings);
    ASSERT_EQ(result.outcome, behaviour.outcome);
    if (behaviour.taken == Taken::Nothing) {
        EXPECT_TRUE(result.points.empty());
        return;
    }
    const std::vector<QPointF>& expected = behaviour.taken == Taken::LongCurve ? chart.longCurve : chart.shortCurve;
    const QRectF allowed = behaviour.bounds ? QRectF(*behaviour.bounds) : QRectF(chart.picture.rect());
    double reach = 0;
    for (const QPointF& point : result.points) {
        EXPECT_LE(DistanceTo(expected, point), 1.5) << point.x() << "," << point.y();
        EXPECT_FALSE(chart.legend.contains(point.toPoint()));
        EXPECT_TRUE(allowed.contains(point)) << point.x() << "," << point.y();
        reach = std::max(reach, point.x());
    }
    // The whole of the stroke within the bounds: from its left end to where it or the bounds end.
    const double expectedReach = std::min(expected.back().x(), allowed.right());
    EXPECT_GE(reach, expectedReach - 6);
    EXPECT_LE(std::min(result.points.front().x(), result.points.back().x()), expected.front().x() + 6);
}

INSTANTIATE_TEST_SUITE_P(
    SameColourElsewhere, CurveTracerBehaviour,
    testing::Values(
        BehaviourCase{"StartOnBackground", QPoint(400, 100), {}, TraceOutcome::NoCurveAtStart, Taken::Nothing},
        BehaviourCase{"StartOutsidePicture", QPoint(800, 10), {}, TraceOutcome::StartOutsidePicture, Taken::Nothing},
        BehaviourCase{"StartOutsideBounds", QPoint(400, 100), QRect(0, 300, 800, 300), TraceOutcome::NoCurveAtStart,
                      Taken::Nothing},
        BehaviourCase{"LongCurveLeavesLegendAndOtherCurve", QPoint(80 + 320, 420 - 125 + 40 * std::sin(4.5)), {},
                      TraceOutcome::Traced, Taken::LongCurve},
        BehaviourCase{"ShortCurveLeavesLongOne", QPoint(300, 520 + 20 * std::cos(3)), {}, TraceOutcome::Traced,
                      Taken::ShortCurve},
        BehaviourCase{"ClickOnePixelBesideTheStroke", QPoint(300, 522 + 20 * std::cos(3)), {}, TraceOutcome::Traced,
                      Taken::ShortCurve},
        BehaviourCase{"BoundsCutTheCurve", QPoint(200, 420 - 47 + 40 * std::sin(1.69)), QRect(0, 0, 400, 600),
                      TraceOutcome::Traced, Taken::LongCurve},
        BehaviourCase{"ColourTakesTheLongestStroke", {}, {}, TraceOutcome::Traced, Taken::LongCurve},
        BehaviourCase{"ColourWithinBoundsTakesWhatIsThere", {}, QRect(0, 480, 800, 120), TraceOutcome::Traced,
                      Taken::ShortCurve},
        BehaviourCase{"ColourAbsentFromBounds", {}, QRect(0, 0, 300, 200), TraceOutcome::NoCurveOfColour,
                      Taken::Nothing}),
    [](const testing::TestParamInfo<BehaviourCase>& info) { return std::string(info.param.name); });

// The document stores pixels: each point's floor, a pixel once however many points fall in it.
TEST(CurveTracer, CurveTracer_PixelsAreFlooredWithoutConsecutiveRepeats) {
    TraceResult result{TraceOutcome::Traced, {{3.9, 4.1}, {3.2, 4.9}, {-0.5, 4.0}, {3.0, 4.0}}};
    EXPECT_EQ(result.Pixels(), (std::vector<QPoint>{{3, 4}, {-1, 4}, {3, 4}}));
}

// A scan can hold more colours near the core than the tracer remembers: the top of this picture is
// dark noise of some 300 000 colours, all close enough to the red to be judged and none of them
// red, so the curve below is judged after the memory of colours is full.
TEST(CurveTracer, CurveTracer_ColourTraceBeyondTheColoursRemembered) {
    QImage picture(1000, 900, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QRandomGenerator random(7);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(random.bounded(91), random.bounded(91), random.bounded(91)));
    std::vector<QPointF> curve;
    for (double x = 50; x <= 950; x += 2)
        curve.emplace_back(x, 650 + 80 * std::sin(x / 100));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xd0, 0x20, 0x20), 2.0));
    painter.drawPolyline(curve.data(), int(curve.size()));
    painter.end();

    const TraceSettings settings;
    const TraceResult result = CurveTracer(picture).TraceColour(0xd02020, settings);
    ASSERT_EQ(result.outcome, TraceOutcome::Traced);
    const TraceAccuracy accuracy = MeasureTrace(result.points, curve, settings.pointSpacing);
    EXPECT_LE(accuracy.medianDistance, 0.6);
    EXPECT_GE(accuracy.coverage, 0.95);
}

// A batch traces several pictures at once from its first moment: the first traces of a run, side
// by side on threads, each with its own colours judged, come out as a trace alone does.
TEST(CurveTracer, CurveTracer_FirstTracesOnThreadsAtOnceAsAlone) {
    const QImage picture(TALLYSCOPE_SOURCE_DIR "/samples/chart.bmp");
    ASSERT_FALSE(picture.isNull());
    const auto trace = [&picture] { return CurveTracer(picture).TraceColour(0xD02020, TraceSettings()).points; };
    std::vector<std::future<std::vector<QPointF>>> atOnce;
    for (int i = 0; i < 4; ++i)
        atOnce.push_back(std::async(std::launch::async, trace));
    const std::vector<QPointF> alone = trace();
    ASSERT_FALSE(alone.empty());
    for (auto& result : atOnce)
        EXPECT_EQ(result.get(), alone);
}

} // namespace

namespace {

// The sample chart that comes with the program: a red and a blue curve, each starting on the
// y axis and crossing the other and the grid. Every point must lie on a pixel of its curve's colour
// or right beside one, and the trace must run from the axis to the last grid line.
struct SampleChartCurve {
    const char* name;
    QPoint start;
    QRgb colour;
};
void PrintTo(const SampleChartCurve& curve, std::ostream* out) { *out << curve.name; }

bool NextToColour(const QImage& picture, QPoint pixel, QRgb colour) {
    for (int y = pixel.y() - 1; y <= pixel.y() + 1; ++y)
        for (int x = pixel.x() - 1; x <= pixel.x() + 1; ++x)
            if (picture.rect().contains(x, y) && (picture.pixel(x, y) & 0xFFFFFF) == colour)
                return true;
    return false;
}

class CurveTracerSampleChart : public testing::TestWithParam<SampleChartCurve> {};

TEST_P(CurveTracerSampleChart, CurveTracer_FollowsTheCurveFromAxisToEnd) {
    const QImage picture(TALLYSCOPE_SOURCE_DIR "/samples/chart.bmp");
    ASSERT_FALSE(picture.isNull());
    const TraceResult result = CurveTracer(picture).TraceFrom(GetParam().start, TraceSettings());
    ASSERT_EQ(result.outcome, TraceOutcome::Traced);
    for (const QPoint& pixel : result.Pixels())
        EXPECT_TRUE(NextToColour(picture, pixel, GetParam().colour)) << pixel.x() << "," << pixel.y();
    EXPECT_LE(result.points.front().x(), 62.0);  // the y axis is at x = 60
    EXPECT_GE(result.points.back().x(), 448.0); // the curves end at x = 450
}

INSTANTIATE_TEST_SUITE_P(SampleChart, CurveTracerSampleChart,
                         testing::Values(SampleChartCurve{"Red", {100, 122}, 0xD02020},
                                         SampleChartCurve{"Blue", {200, 108}, 0x0050C8}),
                         [](const testing::TestParamInfo<SampleChartCurve>& info) { return std::string(info.param.name); });

} // namespace
