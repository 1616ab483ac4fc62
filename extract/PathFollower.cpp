#include "extract/PathFollower.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace {

// Ink at or above this share counts as part of a stroke when looking around.
constexpr float kInkPresent = 0.3f;
// Arcs thinner than this (pixels of ink) are specks of noise, not strokes.
constexpr double kLeastArcWidth = 0.4;
// A way straight ahead may turn at most this much at a junction (degrees).
constexpr double kStraightAhead = 45.0;
// The only way on may turn at most this much (degrees): a hairpin, not a return along the stroke.
constexpr double kSharpestTurn = 150.0;
// How far sideways a bridge may look, per pixel of gap (tan 20 degrees).
constexpr double kBridgeSpread = 0.364;
// A piece of stroke found across a gap must run within this angle of the stroke (degrees).
constexpr double kBridgeAlignment = 35.0;
// Ink whose covariance is this much longer than wide runs one way: a stroke, not a blob.
constexpr double kElongated = 3.0;
// Steps back that are still the stroke just walked, not an earlier pass.
constexpr int kRecentSteps = 3;

double Length(QPointF vector) { return std::hypot(vector.x(), vector.y()); }
QPointF Unit(QPointF vector) {
    const double length = Length(vector);
    return length > 0 ? vector / length : QPointF(1, 0);
}
QPointF Normal(QPointF direction) { return {-direction.y(), direction.x()}; }
double Dot(QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); }
double AngleBetween(QPointF a, QPointF b) {
    return std::acos(std::clamp(Dot(a, b), -1.0, 1.0)) * 180.0 / std::numbers::pi;
}

// A run of ink met on a line across the stroke: its ink-weighted offset along the line, its width,
// and whether it reaches the end of the line looked at (so its true width is unknown).
struct InkRun {
    double offset = 0;
    double width = 0;
    bool clipped = false;
};

std::vector<InkRun> RunsAcross(const InkMap& ink, QPointF centre, QPointF across, double reach) {
    constexpr double kSampleStep = 0.5;
    const int samples = int(std::floor(2 * reach / kSampleStep)) + 1;
    std::vector<InkRun> runs;
    InkRun run;
    double weighted = 0;
    for (int i = 0; i <= samples; ++i) {
        const double offset = -reach + i * kSampleStep;
        const float value = i < samples ? ink.At(centre + across * offset) : 0.0f;
        if (value >= kInkPresent) {
            run.clipped = run.clipped || i == 0 || i == samples - 1;
            weighted += value * offset;
            run.width += value * kSampleStep;
            continue;
        }
        if (run.width > 0) {
            run.offset = weighted * kSampleStep / run.width;
            runs.push_back(run);
        }
        run = InkRun();
        weighted = 0;
    }
    return runs;
}

} // namespace

PathFollower::PathFollower(const InkMap& ink, const TraceSettings& settings) : m_ink(ink), m_settings(settings) {}

std::vector<QPointF> PathFollower::Follow(QPoint seed) {
    const std::optional<Start> start = FindStart(seed);
    if (!start)
        return {};
    std::vector<QPointF> line = Walk(*start, 0);
    std::reverse(line.begin(), line.end());
    const std::vector<QPointF> forward = Walk({start->centre, -start->direction}, 1);
    line.insert(line.end(), forward.begin() + 1, forward.end());
    return line;
}

// The start's direction is the long axis of the ink around it, looked at more widely until the
// ink is elongated (a thick stroke or a marker fills a small window evenly); the start is then
// centred across the stroke, whose width there sets the scale of everything after.
std::optional<PathFollower::Start> PathFollower::FindStart(QPoint seed) {
    const QPointF centre(seed.x() + 0.5, seed.y() + 0.5);
    for (const double radius : {4.0, 8.0, 16.0, 24.0}) {
        const std::optional<Axis> axis = LongAxis(centre, radius);
        if (!axis || axis->elongation < kElongated)
            continue;
        const QPointF across = Normal(axis->direction);
        const std::vector<InkRun> runs = RunsAcross(m_ink, centre, across, radius);
        const auto nearest = std::min_element(runs.begin(), runs.end(), [](const InkRun& a, const InkRun& b) {
            return std::abs(a.offset) < std::abs(b.offset);
        });
        if (nearest == runs.end())
            return std::nullopt;
        m_width = std::max(1.0, nearest->width);
        m_radius = std::clamp(1.5 * m_width + 1.5, 3.0, 24.0);
        return Start{CentreAcross(centre + across * nearest->offset, axis->direction), axis->direction};
    }
    return std::nullopt;
}

