// The work of one mouse move over the picture: the length and the area of the last finished
// series, converted from scratch, for a series of 100,000 points.
#include "doc/CTallyscopeDoc.h"

#include <benchmark/benchmark.h>

static void BM_MeasureOnMouseMove(benchmark::State& state) {
    CTallyscopeDoc doc;
    CDataAxis& axis = doc.m_DataAxis;
    axis.m_Origin.m_nPixelX = 80;
    axis.m_Origin.m_nPixelY = 2000;
    axis.m_XAxis.m_nPixelX = 2000;
    axis.m_XAxis.m_nPixelY = 1990;
    axis.m_XAxis.m_dValueX = 50.0;
    axis.m_YAxis.m_nPixelX = 90;
    axis.m_YAxis.m_nPixelY = 60;
    axis.m_YAxis.m_dValueY = 1e3;
    axis.m_Origin.m_dValueY = 1.0;
    // A logarithmic axis adds a power of ten to every conversion: the costlier case.
    axis.m_bLogY = state.range(1) != 0 ? TRUE : FALSE;
    const int points = static_cast<int>(state.range(0));
    for (int k = 0; k < points; ++k)
        doc.m_DataSeries.AddData(80 + k % 1900, 60 + (k * 37) % 1900);
    doc.m_DataSeries.NewSeries();
    const int finished = doc.m_DataSeries.m_nCurrent - 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.GetLineLength(finished));
        benchmark::DoNotOptimize(doc.GetArea(finished));
    }
}
BENCHMARK(BM_MeasureOnMouseMove)
    ->ArgNames({"points", "logY"})
    ->Args({100'000, 0})
    ->Args({100'000, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
