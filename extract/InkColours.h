#pragma once
// The two colours an anti-aliased stroke is made of: its own core colour and the background it was
// drawn over. A pixel on the stroke's rim is a blend of the two in proportion to how much of the
// pixel the stroke covers, so both are needed to tell a rim pixel from a pixel of another colour.

#include <opencv2/core.hpp>

struct InkColours {
    cv::Vec3f core;       // red, green, blue in 0..255
    cv::Vec3f background; // red, green, blue in 0..255
};
