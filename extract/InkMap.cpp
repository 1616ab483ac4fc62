#include "extract/InkMap.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kLeastShare = 0.33f;

cv::Vec3f PixelAt(const uchar* pixel) { return {float(pixel[0]), float(pixel[1]), float(pixel[2])}; }

} // namespace

InkMap::InkMap(const QImage& picture, const InkColours& colours, double tolerance, QRect bounds)
    : m_picture(picture), m_colours(colours), m_tolerance(float(tolerance)),
      m_bounds(bounds.intersected(picture.rect())), m_direction(colours.core - colours.background) {
    const float squaredLength = m_direction.dot(m_direction);
    m_inverseSquaredLength = squaredLength > 0 ? 1.0f / squaredLength : 0.0f;

    // The blend's colours, clipped to what a pixel can hold, converted to CIELAB once.
    const int entries = int(kLargestShare * kBlendSteps) + 1;
    cv::Mat blend(1, entries, CV_32FC3);
    for (int i = 0; i < entries; ++i) {
        cv::Vec3f colour = colours.background + m_direction * (float(i) / kBlendSteps);
        for (int channel = 0; channel < 3; ++channel)
            colour[channel] = std::clamp(colour[channel], 0.0f, 255.0f) / 255.0f;
        blend.at<cv::Vec3f>(0, i) = colour;
    }
    cv::cvtColor(blend, blend, cv::COLOR_RGB2Lab);
    m_blendLab.assign(blend.begin<cv::Vec3f>(), blend.end<cv::Vec3f>());

    m_tileColumns = (picture.width() + kTileSize - 1) / kTileSize;
    const int tileRows = (picture.height() + kTileSize - 1) / kTileSize;
    m_tiles.resize(size_t(m_tileColumns) * size_t(tileRows));
}

float InkMap::At(int x, int y) const {
    if (!m_bounds.contains(x, y))
        return 0.0f;
    const float* tile = Tile(x / kTileSize, y / kTileSize);
    return tile[(y % kTileSize) * kTileSize + x % kTileSize];
}

float InkMap::At(QPointF position) const {
    const double fx = position.x() - 0.5;
    const double fy = position.y() - 0.5;
    const int x = int(std::floor(fx));
    const int y = int(std::floor(fy));
    const float tx = float(fx - x);
    const float ty = float(fy - y);
    const float top = At(x, y) * (1 - tx) + At(x + 1, y) * tx;
    const float bottom = At(x, y + 1) * (1 - tx) + At(x + 1, y + 1) * tx;
    return top * (1 - ty) + bottom * ty;
}

cv::Mat InkMap::Mask(float threshold, int scale) const {
    cv::Mat mask = cv::Mat::zeros((std::max(m_bounds.height(), 0) + scale - 1) / scale,
                                  (std::max(m_bounds.width(), 0) + scale - 1) / scale, CV_8U);
    for (int tileY = m_bounds.top() / kTileSize; tileY <= m_bounds.bottom() / kTileSize; ++tileY)
        for (int tileX = m_bounds.left() / kTileSize; tileX <= m_bounds.right() / kTileSize; ++tileX) {
            const std::unique_ptr<float[]>& kept = m_tiles[size_t(tileY) * size_t(m_tileColumns) + size_t(tileX)];
            const std::unique_ptr<float[]> made = kept ? nullptr : ComputeTile(tileX, tileY);
            const float* ink = kept ? kept.get() : made.get();
            for (int i = 0; i < kTileSize * kTileSize; ++i) {
                if (ink[i] < threshold)
                    continue;
                const int x = tileX * kTileSize + i % kTileSize - m_bounds.left();
                const int y = tileY * kTileSize + i / kTileSize - m_bounds.top();
                mask.at<uchar>(y / scale, x / scale) = 255;
            }
        }
    return mask;
}

const float* InkMap::Tile(int tileX, int tileY) const {
    std::unique_ptr<float[]>& tile = m_tiles[size_t(tileY) * size_t(m_tileColumns) + size_t(tileX)];
    if (!tile)
        tile = ComputeTile(tileX, tileY);
    return tile.get();
}

cv::Vec3f InkMap::BlendLab(float share) const {
    const int index = int(std::lround(std::min(share, kLargestShare) * kBlendSteps));
    return m_blendLab[size_t(index)];
}

// The share comes from projecting the pixel onto the line from background to core in RGB, where
// anti-aliasing blends; whether the pixel belongs is judged in CIELAB, where distance follows what
// the eye tells apart. Only the pixels whose share is large enough are converted.
std::unique_ptr<float[]> InkMap::ComputeTile(int tileX, int tileY) const {
    auto ink = std::make_unique<float[]>(kTileSize * kTileSize);
    std::fill_n(ink.get(), kTileSize * kTileSize, 0.0f);
    const QRect area = QRect(tileX * kTileSize, tileY * kTileSize, kTileSize, kTileSize).intersected(m_bounds);
    if (area.isEmpty() || m_inverseSquaredLength == 0)
        return ink;

    cv::Mat shares(area.height(), area.width(), CV_32F);
    bool anyInk = false;
    for (int y = 0; y < area.height(); ++y) {
        const uchar* pixel = m_picture.constScanLine(area.top() + y) + 3 * area.left();
        float* share = shares.ptr<float>(y);
        for (int x = 0; x < area.width(); ++x, pixel += 3) {
            share[x] = (PixelAt(pixel) - m_colours.background).dot(m_direction) * m_inverseSquaredLength;
            anyInk = anyInk || share[x] >= kLeastShare;
        }
    }
    if (!anyInk)
        return ink;

    const cv::Mat rgb(area.height(), area.width(), CV_8UC3,
                      const_cast<uchar*>(m_picture.constScanLine(area.top()) + 3 * area.left()),
                      size_t(m_picture.bytesPerLine()));
    cv::Mat lab;
    rgb.convertTo(lab, CV_32FC3, 1.0 / 255.0);
    cv::cvtColor(lab, lab, cv::COLOR_RGB2Lab);
    for (int y = 0; y < area.height(); ++y) {
        const float* share = shares.ptr<float>(y);
        const cv::Vec3f* colour = lab.ptr<cv::Vec3f>(y);
        float* row = ink.get() + (area.top() - tileY * kTileSize + y) * kTileSize + (area.left() - tileX * kTileSize);
        for (int x = 0; x < area.width(); ++x) {
            if (share[x] < kLeastShare)
                continue;
            const float clipped = std::min(share[x], kLargestShare);
            if (cv::norm(colour[x] - BlendLab(clipped)) <= m_tolerance)
                row[x] = clipped;
        }
    }
    return ink;
}
