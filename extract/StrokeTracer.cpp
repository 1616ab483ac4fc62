#include "extract/StrokeTracer.h"

#include "extract/ColourInk.h"
#include "extract/InkMap.h"
#include "extract/PathFollower.h"
#include "extract/StrokeSampling.h"
#include "extract/StrokeSeeds.h"

#include <algorithm>
#include <new>
#include <cmath>

namespace {

// How many of the widest pieces of a colour are followed to find its longest stroke.
constexpr int kColourCandidates = 4;
// A trace snaps to the strongest ink this close to where the stroke's core was sampled.
constexpr int kSeedReach = 2;
constexpr float kSeedInk = 0.5f;
constexpr double kLeastSpacing = 0.5;

double PathLength(const std::vector<QPointF>& line) {
    double length = 0;
    for (size_t i = 1; i < line.size(); ++i)
        length += std::hypot(line[i].x() - line[i - 1].x(), line[i].y() - line[i - 1].y());
    return length;
}

// Points every spacing pixels along the line, from its first place to its last.
std::vector<QPointF> Resample(const std::vector<QPointF>& line, double spacing) {
    std::vector<QPointF> points{line.front()};
    double pending = spacing; // path still to go to the next point
    for (size_t i = 1; i < line.size(); ++i) {
        const QPointF from = line[i - 1], to = line[i];
        const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        double at = 0;
        while (length - at >= pending) {
            at += pending;
            points.push_back(from + (to - from) * (at / length));
            pending = spacing;
        }
        pending -= length - at;
    }
    const QPointF last = points.back() - line.back();
    if (std::hypot(last.x(), last.y()) > 0.5)
        points.push_back(line.back());
    return points;
}

// A curve read as a function runs left to right; one that comes back on itself keeps the order it
// was drawn in, from whichever end lies further left.
void RunLeftToRight(std::vector<QPointF>& line) {
    if (line.back().x() < line.front().x())
        std::reverse(line.begin(), line.end());
}

QRect BoundsOf(const QImage& picture, const TraceSettings& settings) {
    return settings.bounds ? settings.bounds->intersected(picture.rect()) : picture.rect();
}

// The pixel of most ink within reach of near, if any has enough.
std::optional<QPoint> StrongestInk(const InkMap& ink, QPoint near) {
    std::optional<QPoint> strongest;
    float most = kSeedInk;
    for (int y = near.y() - kSeedReach; y <= near.y() + kSeedReach; ++y)
        for (int x = near.x() - kSeedReach; x <= near.x() + kSeedReach; ++x)
            if (const float value = ink.At(x, y); value >= most) {
                most = value;
                strongest = QPoint(x, y);
            }
    return strongest;
}

TraceResult Traced(std::vector<QPointF> line, const TraceSettings& settings) {
    RunLeftToRight(line);
    return {TraceOutcome::Traced, Resample(line, std::max(settings.pointSpacing, kLeastSpacing))};
}

} // namespace

StrokeTracer::StrokeTracer(const QImage& picture)
    : m_picture(picture.format() == QImage::Format_RGB888 ? picture : picture.convertToFormat(QImage::Format_RGB888)) {}

TraceResult StrokeTracer::TraceFrom(QPoint start, const TraceSettings& settings) const {
    const QImage& picture = m_picture;
    if (!picture.rect().contains(start))
        return {TraceOutcome::StartOutsidePicture, {}};
    const QRect bounds = BoundsOf(picture, settings);
    const std::optional<StrokeSample> sample = bounds.contains(start) ? SampleStroke(picture, start) : std::nullopt;
    if (!sample)
        return {TraceOutcome::NoCurveAtStart, {}};
    const InkMap ink(picture, sample->colours, settings.colourTolerance, bounds);
    const std::optional<QPoint> seed = StrongestInk(ink, sample->core);
    if (!seed)
        return {TraceOutcome::NoCurveAtStart, {}};
    PathFollower follower(ink, settings);
    std::vector<QPointF> line = follower.Follow(*seed);
    if (line.size() < 2)
        return {TraceOutcome::NoCurveAtStart, {}};
    return Traced(std::move(line), settings);
}

TraceResult StrokeTracer::TraceColour(QRgb colour, const TraceSettings& settings) const {
    const QImage& picture = m_picture;
    const QRect bounds = BoundsOf(picture, settings);
    if (bounds.isEmpty())
        return {TraceOutcome::NoCurveOfColour, {}};
    // Every pixel of a large picture is not needed to find its commonest colour.
    const int step = std::max(1, int(std::sqrt(double(bounds.width()) * bounds.height() / 250000.0)));
    const cv::Vec3f core(qRed(colour), qGreen(colour), qBlue(colour));
    const InkColours colours{core, CommonColour(picture, bounds, step)};
    const InkMap ink(picture, colours, settings.colourTolerance, bounds);
    std::vector<QPointF> longest;
    for (const QPoint& seed : StrokeSeeds(ink, kColourCandidates)) {
        PathFollower follower(ink, settings);
        std::vector<QPointF> line = follower.Follow(seed);
        if (line.size() >= 2 && PathLength(line) > PathLength(longest))
            longest = std::move(line);
    }
    if (longest.empty())
        return {TraceOutcome::NoCurveOfColour, {}};
    return Traced(std::move(longest), settings);
}

extern "C" __attribute__((visibility("default"))) CurveTracing* tallyscope_make_curve_tracing(const QImage& picture) {
    try {
        return new StrokeTracer(picture);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

extern "C" __attribute__((visibility("default"))) void tallyscope_prepare_curve_tracing() {
    ColourInk::PrepareTables();
}
