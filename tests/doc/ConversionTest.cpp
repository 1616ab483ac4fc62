#include "doc/CTallyscopeDoc.h"
#include "doc/ConversionFrame.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

struct Reference {
    int x;
    int y;
    double value;
};

// Origin with its two values, the X-axis point with its X value, the Y-axis point with its Y value.
CDataAxis Calibration(Reference origin, double originY, Reference xAxis, Reference yAxis, BOOL logX = FALSE,
                      BOOL logY = FALSE) {
    CDataAxis axis;
    axis.m_Origin.m_nPixelX = origin.x;
    axis.m_Origin.m_nPixelY = origin.y;
    axis.m_Origin.m_dValueX = origin.value;
    axis.m_Origin.m_dValueY = originY;
    axis.m_XAxis.m_nPixelX = xAxis.x;
    axis.m_XAxis.m_nPixelY = xAxis.y;
    axis.m_XAxis.m_dValueX = xAxis.value;
    axis.m_YAxis.m_nPixelX = yAxis.x;
    axis.m_YAxis.m_nPixelY = yAxis.y;
    axis.m_YAxis.m_dValueY = yAxis.value;
    axis.m_bLogX = logX;
    axis.m_bLogY = logY;
    return axis;
}

struct ConversionCase {
    int px;
    int py;
    double x;
    double y;
};

void ExpectConversions(const CDataAxis& axis, std::initializer_list<ConversionCase> cases) {
    const ConversionFrame frame(axis);
    for (const ConversionCase& c : cases) {
        const ChartValue value = ConvertPixel(frame, c.px, c.py);
        EXPECT_NEAR(value.x, c.x, 1e-9 * std::max(1.0, std::fabs(c.x)))
            << "pixel (" << c.px << ", " << c.py << ")";
        EXPECT_NEAR(value.y, c.y, 1e-9 * std::max(1.0, std::fabs(c.y)))
            << "pixel (" << c.px << ", " << c.py << ")";
    }
}

void SetSeries(CTallyscopeDoc& doc, std::initializer_list<std::pair<int, int>> points) {
    doc.m_DataSeries.DeleteAll();
    for (const auto& [x, y] : points)
        doc.m_DataSeries.AddData(x, y);
}

} // namespace

TEST(Conversion, Convert_DefaultCalibrationGrowsDownward) {
    ExpectConversions(CDataAxis(), {{50, 20, 0.5, 0.2}, {0, 0, 0.0, 0.0}, {-100, -300, -1.0, -3.0}});
}

TEST(Conversion, Convert_ObliqueAxes) {
    const CDataAxis axis = Calibration({100, 400, 0.0}, 0.0, {400, 300, 10.0}, {150, 150, 5.0});
    ExpectConversions(axis, {
                                {400, 300, 10.0, 0.0},
                                {150, 150, 0.0, 5.0},
                                {450, 50, 10.0, 5.0},
                                {250, 350, 5.0, 0.0},
                                {275, 275, 5.357142857142857, 1.4285714285714286},
                            });
}

TEST(Conversion, Convert_LogarithmicAxesInterpolateInDecades) {
    const CDataAxis axis = Calibration({0, 300, 1.0}, 0.1, {300, 300, 1000.0}, {0, 0, 10.0}, TRUE, TRUE);
    ExpectConversions(axis, {
                                {100, 300, 10.0, 0.1},
                                {0, 150, 1.0, 1.0},
                                {150, 225, 31.622776601683793, 0.31622776601683794},
                                {300, 0, 1000.0, 10.0},
                            });
}

TEST(Conversion, Convert_OneLogAxisLeavesTheOtherLinear) {
    const CDataAxis axis = Calibration({0, 100, 1.0}, -2.0, {200, 100, 100.0}, {0, 0, 2.0}, TRUE, FALSE);
    ExpectConversions(axis, {{100, 100, 10.0, -2.0}, {0, 50, 1.0, 0.0}, {-100, 0, 0.1, 2.0}});
}

