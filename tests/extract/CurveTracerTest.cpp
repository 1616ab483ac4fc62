// The curve tracer measured on charts whose centre lines are known exactly, and its behaviour at
// the edges: a start on nothing, the same colour elsewhere, the bounds.
#include "extract/CurveTracer.h"

#include "TraceAccuracy.h"
#include "TracingCharts.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cstdio>

namespace {

struct ChartKind {
    const char* name;
    TracingChart (*make)();
};

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
    testing::Values(ChartKind{"OnePixelLine", OnePixelLineChart}, ChartKind{"TwoPixelLine", TwoPixelLineChart},
                    ChartKind{"JpegQuality70", JpegChart}, ChartKind{"BlackCurveAmongGrid", BlackCurveAmongGridChart},
                    ChartKind{"TwoCrossingCurves", TwoCrossingCurvesChart},
                    ChartKind{"ThreeCrossingCurves", ThreeCrossingCurvesChart},
                    ChartKind{"DashedCurve", DashedCurveChart}, ChartKind{"MarkedCurve", MarkedCurveChart},
                    ChartKind{"KaplanMeierSteps", KaplanMeierChart},
                    ChartKind{"SelfCrossingLoop", SelfCrossingLoopChart},
                    ChartKind{"LogAxisPaletteGif", LogAxisPaletteChart}),
    [](const testing::TestParamInfo<ChartKind>& info) { return std::string(info.param.name); });

// Its own case, since drawing and compressing a 108-megapixel chart takes a few seconds.
TEST(CurveTracer, CurveTracer_LargeJpegScanIsTracedAsAccurately) {
    ExpectAccurate({"LargeJpeg12000x9000", LargeJpegChart});
}

} // namespace
