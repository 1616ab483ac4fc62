#include "view/LogicalClip.h"

#include <algorithm>

namespace {

// Products of the 34-bit differences met here need more than 64 bits.
using WideInt = __int128;

// numerator / denominator rounded to the nearest integer, halves upward; denominator > 0.
std::int64_t RoundedQuotient(WideInt numerator, WideInt denominator) {
    WideInt doubled = 2 * numerator + denominator;
    WideInt quotient = doubled / (2 * denominator);
    if (doubled % (2 * denominator) != 0 && doubled < 0)
        --quotient;
    return static_cast<std::int64_t>(quotient);
}

bool Inside(LogicalPoint p) {
    return p.x >= -kLogicalLimit && p.x <= kLogicalLimit && p.y >= -kLogicalLimit && p.y <= kLogicalLimit;
}

CPoint ToCPoint(LogicalPoint p) {
    return CPoint(static_cast<int>(p.x), static_cast<int>(p.y));
}

// A fraction t = num / den of the way along a segment, den > 0.
struct Fraction {
    WideInt num;
    WideInt den;
    bool operator<(const Fraction& other) const { return num * other.den < other.num * den; }
};

LogicalPoint PointAt(LogicalPoint a, LogicalPoint b, Fraction t) {
    return {a.x + RoundedQuotient(WideInt{b.x - a.x} * t.num, t.den),
            a.y + RoundedQuotient(WideInt{b.y - a.y} * t.num, t.den)};
}

// One side of the square: the points whose coordinate along `axis` (0 x, 1 y), times `sign`, is at
// most the limit.
struct Side {
    int axis;
    int sign;
    std::int64_t Along(LogicalPoint p) const { return sign * (axis == 0 ? p.x : p.y); }
    bool Keeps(LogicalPoint p) const { return Along(p) <= kLogicalLimit; }
    // Where the segment from p to q, which crosses this side, meets it.
    LogicalPoint Crossing(LogicalPoint p, LogicalPoint q) const {
        const WideInt num = kLogicalLimit - Along(p);
        const WideInt den = Along(q) - Along(p);
        LogicalPoint at = den > 0 ? PointAt(p, q, {num, den}) : PointAt(p, q, {-num, -den});
        // The crossing lies on the side itself, whatever the rounding of the other coordinate.
        (axis == 0 ? at.x : at.y) = sign * kLogicalLimit;
        return at;
    }
};

constexpr Side kSides[] = {{0, 1}, {0, -1}, {1, 1}, {1, -1}};

} // namespace

std::optional<std::pair<CPoint, CPoint>> ClipSegmentToLogicalLimit(LogicalPoint a, LogicalPoint b) {
    if (Inside(a) && Inside(b))
        return std::make_pair(ToCPoint(a), ToCPoint(b));
    // The segment's part inside runs from t0 to t1 (Liang and Barsky's clipping).
    Fraction t0{0, 1};
    Fraction t1{1, 1};
    for (const Side& side : kSides) {
        const std::int64_t from = side.Along(a);
        const std::int64_t to = side.Along(b);
        if (from == to) {
            if (from > kLogicalLimit)
                return std::nullopt;
            continue;
        }
        // The crossing with this side, as a fraction of the way from a to b.
        Fraction crossing{WideInt{kLogicalLimit} - from, WideInt{to} - from};
        if (crossing.den < 0)
            crossing = {-crossing.num, -crossing.den};
        if (to > from)
            t1 = std::min(t1, crossing);
        else
            t0 = std::max(t0, crossing);
    }
    if (t1 < t0)
        return std::nullopt;
    return std::make_pair(ToCPoint(PointAt(a, b, t0)), ToCPoint(PointAt(a, b, t1)));
}

// Sutherland and Hodgman's clipping, one side of the square at a time.
std::vector<CPoint> ClipPolygonToLogicalLimit(const std::vector<LogicalPoint>& vertices) {
    std::vector<LogicalPoint> polygon = vertices;
    if (!std::all_of(polygon.begin(), polygon.end(), Inside)) {
        std::vector<LogicalPoint> kept;
        for (const Side& side : kSides) {
            kept.clear();
            for (std::size_t i = 0; i < polygon.size(); ++i) {
                const LogicalPoint p = polygon[i];
                const LogicalPoint q = polygon[(i + 1) % polygon.size()];
                if (side.Keeps(p))
                    kept.push_back(p);
                if (side.Keeps(p) != side.Keeps(q))
                    kept.push_back(side.Crossing(p, q));
            }
            polygon.swap(kept);
        }
    }
    std::vector<CPoint> result;
    result.reserve(polygon.size());
    for (const LogicalPoint& p : polygon)
        result.push_back(ToCPoint(p));
    return result;
}