std::vector<QPointF> PathFollower::Walk(const Start& start, int walk) {
    std::vector<QPointF> places{start.centre};
    QPointF place = start.centre;
    QPointF direction = start.direction;
    QPointF previous = place - direction * m_radius;
    const QRect& bounds = m_ink.Bounds();
    const int mostSteps = int(4.0 * (bounds.width() + bounds.height()) / m_radius) + 100;
    for (int step = 1; step <= mostSteps; ++step) {
        const std::vector<Arc> ways = WaysOn(place, previous, walk, step);
        std::optional<Arc> way = ChooseArc(ways, direction, false);
        if (!way) {
            if (const std::optional<QPointF> landing = Bridge(place, direction, walk, step)) {
                previous = *landing - direction * m_radius;
                place = *landing;
                places.push_back(place);
                continue;
            }
            way = ChooseArc(ways, direction, true);
        }
        if (!way)
            break;
        const QPointF next = CentreAcross(way->point, Unit(way->point - place));
        MarkVisited(place, next, walk, step);
        previous = place;
        direction = Unit(next - place);
        place = next;
        places.push_back(place);
    }
    if (const std::optional<QPointF> tip = TipBeyond(place, direction))
        places.push_back(*tip);
    return places;
}

// The arcs of ink on the circle around centre, each with its ink-weighted direction.
std::vector<PathFollower::Arc> PathFollower::ArcsAround(QPointF centre, double radius) const {
    const int count = std::max(24, int(std::ceil(2 * std::numbers::pi * radius / 0.5)));
    const double arcStep = 2 * std::numbers::pi * radius / count;
    std::vector<float> ink(static_cast<size_t>(count));
    std::vector<QPointF> unit(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double angle = 2 * std::numbers::pi * i / count;
        unit[size_t(i)] = QPointF(std::cos(angle), std::sin(angle));
        ink[size_t(i)] = m_ink.At(centre + unit[size_t(i)] * radius);
    }
    // Start counting at a gap, so that no arc is split across the first sample.
    const auto gap = std::find_if(ink.begin(), ink.end(), [](float value) { return value < kInkPresent; });
    if (gap == ink.end()) {
        const double width = arcStep * std::accumulate(ink.begin(), ink.end(), 0.0);
        return {Arc{centre + QPointF(radius, 0), QPointF(1, 0), width}};
    }
    const int first = int(gap - ink.begin());
    std::vector<Arc> arcs;
    QPointF sum;
    double width = 0;
    for (int k = 1; k <= count; ++k) {
        const size_t i = size_t((first + k) % count);
        if (ink[i] >= kInkPresent) {
            sum += unit[i] * ink[i];
            width += ink[i] * arcStep;
            continue;
        }
        if (width >= kLeastArcWidth) {
            const QPointF direction = Unit(sum);
            arcs.push_back({centre + direction * radius, direction, width});
        }
        sum = QPointF();
        width = 0;
    }
    return arcs;
}

// The arcs around centre the stroke may go on by: not the one it came in by, nor one on a place
// walked before.
std::vector<PathFollower::Arc> PathFollower::WaysOn(QPointF centre, QPointF previous, int walk, int step) const {
    std::vector<Arc> arcs = ArcsAround(centre, m_radius);
    const QPointF back = Unit(previous - centre);
    const auto incoming = std::max_element(arcs.begin(), arcs.end(), [&](const Arc& a, const Arc& b) {
        return Dot(a.direction, back) < Dot(b.direction, back);
    });
    if (incoming != arcs.end() && AngleBetween(incoming->direction, back) < 80.0)
        arcs.erase(incoming);
    std::erase_if(arcs, [&](const Arc& arc) { return Visited(arc.point, walk, step); });
    return arcs;
}

