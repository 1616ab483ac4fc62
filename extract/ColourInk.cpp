#include "extract/ColourInk.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kLeastShare = 0.33f;
constexpr float kLargestShare = 2.0f;
constexpr float kShareMargin = 1e-3f;

cv::Vec3f ColourOf(QRgb rgb) { return {float(qRed(rgb)), float(qGreen(rgb)), float(qBlue(rgb))}; }

} // namespace

void ColourInk::PrepareTables() {
    static const bool made = [] {
        const cv::Mat grey(1, 1, CV_32FC3, cv::Scalar::all(0.5));
        cv::Mat lab;
        cv::cvtColor(grey, lab, cv::COLOR_RGB2Lab);
        return true;
    }();
    (void)made;
}

ColourInk::ColourInk(const InkColours& colours, double tolerance)
    : m_colours(colours), m_tolerance(float(tolerance)), m_direction(colours.core - colours.background) {
    PrepareTables();
    const float squaredLength = m_direction.dot(m_direction);
    m_inverseSquaredLength = squaredLength > 0 ? 1.0f / squaredLength : 0.0f;
    // With core and background alike nothing is ink: no projection reaches infinity.
    m_leastProjection = squaredLength > 0
                            ? colours.background.dot(m_direction) + (kLeastShare - kShareMargin) * squaredLength
                            : std::numeric_limits<float>::infinity();

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
}

// The share comes from projecting the colour onto the line from background to core in RGB, where
// anti-aliasing blends; whether the colour belongs is judged in CIELAB, where distance follows what
// the eye tells apart.
float ColourInk::Share(cv::Vec3f colour) const {
    return (colour - m_colours.background).dot(m_direction) * m_inverseSquaredLength;
}

float ColourInk::Judge(cv::Vec3f colour, const cv::Vec3f& lab) const {
    const float share = Share(colour);
    if (share < kLeastShare || m_inverseSquaredLength == 0)
        return 0.0f;
    const float clipped = std::min(share, kLargestShare);
    const cv::Vec3f& blend = m_blendLab[size_t(std::lround(clipped * kBlendSteps))];
    return cv::norm(lab - blend) <= m_tolerance ? clipped : 0.0f;
}

// The colours not seen before, converted to CIELAB together: one call to the converter for many.
std::vector<float> ColourInk::JudgeAll(const std::vector<QRgb>& unknown) const {
    cv::Mat rgb(1, int(unknown.size()), CV_8UC3);
    for (size_t i = 0; i < unknown.size(); ++i)
        rgb.at<cv::Vec3b>(0, int(i)) = cv::Vec3b(uchar(qRed(unknown[i])), uchar(qGreen(unknown[i])), uchar(qBlue(unknown[i])));
    cv::Mat lab;
    rgb.convertTo(lab, CV_32FC3, 1.0 / 255.0);
    cv::cvtColor(lab, lab, cv::COLOR_RGB2Lab);
    std::vector<float> ink(unknown.size());
    for (size_t i = 0; i < unknown.size(); ++i)
        ink[i] = Judge(ColourOf(unknown[i]), lab.at<cv::Vec3f>(0, int(i)));
    return ink;
}

std::vector<float> ColourInk::InkOf(const std::vector<QRgb>& colours) const {
    // One look-up a pixel: the known are taken at once, the rest judged together and filled in.
    std::vector<float> ink(colours.size());
    std::vector<size_t> unjudged;
    for (size_t i = 0; i < colours.size(); ++i) {
        const auto known = m_known.find(colours[i]);
        if (known != m_known.end())
            ink[i] = known->second;
        else
            unjudged.push_back(i);
    }
    if (unjudged.empty())
        return ink;
    std::vector<QRgb> unknown;
    for (const size_t i : unjudged)
        unknown.push_back(colours[i]);
    std::sort(unknown.begin(), unknown.end());
    unknown.erase(std::unique(unknown.begin(), unknown.end()), unknown.end());
    const std::vector<float> judged = JudgeAll(unknown);
    for (size_t i = 0; i < unknown.size() && m_known.size() < kMostKnown; ++i)
        m_known.emplace(unknown[i], judged[i]);
    for (const size_t i : unjudged)
        ink[i] = judged[size_t(std::lower_bound(unknown.begin(), unknown.end(), colours[i]) - unknown.begin())];
    return ink;
}
