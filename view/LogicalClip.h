#pragma once
// Figures of the picture view whose corners lie beyond what a device context takes. At zoom 4 an
// image pixel typed near the 32-bit limits lies four times as far in logical units, and a device
// context takes 32-bit logical positions. Lines and polygons reaching that far are cut where they
// leave a square around the logical origin (half-side kLogicalLimit, far outside any view); within
// it they are handed on unchanged, so every figure that fits draws exactly as it did. A cut corner
// is the exact crossing rounded to the nearest pixel, so what shows of a cut figure is the same
// line to within that rounding.

#include "platform/core/AfxTypes.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

inline constexpr std::int64_t kLogicalLimit = std::int64_t{1} << 30;

struct LogicalPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const LogicalPoint&, const LogicalPoint&) = default;
};

// The part of the segment inside the square, or nothing when it misses it.
std::optional<std::pair<CPoint, CPoint>> ClipSegmentToLogicalLimit(LogicalPoint a, LogicalPoint b);
// The part of the polygon inside the square, as a polygon (empty when it misses it).
std::vector<CPoint> ClipPolygonToLogicalLimit(const std::vector<LogicalPoint>& vertices);