// The only way on, if it turns no sharper than a hairpin; else the way most nearly straight ahead,
// if it is close enough. A way wider than the stroke (a marker, a blob where strokes meet) is taken
// only when asked for, after a bridge over it has failed.
std::optional<PathFollower::Arc> PathFollower::ChooseArc(const std::vector<Arc>& ways, QPointF direction,
                                                        bool acceptWide) const {
    if (ways.size() == 1 && AngleBetween(ways.front().direction, direction) <= kSharpestTurn &&
        (acceptWide || IsUsualWidth(ways.front().width)))
        return ways.front();
    if (acceptWide)
        return std::nullopt;
    std::optional<Arc> best;
    for (const Arc& way : ways) {
        const double turn = AngleBetween(way.direction, direction);
        if (turn <= kStraightAhead && IsUsualWidth(way.width) &&
            (!best || turn < AngleBetween(best->direction, direction)))
            best = way;
    }
    return best;
}

// Looks straight ahead, a pixel at a time up to the largest gap, across a fan that widens with the
// distance, for a piece of stroke of the usual width, running the same way, not walked before.
std::optional<QPointF> PathFollower::Bridge(QPointF centre, QPointF direction, int walk, int step) const {
    const QPointF across = Normal(direction);
    const QRectF reachable = QRectF(m_ink.Bounds()).adjusted(-1, -1, 1, 1);
    for (double distance = m_radius; distance <= m_settings.largestGap + m_radius; distance += 1.0) {
        const QPointF ahead = centre + direction * distance;
        if (!reachable.contains(ahead))
            break;
        const double reach = m_width / 2 + 1.5 + distance * kBridgeSpread;
        std::vector<InkRun> runs = RunsAcross(m_ink, ahead, across, reach + m_width + 2);
        std::sort(runs.begin(), runs.end(),
                  [](const InkRun& a, const InkRun& b) { return std::abs(a.offset) < std::abs(b.offset); });
        for (const InkRun& run : runs) {
            if (run.clipped || std::abs(run.offset) > reach || !IsUsualWidth(run.width))
                continue;
            const QPointF landing = CentreAcross(ahead + across * run.offset, direction);
            if (!Visited(landing, walk, step) && RunsAlong(landing, direction))
                return landing;
        }
    }
    return std::nullopt;
}

// The ink-weighted centre of the stroke across its width, in a short slab along direction through
// point; twice, since the first centre moves the slab.
QPointF PathFollower::CentreAcross(QPointF point, QPointF direction) const {
    const QPointF across = Normal(direction);
    const double halfWidth = m_width / 2 + 1.5;
    const int reach = int(std::ceil(halfWidth + 1.5));
    for (int pass = 0; pass < 2; ++pass) {
        const int px = int(std::floor(point.x()));
        const int py = int(std::floor(point.y()));
        double sum = 0, weighted = 0;
        for (int y = py - reach; y <= py + reach; ++y)
            for (int x = px - reach; x <= px + reach; ++x) {
                const QPointF offset = QPointF(x + 0.5, y + 0.5) - point;
                const double along = Dot(offset, direction);
                const double side = Dot(offset, across);
                if (std::abs(along) > 1.0 || std::abs(side) > halfWidth)
                    continue;
                const float ink = m_ink.At(x, y);
                sum += ink;
                weighted += ink * side;
            }
        if (sum <= 0)
            break;
        point += across * (weighted / sum);
    }
    return point;
}

