#include "TraceAccuracy.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Projection {
    double distance = std::numeric_limits<double>::infinity();
    double along = 0; // path length from the line's start
};

double Length(QPointF vector) { return std::hypot(vector.x(), vector.y()); }

class CentreLine {
public:
    explicit CentreLine(const std::vector<QPointF>& line) : m_line(line), m_along{0} {
        for (size_t i = 1; i < line.size(); ++i)
            m_along.push_back(m_along.back() + Length(line[i] - line[i - 1]));
    }
    double TotalLength() const { return m_along.back(); }

    // The nearest point of the line to point among the stretch [from, to] of path length.
    Projection Project(QPointF point, double from, double to) const {
        Projection best;
        const size_t first = size_t(std::lower_bound(m_along.begin(), m_along.end(), from) - m_along.begin());
        for (size_t i = first == 0 ? 1 : first; i < m_line.size() && m_along[i - 1] <= to; ++i) {
            const QPointF start = m_line[i - 1], segment = m_line[i] - start;
            const double squared = segment.x() * segment.x() + segment.y() * segment.y();
            const QPointF offset = point - start;
            const double t = squared > 0 ? std::clamp((offset.x() * segment.x() + offset.y() * segment.y()) / squared, 0.0, 1.0) : 0.0;
            const double distance = Length(point - (start + segment * t));
            if (distance < best.distance)
                best = {distance, m_along[i - 1] + t * std::sqrt(squared)};
        }
        return best;
    }

private:
    const std::vector<QPointF>& m_line;
    std::vector<double> m_along;
};

double Quantile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    const size_t index = std::min(values.size() - 1, size_t(share * double(values.size())));
    std::nth_element(values.begin(), values.begin() + long(index), values.end());
    return values[index];
}

QPointF PixelCentre(QPointF point) { return {std::floor(point.x()) + 0.5, std::floor(point.y()) + 0.5}; }

} // namespace

TraceAccuracy MeasureTrace(const std::vector<QPointF>& points, const std::vector<QPointF>& centreLine,
                           double pointSpacing) {
    TraceAccuracy accuracy;
    if (points.empty())
        return {0, 0, 1, 0, 0, false};
    const CentreLine line(centreLine);
    const double total = line.TotalLength();
    std::vector<double> distances, spacings;
    for (const QPointF& point : points)
        distances.push_back(line.Project(PixelCentre(point), 0, total).distance);

    // Order and coverage: each point is matched to the curve just ahead of the last one, so that a
    // point from another pass of a loop, or out of order, does not match.
    const double stride = 4 * pointSpacing + 30;
    double along = line.Project(points.front(), 0, total).along;
    double covered = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        spacings.push_back(Length(points[i] - points[i - 1]));
        const Projection next = line.Project(points[i], along - 2, along + stride);
        if (next.distance > 3 || next.along < along - 1)
            accuracy.inPathOrder = false;
        if (next.along > along && next.along - along <= 3 * pointSpacing)
            covered += next.along - along;
        along = std::max(along, next.along);
    }
    accuracy.medianDistance = Quantile(distances, 0.5);
    accuracy.distance95 = Quantile(distances, 0.95);
    accuracy.farShare = double(std::count_if(distances.begin(), distances.end(), [](double d) { return d > 2; })) /
                        double(distances.size());
    accuracy.coverage = covered / total;
    accuracy.medianSpacing = Quantile(spacings, 0.5);
    return accuracy;
}
