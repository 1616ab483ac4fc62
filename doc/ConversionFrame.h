#pragma once
// Pixel-to-chart conversion through the calibration, and the two measurements of a series built
// on it. A frame is computed once per operation (one export, one measurement) and then applied to
// every point, so the per-point work is a handful of multiplications.
//
// The axes may point in any direction and need not be perpendicular: a pixel is split into its
// oblique coordinates along the two axis directions (Cramer's rule), each scaled to the axis'
// span and shifted by its base; a logarithmic axis interpolates in log10 and is raised back with
// a power of ten at the end.

#include "model/CDataArray.h"
#include "model/CDataAxis.h"

struct ConversionFrame {
    explicit ConversionFrame(const CDataAxis& axis);

    int m_nOriginX = 0;
    int m_nOriginY = 0;
    BOOL m_bLogX = FALSE;
    BOOL m_bLogY = FALSE;
    // Pixel offsets from the origin to the X-axis point and to the Y-axis point, and their lengths.
    double m_dXAxisDX = 0.0;
    double m_dXAxisDY = 0.0;
    double m_dXAxisLength = 0.0;
    double m_dYAxisDX = 0.0;
    double m_dYAxisDY = 0.0;
    double m_dYAxisLength = 0.0;
    // Unit vectors towards the two axis points, and the determinant of the pair.
    double m_dUnitXx = 0.0;
    double m_dUnitXy = 0.0;
    double m_dUnitYx = 0.0;
    double m_dUnitYy = 0.0;
    double m_dDeterminant = 0.0;
    // Chart-value span of each axis (decades on a log axis) and the value at the origin (its log10
    // on a log axis).
    double m_dSpanX = 0.0;
    double m_dSpanY = 0.0;
    double m_dBaseX = 0.0;
    double m_dBaseY = 0.0;
};

struct ChartValue {
    double x = 0.0;
    double y = 0.0;
};

// The chart values of an image pixel. Never fails: an unusable frame gives non-finite values.
ChartValue ConvertPixel(const ConversionFrame& frame, int nPixelX, int nPixelY);

// Whether the calibration gives meaningful values: both spans non-zero, the axis directions not
// parallel, and the spans and bases finite. A NaN anywhere counts as unusable.
bool IsConvertible(const ConversionFrame& frame);

// Length of the open polyline through the points, in chart units; 0 below two points.
double MeasureLineLength(const ConversionFrame& frame, const CDataArray& series);
// Area of the polygon through the points (closed implicitly), in squared chart units; 0 below
// three points. Lobes travelled in opposite directions cancel.
double MeasureArea(const ConversionFrame& frame, const CDataArray& series);
