#pragma once
// How a trace reads a picture: the settings the trace dialog edits, the work file keeps and the
// command line takes.

#include <QRect>

#include <optional>

struct TraceSettings {
    // Largest CIELAB distance (Delta E) from the stroke's core colour that still belongs to it. An
    // anti-aliased rim pixel is measured against the blend of core and background it would be
    // (so rims belong, and a neighbouring curve's rim does not).
    double colourTolerance = 20.0;
    // Pixels of path between two consecutive points.
    double pointSpacing = 5.0;
    // Longest gap along the curve's direction that is bridged (dashes, crossings, markers).
    double largestGap = 24.0;
    // When set, the trace stays inside this box of picture pixels (the reference points' box).
    std::optional<QRect> bounds;
};
