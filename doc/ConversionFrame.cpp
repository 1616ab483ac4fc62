#include "doc/ConversionFrame.h"

#include "model/Geometry.h"

#include <cmath>
#include <cstdint>

namespace {
// Pixel differences are taken in 64 bits and only then turned into doubles, so that positions
// anywhere in the 32-bit range give the exact difference instead of wrapping.
double PixelDifference(int to, int from) {
    return static_cast<double>(static_cast<std::int64_t>(to) - static_cast<std::int64_t>(from));
}

double AxisBase(double originValue, BOOL bLog) {
    return bLog ? std::log10(originValue) : originValue;
}

// A comparison with NaN is false, so "!= 0.0" alone would let a NaN through.
bool IsNonZero(double value) {
    return !std::isnan(value) && value != 0.0;
}

ChartValue ConvertPoint(const ConversionFrame& frame, const CDataArray& series, int nIndex) {
    const CData* point = series.GetData(nIndex);
    return ConvertPixel(frame, point->m_nPixelX, point->m_nPixelY);
}
} // namespace

ConversionFrame::ConversionFrame(const CDataAxis& axis)
    : m_nOriginX(axis.m_Origin.m_nPixelX), m_nOriginY(axis.m_Origin.m_nPixelY), m_bLogX(axis.m_bLogX),
      m_bLogY(axis.m_bLogY) {
    m_dXAxisDX = PixelDifference(axis.m_XAxis.m_nPixelX, m_nOriginX);
    m_dXAxisDY = PixelDifference(axis.m_XAxis.m_nPixelY, m_nOriginY);
    m_dXAxisLength = std::sqrt(m_dXAxisDX * m_dXAxisDX + m_dXAxisDY * m_dXAxisDY);
    m_dYAxisDX = PixelDifference(axis.m_YAxis.m_nPixelX, m_nOriginX);
    m_dYAxisDY = PixelDifference(axis.m_YAxis.m_nPixelY, m_nOriginY);
    m_dYAxisLength = std::sqrt(m_dYAxisDX * m_dYAxisDX + m_dYAxisDY * m_dYAxisDY);
    m_dUnitXx = m_dXAxisDX / m_dXAxisLength;
    m_dUnitXy = m_dXAxisDY / m_dXAxisLength;
    m_dUnitYx = m_dYAxisDX / m_dYAxisLength;
    m_dUnitYy = m_dYAxisDY / m_dYAxisLength;
    m_dDeterminant = m_dUnitXx * m_dUnitYy - m_dUnitYx * m_dUnitXy;
    m_dSpanX = axis.GetXSpan();
    m_dSpanY = axis.GetYSpan();
    m_dBaseX = AxisBase(axis.m_Origin.m_dValueX, m_bLogX);
    m_dBaseY = AxisBase(axis.m_Origin.m_dValueY, m_bLogY);
}

ChartValue ConvertPixel(const ConversionFrame& frame, int nPixelX, int nPixelY) {
    const double dx = PixelDifference(nPixelX, frame.m_nOriginX);
    const double dy = PixelDifference(nPixelY, frame.m_nOriginY);
    const double r = 1.0 / frame.m_dDeterminant;
    const double alpha = (frame.m_dUnitYy * dx - frame.m_dUnitYx * dy) * r;
    const double beta = (frame.m_dUnitXx * dy - frame.m_dUnitXy * dx) * r;
    // Divide by the axis length, multiply by the span, add the base, always in this order: exported
    // files then stay the same to the last digit from one version of the program to the next.
    const double x = alpha / frame.m_dXAxisLength * frame.m_dSpanX + frame.m_dBaseX;
    const double y = beta / frame.m_dYAxisLength * frame.m_dSpanY + frame.m_dBaseY;
    return {frame.m_bLogX ? std::pow(10.0, x) : x, frame.m_bLogY ? std::pow(10.0, y) : y};
}

bool IsConvertible(const ConversionFrame& frame) {
    // A log axis with a value of 0 at one end has an infinite span or base: every value on that
    // axis would come out 0, infinite or NaN, so such a calibration is refused like a zero span.
    if (!std::isfinite(frame.m_dSpanX) || !std::isfinite(frame.m_dSpanY) || !std::isfinite(frame.m_dBaseX) ||
        !std::isfinite(frame.m_dBaseY))
        return false;
    return IsNonZero(frame.m_dSpanX) && IsNonZero(frame.m_dSpanY) && IsNonZero(frame.m_dDeterminant);
}

double MeasureLineLength(const ConversionFrame& frame, const CDataArray& series) {
    const int count = series.m_aData.GetSize();
    if (count - 1 < 1)
        return 0.0;
    ChartValue previous = ConvertPoint(frame, series, 0);
    double sum = 0.0;
    for (int k = 1; k < count; ++k) {
        const ChartValue current = ConvertPoint(frame, series, k);
        sum += PointDistance(previous.x, previous.y, current.x, current.y);
        previous = current;
    }
    return sum;
}

double MeasureArea(const ConversionFrame& frame, const CDataArray& series) {
    const int count = series.m_aData.GetSize();
    if (count - 1 < 2)
        return 0.0;
    const ChartValue first = ConvertPoint(frame, series, 0);
    ChartValue q = ConvertPoint(frame, series, 1);
    double sum = 0.0;
    for (int k = 2; k < count; ++k) {
        const ChartValue p = ConvertPoint(frame, series, k);
        sum += 0.5 * CrossProduct(first.x, first.y, q.x, q.y, p.x, p.y);
        q = p;
    }
    // The sign is dropped once, at the end, so either direction of travel gives the same area.
    return std::fabs(sum);
}
