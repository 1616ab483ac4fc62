#include "platform/gdi/DeviceScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Device pixel d belongs to logical pixel l when its centre d + 1/2 lies in [r l, r (l + 1)); with
// r = dpi / 96 that is l = floor((2d + 1) * 96 / (2 dpi)), worked out in whole numbers from the dpi.
std::int64_t ExactLogicalOf(std::int64_t device, std::int64_t dpi) {
    const std::int64_t numerator = (2 * device + 1) * 96;
    const std::int64_t denominator = 2 * dpi;
    return numerator >= 0 ? numerator / denominator : -((-numerator + denominator - 1) / denominator);
}

// Counts the device pixels of [first, end) where the two directions disagree with each other or
// with the exact answer: LogicalOf(d) = l must hold exactly when FirstDeviceOf(l) <= d < FirstDeviceOf(l + 1).
int Disagreements(const DeviceScale& scale, std::int64_t dpi, std::int64_t first, std::int64_t end) {
    int wrong = 0;
    for (std::int64_t device = first; device < end; ++device) {
        const std::int64_t logical = scale.LogicalOf(device);
        const bool inverse = scale.FirstDeviceOf(logical) <= device && device < scale.FirstDeviceOf(logical + 1);
        const bool exact = dpi == 0 || logical == ExactLogicalOf(device, dpi);
        wrong += inverse && exact ? 0 : 1;
    }
    return wrong;
}

} // namespace

// Every screen from 96 to 288 dpi (ratios 1 to 3 in steps of 1/96), each given as the double a
// screen reports: both directions agree and are exact at every pixel around the origin.
TEST(DeviceScale_Mapping, EveryDpiFrom96To288IsExactAndBothDirectionsAgree) {
    for (std::int64_t dpi = 96; dpi <= 288; ++dpi) {
        const double ratio = static_cast<double>(dpi) / 96.0;
        const DeviceScale scale(ratio);
        EXPECT_EQ(scale.Ratio(), ratio) << dpi << " dpi";
        EXPECT_EQ(Disagreements(scale, dpi, -500, 3000), 0) << dpi << " dpi";
        // A logical pixel covers floor(r) or ceil(r) device pixels, never none.
        for (std::int64_t logical = -50; logical < 500; ++logical) {
            const std::int64_t width = scale.FirstDeviceOf(logical + 1) - scale.FirstDeviceOf(logical);
            ASSERT_GE(width, static_cast<std::int64_t>(std::floor(ratio))) << dpi << " dpi, " << logical;
            ASSERT_LE(width, static_cast<std::int64_t>(std::ceil(ratio))) << dpi << " dpi, " << logical;
        }
    }
}

// The ratios where floating point went wrong most often, over a whole large scan's width.
TEST(DeviceScale_Mapping, FractionalRatiosHoldOverFortyThousandDevicePixels) {
    for (const std::int64_t dpi : {97, 112, 120, 124, 144, 168, 200, 216, 240, 287}) {
        const DeviceScale scale(static_cast<double>(dpi) / 96.0);
        EXPECT_EQ(Disagreements(scale, dpi, 0, 40000), 0) << dpi << " dpi";
        EXPECT_EQ(scale.FirstDeviceOf(0), 0) << dpi << " dpi";
    }
}

// Scale factors that are not a whole dpi (QT_SCALE_FACTOR=1.1, a third, an irrational one): the
// directions still agree, and a nonsense ratio is the identity rather than a division by zero.
TEST(DeviceScale_Mapping, AnyRatioKeepsBothDirectionsConsistent) {
    struct Row {
        double ratio;
        double expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Row row : {Row{1.1, 1.1}, Row{4.0 / 3.0, 4.0 / 3.0}, Row{1.333, 1.333}, Row{1.75, 1.75},
                          Row{std::sqrt(2.0), std::sqrt(2.0)}, Row{0.0, 1.0}, Row{-2.0, 1.0}, Row{nan, 1.0}}) {
        const DeviceScale scale(row.ratio);
        EXPECT_NEAR(scale.Ratio(), row.expected, 1e-9 * row.expected) << row.ratio;
        EXPECT_EQ(Disagreements(scale, 0, -2000, 20000), 0) << row.ratio;
    }
    EXPECT_TRUE(DeviceScale(1.0).IsIdentity());
    EXPECT_EQ(DeviceScale(1.0).LogicalOf(-7), -7);
    EXPECT_EQ(DeviceScale(1.0).FirstDeviceOf(12345), 12345);
}
