#pragma once
// How logical pixels lie on device pixels when a surface has a device pixel ratio r (the screen's
// scale: 1, 1.25, 1.5, 2, ...). Each device pixel belongs to the logical pixel under its centre, so
// at a whole ratio a logical pixel is a crisp r x r square and at a fractional one its columns and
// rows are as even as the ratio allows. Drawing (which device pixels a logical pixel covers) and
// input (which logical pixel a device pixel under the mouse stands for) both use this one mapping,
// so the pixel shown under the cursor is the pixel a click picks. At a ratio of 1 both are the
// identity.

#include <cmath>
#include <cstdint>

struct DeviceScale {
    double ratio = 1.0;

    bool IsIdentity() const { return ratio == 1.0; }
    // The logical pixel that device pixel d belongs to.
    std::int64_t LogicalOf(std::int64_t device) const {
        return static_cast<std::int64_t>(std::floor((static_cast<double>(device) + 0.5) / ratio));
    }
    // The first device pixel of logical pixel l (also the end of the device pixels before it).
    std::int64_t FirstDeviceOf(std::int64_t logical) const {
        return static_cast<std::int64_t>(std::ceil(ratio * static_cast<double>(logical) - 0.5));
    }
    // The device pixel under a fractional device position, which positions that lie a hair below
    // a pixel edge through rounding still reach.
    static std::int64_t DevicePixelAt(double devicePosition) {
        return static_cast<std::int64_t>(std::floor(devicePosition + 1e-6));
    }
};