// The long axis of the ink within radius of point (its ink-weighted covariance's first
// eigenvector) and how elongated the ink is (the ratio of the two eigenvalues).
std::optional<PathFollower::Axis> PathFollower::LongAxis(QPointF point, double radius) const {
    const int reach = int(std::ceil(radius));
    const int px = int(std::floor(point.x()));
    const int py = int(std::floor(point.y()));
    double sum = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int y = py - reach; y <= py + reach; ++y)
        for (int x = px - reach; x <= px + reach; ++x) {
            const double dx = x + 0.5 - point.x(), dy = y + 0.5 - point.y();
            if (dx * dx + dy * dy > radius * radius)
                continue;
            const double ink = m_ink.At(x, y);
            sum += ink;
            sx += ink * dx, sy += ink * dy;
            sxx += ink * dx * dx, syy += ink * dy * dy, sxy += ink * dx * dy;
        }
    if (sum < 1.0)
        return std::nullopt;
    const double mx = sx / sum, my = sy / sum;
    const double cxx = sxx / sum - mx * mx, cyy = syy / sum - my * my, cxy = sxy / sum - mx * my;
    const double middle = (cxx + cyy) / 2;
    const double spread = std::hypot((cxx - cyy) / 2, cxy);
    const double larger = middle + spread, smaller = std::max(middle - spread, 1e-3);
    const QPointF direction = std::abs(cxy) > 1e-9 ? Unit(QPointF(cxy, larger - cxx))
                              : cxx >= cyy         ? QPointF(1, 0)
                                                   : QPointF(0, 1);
    return Axis{direction, larger / smaller};
}

// Whether the ink around point is a stroke running along direction: elongated, and its long axis
// within the bridge's alignment of direction.
bool PathFollower::RunsAlong(QPointF point, QPointF direction) const {
    const std::optional<Axis> axis = LongAxis(point, std::max(3.0, m_width + 2.0));
    return axis && axis->elongation >= kElongated &&
           std::abs(Dot(axis->direction, direction)) >= std::cos(kBridgeAlignment * std::numbers::pi / 180.0);
}

// The end of the stroke past the last place: the farthest ink straight ahead within the circle,
// less half the stroke's width (the cap drawn round the end).
std::optional<QPointF> PathFollower::TipBeyond(QPointF centre, QPointF direction) const {
    double last = 0;
    for (double distance = 0.5; distance < m_radius; distance += 0.5) {
        if (m_ink.At(centre + direction * distance) < kInkPresent)
            break;
        last = distance;
    }
    const double reach = last - std::min(m_width / 2, last);
    if (reach < 0.75)
        return std::nullopt;
    return centre + direction * reach;
}

void PathFollower::MarkVisited(QPointF from, QPointF to, int walk, int step) {
    const double length = Length(to - from);
    const int pieces = std::max(1, int(std::ceil(length / 0.5)));
    for (int i = 0; i <= pieces; ++i) {
        const QPointF point = from + (to - from) * (double(i) / pieces);
        m_visits[Key(int(std::floor(point.x())), int(std::floor(point.y())))] = {walk, step};
    }
}

// Whether a place near point was walked before, other than in the last few steps of this walk.
bool PathFollower::Visited(QPointF point, int walk, int step) const {
    const double radius = m_width / 2 + 1.0;
    const int reach = int(std::ceil(radius));
    const int px = int(std::floor(point.x()));
    const int py = int(std::floor(point.y()));
    for (int y = py - reach; y <= py + reach; ++y)
        for (int x = px - reach; x <= px + reach; ++x) {
            const double dx = x + 0.5 - point.x(), dy = y + 0.5 - point.y();
            if (dx * dx + dy * dy > radius * radius)
                continue;
            const auto visit = m_visits.find(Key(x, y));
            if (visit != m_visits.end() && (visit->second.walk != walk || visit->second.step < step - kRecentSteps))
                return true;
        }
    return false;
}

// A way much thinner than the stroke is a fainter line of the same hue (a grey grid line beside a
// black curve); one much wider is a marker or strokes running together.
bool PathFollower::IsUsualWidth(double width) const { return width >= 0.5 * m_width && width <= 1.8 * m_width + 1.0; }

long long PathFollower::Key(int x, int y) const { return (long long)y * 1000003LL + x; }
