#include "extract/CurveTracer.h"

#include "platform/core/EngineModule.h"

#include <new>

CurveTracer::CurveTracer(const QImage& picture) {
    const auto make = reinterpret_cast<CurveTracingMaker>(
        EngineModule::Function(kTracingModuleName, kTracingMakerName, &m_engineError));
    if (make == nullptr)
        return;
    m_tracing.reset(make(picture));
    if (m_tracing == nullptr)
        throw std::bad_alloc();
}

CurveTracer::~CurveTracer() = default;

void CurveTracer::Prepare() {
    if (const auto prepare =
            reinterpret_cast<CurveTracingPreparer>(EngineModule::Function(kTracingModuleName, kTracingPreparerName)))
        prepare();
}

TraceResult CurveTracer::TraceFrom(QPoint start, const TraceSettings& settings) const {
    return m_tracing ? m_tracing->TraceFrom(start, settings) : TraceResult{TraceOutcome::EngineMissing, {}};
}

TraceResult CurveTracer::TraceColour(QRgb colour, const TraceSettings& settings) const {
    return m_tracing ? m_tracing->TraceColour(colour, settings) : TraceResult{TraceOutcome::EngineMissing, {}};
}
