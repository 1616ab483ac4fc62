#include "extract/InkMap.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

InkMap::InkMap(const QImage& picture, const InkColours& colours, double tolerance, QRect bounds)
    : m_picture(picture), m_ink(colours, tolerance), m_bounds(bounds.intersected(picture.rect())) {
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

// Most pixels are told from the stroke by a projection; the few that may be ink are judged by
// their colour, all of a tile's together.
std::unique_ptr<float[]> InkMap::ComputeTile(int tileX, int tileY) const {
    auto ink = std::make_unique<float[]>(kTileSize * kTileSize);
    std::fill_n(ink.get(), kTileSize * kTileSize, 0.0f);
    const QRect area = QRect(tileX * kTileSize, tileY * kTileSize, kTileSize, kTileSize).intersected(m_bounds);
    std::vector<int> places; // indices in the tile
    std::vector<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* pixel = m_picture.constScanLine(y) + 3 * area.left();
        for (int x = area.left(); x <= area.right(); ++x, pixel += 3) {
            if (!m_ink.MayBeInk(pixel))
                continue;
            places.push_back((y - tileY * kTileSize) * kTileSize + (x - tileX * kTileSize));
            colours.push_back(qRgb(pixel[0], pixel[1], pixel[2]));
        }
    }
    if (colours.empty())
        return ink;
    const std::vector<float> values = m_ink.InkOf(colours);
    for (size_t i = 0; i < places.size(); ++i)
        ink[size_t(places[i])] = values[i];
    return ink;
}
