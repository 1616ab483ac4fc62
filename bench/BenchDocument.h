#pragma once
// The points and calibration the interaction benchmarks run with, in the document of the running
// program: bench_mouse_move in process, and the interaction probe under a real display.

#include "doc/CTallyscopeDoc.h"

#include <cmath>

// The last finished series (the one the status bar measures) with the given number of points on a
// wavy curve, then a current series with a few points; an oblique, logarithmic calibration.
inline void FillDocument(CTallyscopeDoc& doc, int points) {
    CDataAxis& axis = doc.m_DataAxis;
    axis.m_Origin.m_nPixelX = 60;
    axis.m_Origin.m_nPixelY = 850;
    axis.m_Origin.m_dValueY = 1.0;
    axis.m_XAxis.m_nPixelX = 1150;
    axis.m_XAxis.m_nPixelY = 840;
    axis.m_XAxis.m_dValueX = 100.0;
    axis.m_YAxis.m_nPixelX = 70;
    axis.m_YAxis.m_nPixelY = 40;
    axis.m_YAxis.m_dValueY = 1e4;
    axis.m_bLogY = TRUE;
    for (int k = 0; k < points; ++k)
        doc.m_DataSeries.AddData(60 + k % 1090, 450 + static_cast<int>(300 * std::sin(k / 40.0)));
    doc.m_DataSeries.NewSeries();
    for (int k = 0; k < 10; ++k)
        doc.m_DataSeries.AddData(100 + 50 * k, 200 + 10 * k);
    doc.m_bMeasureLength = TRUE;
    doc.m_bMeasureArea = TRUE;
}
