#pragma once
// The curve tracer: picture pixels in, ordered points out. It knows no window and no document; the
// view's trace mode and the command line both hand it a picture and a start (a pixel
// on the curve, or a colour) and give what it returns to the document as ordinary picks.
//
// The engine itself lives in a module loaded at the first trace (CurveTracing); coordinates are as
// TraceResult.h gives them.

#include "extract/CurveTracing.h"

#include <QImage>
#include <QString>

#include <memory>

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

    // Loads the tracer's module and makes what it makes once per run, so that the first trace
    // finds it done: a run that knows it will trace calls this beside its other work (reading the
    // picture). Safe on any thread; does nothing more when called again, nor when the module is
    // missing (the trace then says so).
    static void Prepare();

    // Why the tracer's module could not be loaded, when a trace ends EngineMissing.
    const QString& EngineError() const { return m_engineError; }

private:
    std::unique_ptr<CurveTracing> m_tracing;
    QString m_engineError;
};
