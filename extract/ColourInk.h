#pragma once
// Whether a colour is the ink of one stroke, and how much: judged once per colour met. A chart holds
// few colours however many pixels it has (a scan's noise adds some thousands), so a map of a
// multi-megapixel picture converts a few thousand colours to CIELAB instead of every pixel that
// looks like ink; a second look at a colour is a table lookup.
//
// A colour's ink is its share of the core colour in a blend of core and background (0 in pure
// background, about 1 in the core; a little above 1 where the core seen at the start was itself a
// blend). A colour farther than the tolerance (CIELAB Delta E) from that blend, or whose share is
// below a third, has no ink: neighbouring curves, grid lines, axes and text of other colours, and
// the faint fringes of everything, read as background.

#include "extract/InkColours.h"

#include <QRgb>

#include <unordered_map>
#include <vector>

class ColourInk {
public:
    ColourInk(const InkColours& colours, double tolerance);

    // Has OpenCV make its CIELAB tables, once per run (about 0.1 s), with other threads waiting
    // meanwhile: OpenCV makes them at its first conversion without a guard, so two threads
    // converting for the first time at once could each read tables the other is half-way through
    // rewriting. Every ColourInk calls it; a run that knows it will trace calls it early, beside
    // its other work.
    static void PrepareTables();

    const InkColours& Colours() const { return m_colours; }
    // Whether a pixel (red, green, blue bytes) lies near enough to the core to be judged at all:
    // a projection, cheap enough for every pixel.
    bool MayBeInk(const uchar* pixel) const {
        return m_direction[0] * pixel[0] + m_direction[1] * pixel[1] + m_direction[2] * pixel[2] >= m_leastProjection;
    }
    // The ink of each colour, in the order given.
    std::vector<float> InkOf(const std::vector<QRgb>& colours) const;

private:
    static constexpr int kBlendSteps = 64; // table entries per unit of share
    // The most colours remembered: a noisy scan or a photograph can hold millions of colours near
    // the core, and the table stays within about ten megabytes; colours beyond it are judged again
    // each time they are met.
    static constexpr size_t kMostKnown = size_t{1} << 18;

    float Share(cv::Vec3f colour) const;
    float Judge(cv::Vec3f colour, const cv::Vec3f& lab) const;
    std::vector<float> JudgeAll(const std::vector<QRgb>& unknown) const;

    InkColours m_colours;
    float m_tolerance;
    cv::Vec3f m_direction;             // core minus background
    float m_inverseSquaredLength;      // 1 / |core - background|^2
    // The projection on the direction below which a colour has too little share to be judged; a
    // hair generous, so that rounding never turns away a colour the judgement would take.
    float m_leastProjection;
    std::vector<cv::Vec3f> m_blendLab; // CIELAB of background + share * direction, share = i / kBlendSteps
    mutable std::unordered_map<QRgb, float> m_known; // at most kMostKnown
};
