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

} // namespace Raster
