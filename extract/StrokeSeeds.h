#pragma once
// Where the strokes of one colour may be started from: a pixel in each of the largest connected
// pieces of that colour, found with OpenCV's connected components on the ink mask.

#include "extract/InkMap.h"

#include <QPoint>

#include <vector>

// One pixel of each of the count pieces of ink that span the farthest, farthest first; pieces
// spanning fewer than a few pixels are left out.
std::vector<QPoint> StrokeSeeds(const InkMap& ink, int count);
