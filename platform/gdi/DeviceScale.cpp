#include "platform/gdi/DeviceScale.h"

#include <cmath>

namespace {

// Screens give ratios such as 112 / 96 or 1.25 as the nearest double; the fraction is found back
// by continued fractions, stopping at the first that gives the double to a part in 10^9. A ratio
// with no such fraction of modest size keeps the closest one with a denominator up to 2^16, which
// still lies within 10^-9 of it.
constexpr std::int64_t largestDenominator = std::int64_t{1} << 16;
constexpr double closeEnough = 1e-9;
constexpr double largestRatio = 64.0;

} // namespace

DeviceScale::DeviceScale(double ratio) {
    if (!(ratio > 0.0))
        return; // no surface yet, or a nonsense ratio: the identity
    if (ratio > largestRatio)
        ratio = largestRatio;
    // Convergents h/k of the continued fraction of the ratio.
    std::int64_t previousH = 1, previousK = 0;
    std::int64_t h = static_cast<std::int64_t>(std::floor(ratio)), k = 1;
    double remainder = ratio - std::floor(ratio);
    while (std::abs(static_cast<double>(h) / static_cast<double>(k) - ratio) > closeEnough * ratio &&
           remainder > 0.0) {
        const double inverse = 1.0 / remainder;
        const auto term = static_cast<std::int64_t>(std::floor(inverse));
        const std::int64_t nextK = term * k + previousK;
        if (nextK > largestDenominator)
            break;
        const std::int64_t nextH = term * h + previousH;
        previousH = h;
        previousK = k;
        h = nextH;
        k = nextK;
        remainder = inverse - std::floor(inverse);
    }
    if (h <= 0) { // a ratio below 2^-16 rounds to nothing; keep the smallest there is
        h = 1;
        k = largestDenominator;
    }
    m_device = h;
    m_logical = k;
}

std::int64_t DeviceScale::DevicePixelAt(double devicePosition) {
    return static_cast<std::int64_t>(std::floor(devicePosition + 1e-6));
}
