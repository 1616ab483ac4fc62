#pragma once
// What a trace gives back: how it ended and the curve's points. Shared by the tracer the program
// holds (CurveTracer) and the engine in its module (StrokeTracer).
//
// Coordinates: picture pixels, x to the right and y down, pixel (i, j) covering the square
// [i, i + 1) x [j, j + 1); a sub-pixel position p lies in the pixel (floor(p.x), floor(p.y)).

#include <QPoint>
#include <QPointF>

#include <vector>

enum class TraceOutcome {
    Traced,           // points holds the curve in path order
    NoCurveAtStart,   // the start pixel is background, or its colour forms no stroke
    NoCurveOfColour,  // no stroke of the colour anywhere (within the bounds)
    StartOutsidePicture,
    EngineMissing,    // the tracer's module cannot be loaded (CurveTracer::EngineError says why)
};

struct TraceResult {
    TraceOutcome outcome = TraceOutcome::NoCurveAtStart;
    // Centre-line positions, sub-pixel, in the order the curve is drawn; a function-like curve runs
    // left to right.
    std::vector<QPointF> points;
    // The same points as the picture pixels the document stores (each point's floor), with
    // consecutive repeats left out.
    std::vector<QPoint> Pixels() const;
};
