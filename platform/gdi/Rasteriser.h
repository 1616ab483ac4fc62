#pragma once
// The shapes a drawing context draws, as pixels: pure functions from device coordinates to the
// pixels or spans to set, with no surface, pen or colour of their own. Lines leave out their end
// pixel and light the same pixels whichever way they are drawn; ellipses are one pixel thin and
// closed; polygons are filled by the alternate rule, a pixel counting when its top-left corner lies
// inside. The arithmetic is exact over the whole 32-bit logical range plus the viewport origin.

#include "platform/core/AfxTypes.h"
#include "platform/gdi/DeviceScale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Raster {

// A position in device pixels. Logical positions and the viewport origin are 32-bit each, so
// their sum needs 33 bits.
struct DevicePoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

inline DevicePoint ToDevice(int x, int y, CPoint origin) {
    return {std::int64_t{x} + origin.x, std::int64_t{y} + origin.y};
}

// Products of two 33-bit differences, doubled, need up to 68 bits.
using WideInt = __int128;

// Division rounding toward minus infinity (the rasterisers meet negative numerators).
template <class Int> Int FloorDiv(Int numerator, Int denominator) {
    Int quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0)))
        --quotient;
    return quotient;
}

template <class Int> Int CeilDiv(Int numerator, Int denominator) {
    return -FloorDiv<Int>(-numerator, denominator);
}

// Calls plot(x, y) for the pixels of the line from a to b, a included and b left out, limited to
// the clip box. The pixels are those of the line taken from its top-left end, whatever the
// direction, so a segment drawn back and forth lights the same pixels. The arithmetic is exact for
// end points anywhere in the device range, however far outside the clip box; only the columns (or
// rows) inside the clip box are visited.
template <class PlotFn> void RasterizeLine(DevicePoint a, DevicePoint b, const CRect& clip, PlotFn plot) {
    if (a == b)
        return;
    // Every pixel lies within the end points' box: a line wholly outside the clip box costs nothing,
    // however many of them a figure of many points draws.
    if (std::max(a.x, b.x) < clip.left || std::min(a.x, b.x) >= clip.right || std::max(a.y, b.y) < clip.top ||
        std::min(a.y, b.y) >= clip.bottom)
        return;
    const bool xMajor = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    // Canonical end points: along the major axis from the smaller coordinate to the larger.
    const bool swapped = xMajor ? a.x > b.x : a.y > b.y;
    const DevicePoint p = swapped ? b : a;
    const DevicePoint q = swapped ? a : b;
    const std::int64_t dx = q.x - p.x;
    const std::int64_t dy = q.y - p.y;
    if (xMajor) {
        const std::int64_t first = std::max<std::int64_t>(p.x, clip.left);
        const std::int64_t last = std::min<std::int64_t>(q.x, clip.right - 1);
        for (std::int64_t x = first; x <= last; ++x) {
            const std::int64_t y = p.y + static_cast<std::int64_t>(FloorDiv<WideInt>(
                                             WideInt{2} * (x - p.x) * dy + dx, WideInt{2} * dx));
            if (y < clip.top || y >= clip.bottom || DevicePoint{x, y} == b)
                continue;
            plot(static_cast<int>(x), static_cast<int>(y));
        }
    } else {
        const std::int64_t first = std::max<std::int64_t>(p.y, clip.top);
        const std::int64_t last = std::min<std::int64_t>(q.y, clip.bottom - 1);
        for (std::int64_t y = first; y <= last; ++y) {
            const std::int64_t x = p.x + static_cast<std::int64_t>(FloorDiv<WideInt>(
                                             WideInt{2} * (y - p.y) * dx + dy, WideInt{2} * dy));
            if (x < clip.left || x >= clip.right || DevicePoint{x, y} == b)
                continue;
            plot(static_cast<int>(x), static_cast<int>(y));
        }
    }
}

// One polygon edge for the scanline fill: rows [yTop, yBottom) where x = x0 + (y - y0) * dx / dy.
struct Edge {
    std::int64_t yTop;
    std::int64_t yBottom;
    std::int64_t x0;
    std::int64_t y0;
    std::int64_t dx;
    std::int64_t dy; // > 0
};

