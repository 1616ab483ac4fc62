#include "model/Geometry.h"

#include <cmath>
#include <cstdint>

double PixelDistance(int x1, int y1, int x2, int y2) {
    const auto dx = static_cast<double>(static_cast<std::int64_t>(x1) - x2);
    const auto dy = static_cast<double>(static_cast<std::int64_t>(y1) - y2);
    return std::sqrt(dx * dx + dy * dy);
}

double PointDistance(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

double CrossProduct(double x0, double y0, double x1, double y1, double x2, double y2) {
    return (x1 - x0) * (y2 - y1) - (y1 - y0) * (x2 - x1);
}
