#include "extract/StrokeSampling.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>

namespace {

// A click this far (Delta E) from the background is on something drawn.
constexpr float kInkContrast = 12.0f;
// How far around the click the background is judged, and the stroke's core looked for.
constexpr int kBackgroundReach = 20;
constexpr int kSnapReach = 2;
constexpr int kCoreReach = 5;

cv::Vec3f PixelAt(const QImage& picture, QPoint point) {
    const uchar* pixel = picture.constScanLine(point.y()) + 3 * point.x();
    return {float(pixel[0]), float(pixel[1]), float(pixel[2])};
}

QRect Around(QPoint centre, int reach) {
    return QRect(centre.x() - reach, centre.y() - reach, 2 * reach + 1, 2 * reach + 1);
}

// The pixel within reach of click that stands out most from the background, if any does.
std::optional<QPoint> StrongestNear(const QImage& picture, QPoint click, cv::Vec3f background) {
    std::optional<QPoint> strongest;
    float strongestContrast = kInkContrast;
    const QRect area = Around(click, kSnapReach).intersected(picture.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const float contrast = DeltaE(PixelAt(picture, {x, y}), background);
            if (contrast >= strongestContrast) {
                strongestContrast = contrast;
                strongest = QPoint(x, y);
            }
        }
    return strongest;
}

// The mean of the pixels near centre that lie on the blend from background towards direction and
// reach at least 85 % of the farthest of them along it; the farthest one nearest centre goes to
// core.
cv::Vec3f CoreAlong(const QImage& picture, QPoint centre, cv::Vec3f background, cv::Vec3f direction, QPoint& core) {
    const QRect area = Around(centre, kCoreReach).intersected(picture.rect());
    struct Candidate { QPoint point; cv::Vec3f colour; float along; };
    std::vector<Candidate> candidates;
    float farthest = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const cv::Vec3f colour = PixelAt(picture, {x, y});
            const cv::Vec3f offset = colour - background;
            const float along = offset.dot(direction);
            const float across = float(cv::norm(offset - direction * along));
            if (along <= 0 || across > 0.3f * along + 8.0f)
                continue;
            candidates.push_back({{x, y}, colour, along});
            farthest = std::max(farthest, along);
        }
    cv::Vec3f sum(0, 0, 0);
    int count = 0;
    int nearest = INT_MAX;
    for (const Candidate& candidate : candidates) {
        if (candidate.along < 0.85f * farthest)
            continue;
        sum += candidate.colour;
        ++count;
        const int distance = (candidate.point - centre).manhattanLength();
        if (distance < nearest) {
            nearest = distance;
            core = candidate.point;
        }
    }
    return sum / float(std::max(count, 1));
}

cv::Vec3f Normalised(cv::Vec3f vector) {
    const double length = cv::norm(vector);
    return length > 0 ? vector / float(length) : vector;
}

} // namespace

float DeltaE(cv::Vec3f first, cv::Vec3f second) {
    cv::Mat colours(1, 2, CV_32FC3);
    colours.at<cv::Vec3f>(0, 0) = first / 255.0f;
    colours.at<cv::Vec3f>(0, 1) = second / 255.0f;
    cv::cvtColor(colours, colours, cv::COLOR_RGB2Lab);
    return float(cv::norm(colours.at<cv::Vec3f>(0, 0) - colours.at<cv::Vec3f>(0, 1)));
}

cv::Vec3f CommonColour(const QImage& picture, QRect area, int step) {
    area = area.intersected(picture.rect());
    struct Bin { cv::Vec3f sum = {0, 0, 0}; int count = 0; };
    std::unordered_map<int, Bin> bins;
    for (int y = area.top(); y <= area.bottom(); y += step) {
        const uchar* pixel = picture.constScanLine(y) + 3 * area.left();
        for (int x = area.left(); x <= area.right(); x += step, pixel += 3 * step) {
            Bin& bin = bins[(pixel[0] >> 3) << 10 | (pixel[1] >> 3) << 5 | pixel[2] >> 3];
            bin.sum += cv::Vec3f(pixel[0], pixel[1], pixel[2]);
            ++bin.count;
        }
    }
    const Bin* commonest = nullptr;
    for (const auto& [key, bin] : bins)
        if (!commonest || bin.count > commonest->count)
            commonest = &bin;
    return commonest ? commonest->sum / float(commonest->count) : cv::Vec3f(255, 255, 255);
}

std::optional<StrokeSample> SampleStroke(const QImage& picture, QPoint click) {
    const cv::Vec3f background = CommonColour(picture, Around(click, kBackgroundReach), 1);
    const std::optional<QPoint> start = DeltaE(PixelAt(picture, click), background) >= kInkContrast
                                            ? std::optional<QPoint>(click)
                                            : StrongestNear(picture, click, background);
    if (!start)
        return std::nullopt;
    // Twice: the clicked pixel may be a faint rim whose own direction from the background is noisy;
    // the core found the first time gives a steadier one.
    StrokeSample sample{{PixelAt(picture, *start), background}, *start};
    for (int pass = 0; pass < 2; ++pass) {
        const cv::Vec3f direction = Normalised(sample.colours.core - background);
        sample.colours.core = CoreAlong(picture, *start, background, direction, sample.core);
    }
    return sample;
}
