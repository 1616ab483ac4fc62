#pragma once
// The curve tracer: picture pixels in, ordered points out. It knows no window, no document and no
// framework; the view's trace mode and the command line both hand it a picture and a start (a pixel
// on the curve, or a colour) and give what it returns to the document as ordinary picks.
//
// Coordinates: picture pixels, x to the right and y down, pixel (i, j) covering the square
// [i, i + 1) x [j, j + 1); a sub-pixel position p lies in the pixel (floor(p.x), floor(p.y)).

#include "extract/TraceSettings.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <memory>
#include <vector>

enum class TraceOutcome {
    Traced,           // points holds the curve in path order
    NoCurveAtStart,   // the start pixel is background, or its colour forms no stroke
    NoCurveOfColour,  // no stroke of the colour anywhere (within the bounds)
    StartOutsidePicture,
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

class CurveTracer {
public:
    // Holds the picture in 24-bit rows (a picture already in them is shared, not copied); each trace
    // then converts to CIELAB only the tiles around the stroke it follows, so a trace costs what its
    // stroke costs, not what the picture does. The image is read, never changed; any format QImage
    // converts is accepted.
    explicit CurveTracer(const QImage& picture);
    ~CurveTracer();
    CurveTracer(const CurveTracer&) = delete;
    CurveTracer& operator=(const CurveTracer&) = delete;

    // Follows the stroke under start both ways to its ends. A start on the stroke's pale rim, or a
    // pixel or two beside a thin stroke, finds the stroke; a start on background finds nothing.
    TraceResult TraceFrom(QPoint start, const TraceSettings& settings) const;
    // Follows the longest stroke of the colour (0xRRGGBB): the widest-spanning pieces of the colour
    // are each followed, and the longest path wins. It reads every pixel within the bounds.
    TraceResult TraceColour(QRgb colour, const TraceSettings& settings) const;

private:
    struct Prepared;
    std::unique_ptr<Prepared> m_prepared;
};
