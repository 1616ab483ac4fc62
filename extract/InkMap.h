#pragma once
// How much of each pixel one stroke colour covers, worked out lazily in tiles: a trace reads only
// the pixels near the stroke it follows, so a 100-megapixel scan is never converted whole.
//
// A pixel's ink is its share of the core colour in a blend of core and background (0 in pure
// background, about 1 in the core; a little above 1 where the core seen at the start was itself a
// blend). A pixel whose colour lies farther than the tolerance (CIELAB Delta E) from that blend,
// or whose share is below a third, has no ink: neighbouring curves, grid lines, axes and text of
// other colours, and the faint fringes of everything, read as background.
//
// Coordinates: pixel (i, j) covers [i, i + 1) x [j, j + 1); its centre is (i + 0.5, j + 0.5).

#include "extract/InkColours.h"

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
    const InkColours& Colours() const { return m_colours; }
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
    static constexpr int kBlendSteps = 64; // table entries per unit of share
    static constexpr float kLargestShare = 2.0f;

    const float* Tile(int tileX, int tileY) const;
    std::unique_ptr<float[]> ComputeTile(int tileX, int tileY) const;
    cv::Vec3f BlendLab(float share) const;

    const QImage& m_picture;
    InkColours m_colours;
    float m_tolerance;
    QRect m_bounds;
    cv::Vec3f m_direction;         // core minus background
    float m_inverseSquaredLength;  // 1 / |core - background|^2
    std::vector<cv::Vec3f> m_blendLab; // CIELAB of background + share * direction, share = i / kBlendSteps
    int m_tileColumns = 0;
    mutable std::vector<std::unique_ptr<float[]>> m_tiles;
};