// Calls span(y, xBegin, xEnd) for each row of the polygon's interior inside the clip box, by the
// alternate rule. A pixel counts when its corner point (x, y) lies inside, with points on a left
// or top edge inside and points on a right or bottom edge outside. Only the rows in the clip box
// are visited, and each row costs in proportion to the edges that cross it.
template <class SpanFn>
void RasterizePolygon(const std::vector<DevicePoint>& vertices, const CRect& clip, SpanFn span) {
    std::vector<Edge> edges;
    edges.reserve(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        DevicePoint p = vertices[i];
        DevicePoint q = vertices[(i + 1) % vertices.size()];
        if (p.y == q.y)
            continue;
        if (p.y > q.y)
            std::swap(p, q);
        // An edge that ends above the first row or starts below the last never crosses a row filled.
        if (q.y <= clip.top || p.y >= clip.bottom)
            continue;
        edges.push_back({p.y, q.y, p.x, p.y, q.x - p.x, q.y - p.y});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    std::vector<const Edge*> active;
    std::vector<std::int64_t> crossings;
    std::size_t next = 0;
    for (int y = clip.top; y < clip.bottom; ++y) {
        while (next < edges.size() && edges[next].yTop <= y)
            active.push_back(&edges[next++]);
        active.erase(
            std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->yBottom <= y; }),
            active.end());
        if (active.empty()) {
            if (next == edges.size())
                break;
            continue;
        }
        crossings.clear();
        for (const Edge* e : active) // first pixel column at or right of the crossing
            crossings.push_back(e->x0 + static_cast<std::int64_t>(
                                            CeilDiv<WideInt>(WideInt{y - e->y0} * e->dx, WideInt{e->dy})));
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const std::int64_t begin = std::max<std::int64_t>(crossings[k], clip.left);
            const std::int64_t end = std::min<std::int64_t>(crossings[k + 1], clip.right);
            if (begin < end)
                span(y, static_cast<int>(begin), static_cast<int>(end));
        }
    }
}

// The value nearest to `exact` among those with the parity of `parity` (the doubled coordinates
// of an ellipse step in twos from a centre that may lie between pixels).
int NearestWithParity(double exact, int parity);

// Appends the outline pixels of the ellipse inscribed in columns x0..x1 and rows y0..y1. Works in
// doubled coordinates so that a centre between pixels stays exact. The flat parts are sampled
// column by column and the steep parts row by row, which keeps the outline one pixel thin and
// closed; points are mirrored into the four quadrants (duplicates are removed by the caller).
void RasterizeEllipse(int x0, int y0, int x1, int y1, std::vector<CPoint>& out);

// Whether pixel offset (px, py) from the ellipse centre lies on the sweep that runs counter-clockwise
// on the screen from the start radial to the end radial (offsets in device pixels, y down).
bool OnSweep(double sx, double sy, double ex, double ey, double px, double py);

// The same shapes on a surface whose device pixel ratio is not 1, in logical positions (origin
// applied) turned into device pixels by the scale. Logical pixel l spans device r * l to
// r * (l + 1); a device pixel d is lit when its centre d + 0.5 lies in the shape, which is one
// logical pixel wide around its centre line.

// Appends the device pixels of the line from a to b, b's logical pixels left out.
void AppendScaledLine(CPoint a, CPoint b, const DeviceScale& scale, const CRect& clip,
                      std::vector<CPoint>& out);

// Appends the device pixels of the arc of the ellipse through the centres of the outer logical
// pixels of the rectangle (right and bottom exclusive), from the start radial to the end radial.
void AppendScaledEllipse(const CRect& bounds, CPoint start, CPoint end, const DeviceScale& scale,
                         const CRect& clip, std::vector<CPoint>& out);

// Calls span(y, xBegin, xEnd) for each device row of the polygon's interior inside the clip box,
// by the alternate rule: a device pixel counts when its centre, moved half a logical pixel up and
// left (the corner point of a ratio of 1), lies inside.
template <class SpanFn>
void RasterizeScaledPolygon(const std::vector<CPoint>& vertices, const DeviceScale& scale, const CRect& clip,
                            SpanFn span) {
    const double r = scale.Ratio();
    std::vector<double> crossings;
    for (int y = clip.top; y < clip.bottom; ++y) {
        const double ys = (y + 0.5) / r - 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            CPoint p = vertices[i];
            CPoint q = vertices[(i + 1) % vertices.size()];
            if (p.y == q.y)
                continue;
            if (p.y > q.y)
                std::swap(p, q);
            if (ys < p.y || ys >= q.y)
                continue;
            crossings.push_back(p.x + (ys - p.y) * (q.x - p.x) / (q.y - p.y));
        }
        std::sort(crossings.begin(), crossings.end());
        // The first device column whose sample point lies at or right of a crossing.
        auto column = [r](double x) { return std::ceil(r * (x + 0.5) - 0.5); };
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const double begin = std::max<double>(column(crossings[k]), clip.left);
            const double end = std::min<double>(column(crossings[k + 1]), clip.right);
            if (begin < end)
                span(y, static_cast<int>(begin), static_cast<int>(end));
        }
    }
}

} // namespace Raster
