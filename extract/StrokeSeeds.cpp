#include "extract/StrokeSeeds.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Ink at or above this share is the stroke's own, not its fringe.
constexpr float kCoreShare = 0.5f;
constexpr double kShortestSpan = 4.0;
// Pieces are found on a mask of at most about this many pixels: a larger picture's mask is shrunk,
// each of its pixels standing for a square of the picture, which costs the search little and no
// stroke. The labelling writes four bytes a mask pixel; a batch runs it on every core at once,
// where memory traffic is what slows each core, so the mask is kept small.
constexpr double kMaskPixels = 1e6;

double Span(const cv::Mat& stats, int label) {
    return std::hypot(stats.at<int>(label, cv::CC_STAT_WIDTH), stats.at<int>(label, cv::CC_STAT_HEIGHT));
}

// A pixel of the piece labelled label in the middle column of its box: a connected piece covers
// every column between its leftmost and rightmost.
QPoint PixelOf(const cv::Mat& labels, const cv::Mat& stats, int label) {
    const int top = stats.at<int>(label, cv::CC_STAT_TOP), height = stats.at<int>(label, cv::CC_STAT_HEIGHT);
    const int middle = stats.at<int>(label, cv::CC_STAT_LEFT) + stats.at<int>(label, cv::CC_STAT_WIDTH) / 2;
    for (int y = top; y < top + height; ++y)
        if (labels.at<int>(y, middle) == label)
            return {middle, y};
    return {middle, top};
}

// The pixel of most ink in the square of the picture that a pixel of the shrunk mask stands for.
QPoint InkiestPixel(const InkMap& ink, QPoint maskPixel, int scale) {
    const QPoint corner = ink.Bounds().topLeft() + maskPixel * scale;
    QPoint inkiest = corner;
    for (int y = corner.y(); y < corner.y() + scale; ++y)
        for (int x = corner.x(); x < corner.x() + scale; ++x)
            if (ink.At(x, y) > ink.At(inkiest.x(), inkiest.y()))
                inkiest = QPoint(x, y);
    return inkiest;
}

} // namespace

std::vector<QPoint> StrokeSeeds(const InkMap& ink, int count) {
    const double pixels = double(ink.Bounds().width()) * ink.Bounds().height();
    const int scale = std::max(1, int(std::ceil(std::sqrt(pixels / kMaskPixels))));
    const cv::Mat mask = ink.Mask(kCoreShare, scale);
    cv::Mat labels, stats, centroids;
    const int pieces = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    std::vector<int> order(size_t(std::max(pieces - 1, 0)));
    std::iota(order.begin(), order.end(), 1); // label 0 is the background
    std::sort(order.begin(), order.end(), [&](int a, int b) { return Span(stats, a) > Span(stats, b); });
    std::vector<QPoint> seeds;
    for (const int label : order) {
        if (int(seeds.size()) == count || Span(stats, label) < kShortestSpan)
            break;
        seeds.push_back(InkiestPixel(ink, PixelOf(labels, stats, label), scale));
    }
    return seeds;
}
