#pragma once
// Where a trace learns its colours: the background as the commonest colour around a place, and a
// stroke's core colour as the strongest pixels near a click that lie on the blend from background
// towards the clicked colour, so that a click on a stroke's pale rim still finds its core and a
// neighbouring stroke of another colour is not mistaken for it.

#include "extract/InkColours.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

struct StrokeSample {
    InkColours colours;
    QPoint core; // a pixel of the stroke's core next to the click
};

// The commonest colour (by 5-bit channels) among every step-th pixel of area, averaged over its
// pixels. picture is Format_RGB888.
cv::Vec3f CommonColour(const QImage& picture, QRect area, int step);
// The stroke under or right next to click, or nothing when the click is on background.
std::optional<StrokeSample> SampleStroke(const QImage& picture, QPoint click);
// The CIELAB distance between two RGB colours (channels 0..255).
float DeltaE(cv::Vec3f first, cv::Vec3f second);