TEST(Conversion, Convert_ExtremePixelsDoNotWrapAround) {
    // The pixel distance between these two points does not fit in 32 bits.
    const CDataAxis axis = Calibration({INT_MIN, 0, 0.0}, 0.0, {INT_MAX, 0, 1.0}, {INT_MIN, INT_MAX, 1.0});
    const ConversionFrame frame(axis);
    EXPECT_TRUE(IsConvertible(frame));
    const ChartValue xEnd = ConvertPixel(frame, INT_MAX, 0);
    EXPECT_DOUBLE_EQ(xEnd.x, 1.0);
    EXPECT_DOUBLE_EQ(xEnd.y, 0.0);
    const ChartValue yEnd = ConvertPixel(frame, INT_MIN, INT_MAX);
    EXPECT_DOUBLE_EQ(yEnd.x, 0.0);
    EXPECT_DOUBLE_EQ(yEnd.y, 1.0);
}

TEST(Conversion, IsConvertible_RefusesEveryUnusableCalibration) {
    struct Case {
        const char* what;
        CDataAxis axis;
        bool convertible;
    };
    const Case cases[] = {
        {"default", CDataAxis(), true},
        {"oblique", Calibration({100, 400, 0.0}, 0.0, {400, 300, 10.0}, {150, 150, 5.0}), true},
        {"log axes", Calibration({0, 300, 1.0}, 0.1, {300, 300, 1000.0}, {0, 0, 10.0}, TRUE, TRUE), true},
        {"falling values", Calibration({0, 0, 5.0}, 5.0, {100, 0, -5.0}, {0, 100, 0.0}), true},
        {"X-axis point on the origin", Calibration({10, 10, 0.0}, 0.0, {10, 10, 1.0}, {10, 110, 1.0}), false},
        {"Y-axis point on the origin", Calibration({10, 10, 0.0}, 0.0, {110, 10, 1.0}, {10, 10, 1.0}), false},
        {"axes on one line, D exactly 0", Calibration({0, 0, 0.0}, 0.0, {100, 100, 1.0}, {200, 200, 1.0}),
         false},
        {"axes opposite, D exactly 0", Calibration({0, 0, 0.0}, 0.0, {100, 0, 1.0}, {-50, 0, 1.0}), false},
        {"equal X values", Calibration({0, 0, 3.0}, 0.0, {100, 0, 3.0}, {0, 100, 1.0}), false},
        {"equal Y values", Calibration({0, 0, 0.0}, 2.0, {100, 0, 1.0}, {0, 100, 2.0}), false},
        {"negative value on a log X axis",
         Calibration({0, 0, -1.0}, 0.0, {100, 0, 10.0}, {0, 100, 1.0}, TRUE), false},
        {"zero at the origin of a log X axis",
         Calibration({0, 0, 0.0}, 0.0, {100, 0, 100.0}, {0, 100, 1.0}, TRUE), false},
        {"zero at the end of a log X axis", Calibration({0, 0, 1.0}, 0.0, {100, 0, 0.0}, {0, 100, 1.0}, TRUE),
         false},
        {"zero at the origin of a log Y axis",
         Calibration({0, 0, 0.0}, 0.0, {100, 0, 1.0}, {0, 100, 10.0}, FALSE, TRUE), false},
        {"span overflowing to infinity", Calibration({0, 0, -1e308}, 0.0, {100, 0, 1e308}, {0, 100, 1.0}),
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsConvertible(ConversionFrame(c.axis)), c.convertible) << c.what;
}

TEST(Conversion, Convert_ZeroOnALogAxisGivesNonFiniteOrZero) {
    // Refused for the export, but the measurements still convert through it.
    const ConversionFrame frame(Calibration({0, 0, 0.0}, 0.0, {100, 0, 100.0}, {0, 100, 1.0}, TRUE));
    EXPECT_TRUE(std::isnan(ConvertPixel(frame, 50, 0).x));
    EXPECT_TRUE(std::isnan(ConvertPixel(frame, 0, 0).x));
    EXPECT_EQ(ConvertPixel(frame, -50, 0).x, 0.0);
    EXPECT_DOUBLE_EQ(ConvertPixel(frame, -50, 30).y, 0.3);
}

TEST(Conversion, Measure_LengthAndAreaInChartUnits) {
    struct Case {
        const char* what;
        std::initializer_list<std::pair<int, int>> points;
        double length;
        double area;
    };
    const Case cases[] = {
        {"right triangle", {{0, 0}, {300, 0}, {300, 400}}, 7.0, 6.0},
        {"same triangle travelled backwards", {{300, 400}, {300, 0}, {0, 0}}, 7.0, 6.0},
        {"self-crossing figure: lobes cancel",
         {{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}},
         38.28427124746190,
         0.0},
        {"square: open polyline, no closing edge", {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 3.0, 1.0},
        {"one point", {{10, 10}}, 0.0, 0.0},
        {"two points", {{0, 0}, {0, 250}}, 2.5, 0.0},
        {"no points", {}, 0.0, 0.0},
    };
    CTallyscopeDoc doc;
    for (const Case& c : cases) {
        SetSeries(doc, c.points);
        EXPECT_NEAR(doc.GetLineLength(0), c.length, 1e-12) << c.what;
        EXPECT_NEAR(doc.GetArea(0), c.area, 1e-12) << c.what;
    }
}

TEST(Conversion, Measure_NegativeIndexGivesZeroWhateverTheData) {
    CTallyscopeDoc doc;
    SetSeries(doc, {{0, 0}, {300, 0}, {300, 400}});
    EXPECT_EQ(doc.GetLineLength(-1), 0.0);
    EXPECT_EQ(doc.GetArea(-1), 0.0);
}

TEST(Conversion, Measure_ReadsTheSeriesAskedForAndTheCalibrationOfTheMoment) {
    CTallyscopeDoc doc;
    SetSeries(doc, {{0, 0}, {300, 0}, {300, 400}});
    doc.m_DataSeries.NewSeries();
    doc.m_DataSeries.AddData(0, 0);
    doc.m_DataSeries.AddData(100, 0);
    EXPECT_DOUBLE_EQ(doc.GetLineLength(0), 7.0);
    EXPECT_DOUBLE_EQ(doc.GetLineLength(1), 1.0);
    doc.m_DataAxis.m_XAxis.m_dValueX = 2.0;
    EXPECT_DOUBLE_EQ(doc.GetLineLength(1), 2.0);
    EXPECT_DOUBLE_EQ(doc.GetArea(0), 12.0);
}

TEST(Conversion, Measure_LogAxisDistancesAreInPlainValues) {
    CTallyscopeDoc doc;
    doc.m_DataAxis = Calibration({0, 0, 1.0}, 0.0, {100, 0, 10.0}, {0, 100, 1.0}, TRUE);
    SetSeries(doc, {{0, 0}, {100, 0}, {200, 0}});
    // 1 -> 10 -> 100 along X: the distances after the powers of ten, not one decade each.
    EXPECT_NEAR(doc.GetLineLength(0), 99.0, 1e-9);
    SetSeries(doc, {{0, 0}, {100, 0}, {100, 100}});
    EXPECT_NEAR(doc.GetArea(0), 4.5, 1e-9);
}

TEST(Conversion, Measure_UnusableCalibrationGivesNonFiniteValues) {
    CTallyscopeDoc doc;
    doc.m_DataAxis = Calibration({0, 0, 0.0}, 0.0, {100, 100, 1.0}, {200, 200, 1.0});
    SetSeries(doc, {{0, 0}, {10, 0}, {10, 10}});
    EXPECT_FALSE(std::isfinite(doc.GetLineLength(0)));
    EXPECT_FALSE(std::isfinite(doc.GetArea(0)));
}
