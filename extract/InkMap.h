#pragma once
// How much of each pixel one stroke colour covers (its colour's ink, ColourInk), worked out lazily
// in tiles: a trace reads only the pixels near the stroke it follows, so a 100-megapixel scan is
// never judged whole.
//
// Coordinates: pixel (i, j) covers [i, i + 1) x [j, j + 1); its centre is (i + 0.5, j + 0.5).

#include "extract/ColourInk.h"

#include <QImage>
#include <QPointF>
#include <QRect>

#include <memory>
#include <vector>

class InkMap {
public:
    // picture must be Format_RGB888 and outlive the map; bounds is clipped to the picture.
    InkMap(const QImage& picture, const InkColours& colours, double tolerance, QRect bounds);

    const QRect& Bounds() const { return m_bounds; }
    const InkColours& Colours() const { return m_ink.Colours(); }
    // The ink of pixel (x, y); 0 outside the bounds.
    float At(int x, int y) const;
    // The ink at a sub-pixel position, interpolated bilinearly between pixel centres.
    float At(QPointF position) const;
    // An 8-bit mask of the bounds shrunk by scale (a whole number), 255 where any of the pixels it
    // stands for has ink reaching the threshold; its pixel (0, 0) stands for the bounds' top-left
    // corner. The tiles it reads are not kept.
    cv::Mat Mask(float threshold, int scale) const;

private:
    static constexpr int kTileSize = 32;

    const float* Tile(int tileX, int tileY) const;
    std::unique_ptr<float[]> ComputeTile(int tileX, int tileY) const;

    const QImage& m_picture;
    ColourInk m_ink;
    QRect m_bounds;
    int m_tileColumns = 0;
    mutable std::vector<std::unique_ptr<float[]>> m_tiles;
};
