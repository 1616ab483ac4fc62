#pragma once
// How logical pixels lie on device pixels when a surface has a device pixel ratio r (the screen's
// scale: 1, 1.25, 1.5, 2, ...). Each device pixel belongs to the logical pixel under its centre, so
// at a whole ratio a logical pixel is a crisp r x r square and at a fractional one its columns and
// rows are as even as the ratio allows. Drawing (which device pixels a logical pixel covers) and
// input (which logical pixel a device pixel under the mouse stands for) both use this one mapping,
// so the pixel shown under the cursor is the pixel a click picks. At a ratio of 1 both are the
// identity.
//
// The ratio is held as a fraction (a screen's ratio is its dpi over 96, or a scale factor such as
// 1.25), and both directions are worked out from it in whole numbers: in floating point a device
// pixel whose centre lies exactly on a logical pixel's edge (every few pixels at 112 dpi) falls on
// either side by rounding, and the two directions then disagree by a pixel. With whole numbers
// device pixel d belongs to logical pixel l exactly when FirstDeviceOf(l) <= d < FirstDeviceOf(l + 1).
// Exact for positions up to 2^36 pixels either way at ratios up to 64.

#include <cstdint>

class DeviceScale {
public:
    DeviceScale() = default;
    explicit DeviceScale(double ratio);

    // The ratio as the fraction the mappings use (the given one, to within a part in 10^9).
    double Ratio() const { return static_cast<double>(m_device) / static_cast<double>(m_logical); }
    bool IsIdentity() const { return m_device == m_logical; }
    // The logical pixel that device pixel d belongs to: the one under its centre d + 1/2.
    std::int64_t LogicalOf(std::int64_t device) const {
        return FloorDivide((2 * device + 1) * m_logical, 2 * m_device);
    }
    // The first device pixel of logical pixel l (also the end of the device pixels before it): the
    // first whose centre lies at or after the logical pixel's edge.
    std::int64_t FirstDeviceOf(std::int64_t logical) const {
        return CeilDivide(2 * logical * m_device - m_logical, 2 * m_logical);
    }
    // The device pixel under a fractional device position, which positions that lie a hair below
    // a pixel edge through rounding still reach.
    static std::int64_t DevicePixelAt(double devicePosition);

private:
    static std::int64_t FloorDivide(std::int64_t numerator, std::int64_t denominator) {
        const std::int64_t quotient = numerator / denominator;
        return quotient * denominator > numerator ? quotient - 1 : quotient;
    }
    static std::int64_t CeilDivide(std::int64_t numerator, std::int64_t denominator) {
        const std::int64_t quotient = numerator / denominator;
        return quotient * denominator < numerator ? quotient + 1 : quotient;
    }

    // The ratio is m_device / m_logical, both positive and without a common factor.
    std::int64_t m_device = 1;
    std::int64_t m_logical = 1;
};
