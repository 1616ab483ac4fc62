// The .dat export of 10 series x 100,000 points, formatted and written to a file on disk.
#include "doc/CTallyscopeDoc.h"
#include "doc/DataFileWriter.h"
#include "platform/core/CStdioFile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {
constexpr int kSeries = 10;
constexpr int kPointsPerSeries = 100'000;

// An oblique, partly logarithmic calibration, so that every conversion step does real work.
void FillDocument(CTallyscopeDoc& doc) {
    CDataAxis& axis = doc.m_DataAxis;
    axis.m_Origin.m_nPixelX = 120;
    axis.m_Origin.m_nPixelY = 3900;
    axis.m_Origin.m_dValueX = 1.0;
    axis.m_Origin.m_dValueY = -5.0;
    axis.m_XAxis.m_nPixelX = 3900;
    axis.m_XAxis.m_nPixelY = 3850;
    axis.m_XAxis.m_dValueX = 1e4;
    axis.m_YAxis.m_nPixelX = 150;
    axis.m_YAxis.m_nPixelY = 100;
    axis.m_YAxis.m_dValueY = 250.0;
    axis.m_bLogX = TRUE;
    doc.m_bMeasureLength = TRUE;
    doc.m_bMeasureArea = TRUE;
    for (int s = 0; s < kSeries; ++s) {
        if (s > 0)
            doc.m_DataSeries.NewSeries();
        for (int k = 0; k < kPointsPerSeries; ++k)
            doc.m_DataSeries.AddData(100 + (k * 7 + s) % 3800, 100 + (k * 13 + s * 101) % 3800);
    }
}
} // namespace

static void BM_ExportMillionPoints(benchmark::State& state) {
    CTallyscopeDoc doc;
    FillDocument(doc);
    QTemporaryDir dir;
    const QByteArray path = dir.filePath("bench.dat").toUtf8();
    for (auto _ : state) {
        CStdioFile file;
        if (!file.Open(path.constData(), CFile::modeCreate | CFile::modeWrite)) {
            state.SkipWithError("cannot create the file");
            return;
        }
        DataFileWriter(doc, file).Write();
        if (!file.Close()) {
            state.SkipWithError("write failed");
            return;
        }
    }
    state.counters["points"] = kSeries * kPointsPerSeries;
}
BENCHMARK(BM_ExportMillionPoints)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
