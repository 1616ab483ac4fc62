#pragma once
// What the tracer's module gives the program: a picture made ready for tracing, and the two ways
// of tracing it (CurveTracer describes them). The module (StrokeTracer on OpenCV) is loaded the
// first time a curve is traced (EngineModule).

#include "extract/TraceResult.h"
#include "extract/TraceSettings.h"

#include <QImage>
#include <QRgb>

class CurveTracing {
public:
    virtual ~CurveTracing() = default;
    virtual TraceResult TraceFrom(QPoint start, const TraceSettings& settings) const = 0;
    virtual TraceResult TraceColour(QRgb colour, const TraceSettings& settings) const = 0;
};

// The module's maker of a tracing for a picture; null only when memory runs out.
using CurveTracingMaker = CurveTracing* (*)(const QImage& picture);
// Makes what the module makes once per run (colour tables), so that a first trace need not.
using CurveTracingPreparer = void (*)();
inline constexpr const char* kTracingModuleName = "tallyscope-extract";
inline constexpr const char* kTracingModuleFileName = "libtallyscope-extract.so";
inline constexpr const char* kTracingMakerName = "tallyscope_make_curve_tracing";
inline constexpr const char* kTracingPreparerName = "tallyscope_prepare_curve_tracing";
