#pragma once
// The tracing engine, in the tracer's module: follows strokes on OpenCV's colour conversion and
// connected components (InkMap, StrokeSeeds, PathFollower). CurveTracer tells what each trace does.

#include "extract/CurveTracing.h"

class StrokeTracer final : public CurveTracing {
public:
    explicit StrokeTracer(const QImage& picture);

    TraceResult TraceFrom(QPoint start, const TraceSettings& settings) const override;
    TraceResult TraceColour(QRgb colour, const TraceSettings& settings) const override;

private:
    QImage m_picture; // Format_RGB888
};
