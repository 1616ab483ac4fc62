#include "platform/gdi/Rasteriser.h"

#include <cmath>

namespace Raster {

int NearestWithParity(double exact, int parity) {
    return parity + 2 * static_cast<int>(std::lround((exact - parity) / 2.0));
}

void RasterizeEllipse(int x0, int y0, int x1, int y1, std::vector<CPoint>& out) {
    const int a2 = x1 - x0; // doubled semi-axes
    const int b2 = y1 - y0;
    const int cx2 = x0 + x1; // doubled centre
    const int cy2 = y0 + y1;
    if (a2 == 0 || b2 == 0) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                out.emplace_back(x, y);
        return;
    }
    const double aa = static_cast<double>(a2) * a2;
    const double bb = static_cast<double>(b2) * b2;
    auto mirror = [&](int dx2, int dy2) {
        for (int sx : {-1, 1})
            for (int sy : {-1, 1})
                out.emplace_back((cx2 + sx * dx2) / 2, (cy2 + sy * dy2) / 2);
    };
    for (int dx2 = a2 % 2; dx2 <= a2; dx2 += 2) {
        const double t = static_cast<double>(dx2) / a2;
        const double dy2 = b2 * std::sqrt(std::max(0.0, 1.0 - t * t));
        if (bb * dx2 <= aa * dy2) // slope at most 1: flat part
            mirror(dx2, NearestWithParity(dy2, b2 % 2));
    }
    for (int dy2 = b2 % 2; dy2 <= b2; dy2 += 2) {
        const double t = static_cast<double>(dy2) / b2;
        const double dx2 = a2 * std::sqrt(std::max(0.0, 1.0 - t * t));
        if (aa * dy2 <= bb * dx2) // slope at least 1: steep part
            mirror(NearestWithParity(dx2, a2 % 2), dy2);
    }
}

bool OnSweep(double sx, double sy, double ex, double ey, double px, double py) {
    // Angles measured on the screen: flip y so that counter-clockwise is positive.
    const double start = std::atan2(static_cast<double>(-sy), static_cast<double>(sx));
    double end = std::atan2(static_cast<double>(-ey), static_cast<double>(ex));
    double at = std::atan2(static_cast<double>(-py), static_cast<double>(px));
    constexpr double kTurn = 2.0 * 3.14159265358979323846;
    while (end <= start)
        end += kTurn;
    while (at < start)
        at += kTurn;
    return at <= end;
}

namespace {

// The device rows (or columns) whose centres lie in [centre - half, centre + half).
std::pair<std::int64_t, std::int64_t> BandAround(double centre, double half) {
    return {static_cast<std::int64_t>(std::ceil(centre - half - 0.5)),
            static_cast<std::int64_t>(std::ceil(centre + half - 0.5))};
}

} // namespace

void AppendScaledLine(CPoint a, CPoint b, const DeviceScale& scale, const CRect& clip,
                      std::vector<CPoint>& out) {
    if (a == b)
        return;
    const double r = scale.Ratio();
    const bool xMajor = std::abs(std::int64_t{b.x} - a.x) >= std::abs(std::int64_t{b.y} - a.y);
    // The logical pixels along the major axis, b's left out; the centre line is taken from the
    // canonical (smaller) end, so a segment lights the same pixels drawn either way.
    const std::int64_t a0 = xMajor ? a.x : a.y;
    const std::int64_t b0 = xMajor ? b.x : b.y;
    const std::int64_t firstLogical = a0 < b0 ? a0 : b0 + 1;
    const std::int64_t endLogical = a0 < b0 ? b0 : a0 + 1;
    const CPoint p = (xMajor ? a.x <= b.x : a.y <= b.y) ? a : b;
    const CPoint q = p == a ? b : a;
    const double pMajor = r * ((xMajor ? p.x : p.y) + 0.5);
    const double pMinor = r * ((xMajor ? p.y : p.x) + 0.5);
    const double slope = xMajor ? static_cast<double>(std::int64_t{q.y} - p.y) / (std::int64_t{q.x} - p.x)
                                : static_cast<double>(std::int64_t{q.x} - p.x) / (std::int64_t{q.y} - p.y);
    const std::int64_t minorFirst = xMajor ? clip.top : clip.left;
    const std::int64_t minorEnd = xMajor ? clip.bottom : clip.right;
    const std::int64_t first =
        std::max<std::int64_t>(scale.FirstDeviceOf(firstLogical), xMajor ? clip.left : clip.top);
    const std::int64_t end =
        std::min<std::int64_t>(scale.FirstDeviceOf(endLogical), xMajor ? clip.right : clip.bottom);
    for (std::int64_t d = first; d < end; ++d) {
        const double centre = pMinor + (static_cast<double>(d) + 0.5 - pMajor) * slope;
        const auto [bandFirst, bandEnd] = BandAround(centre, r / 2.0);
        for (std::int64_t m = std::max(bandFirst, minorFirst); m < std::min(bandEnd, minorEnd); ++m) {
            if (xMajor)
                out.emplace_back(static_cast<int>(d), static_cast<int>(m));
            else
                out.emplace_back(static_cast<int>(m), static_cast<int>(d));
        }
    }
}

void AppendScaledEllipse(const CRect& bounds, CPoint start, CPoint end, const DeviceScale& scale,
                         const CRect& clip, std::vector<CPoint>& out) {
    const double r = scale.Ratio();
    const double centreX = (bounds.left + bounds.right) / 2.0; // logical
    const double centreY = (bounds.top + bounds.bottom) / 2.0;
    const double a = r * (bounds.right - 1 - bounds.left) / 2.0; // device semi-axes
    const double b = r * (bounds.bottom - 1 - bounds.top) / 2.0;
    const double sx = start.x - centreX;
    const double sy = start.y - centreY;
    const double ex = end.x - centreX;
    const double ey = end.y - centreY;
    const bool wholeEllipse = sx * ey - sy * ex == 0 && sx * ex + sy * ey >= 0;
    auto edge = [&scale](std::int64_t logical, int limit, bool low) {
        const std::int64_t device = scale.FirstDeviceOf(logical);
        return static_cast<int>(low ? std::max<std::int64_t>(device, limit)
                                    : std::min<std::int64_t>(device, limit));
    };
    const int left = edge(bounds.left, clip.left, true);
    const int right = edge(bounds.right, clip.right, false);
    const int top = edge(bounds.top, clip.top, true);
    const int bottom = edge(bounds.bottom, clip.bottom, false);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const double u = x + 0.5 - r * centreX;
            const double v = y + 0.5 - r * centreY;
            bool lit = true; // a flat ellipse is the whole rectangle
            if (a != 0 && b != 0) {
                // Distance from the centre line, to first order: g / |grad g| for the implicit form.
                const double g = (u * u) / (a * a) + (v * v) / (b * b) - 1.0;
                const double gradient =
                    2.0 * std::sqrt((u * u) / (a * a * a * a) + (v * v) / (b * b * b * b));
                const double distance = gradient > 0 ? g / gradient : -std::max(a, b);
                lit = distance >= -r / 2.0 && distance < r / 2.0;
            }
            if (lit && (wholeEllipse || OnSweep(sx, sy, ex, ey, u, v)))
                out.emplace_back(x, y);
        }
    }
}

} // namespace Raster
