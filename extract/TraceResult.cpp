#include "extract/TraceResult.h"

#include <cmath>

std::vector<QPoint> TraceResult::Pixels() const {
    std::vector<QPoint> pixels;
    for (const QPointF& point : points) {
        const QPoint pixel(int(std::floor(point.x())), int(std::floor(point.y())));
        if (pixels.empty() || pixels.back() != pixel)
            pixels.push_back(pixel);
    }
    return pixels;
}
