#include "model/CDataAxis.h"

#include "model/Geometry.h"

#include <cmath>

IMPLEMENT_SERIAL(CDataAxis, CObject, 0)

namespace {
void SetReference(CData& point, int x, int y, double valueX, double valueY) {
    point.m_nPixelX = x;
    point.m_nPixelY = y;
    point.m_dValueX = valueX;
    point.m_dValueY = valueY;
}

bool IsHit(const CData& point, int nX, int nY) {
    return PixelDistance(nX, nY, point.m_nPixelX, point.m_nPixelY) < kAxisHitTolerance;
}
} // namespace

CDataAxis::CDataAxis() { ResetAxis(); }

void CDataAxis::ResetAxis() {
    SetReference(m_Origin, 0, 0, 0.0, 0.0);
    SetReference(m_XAxis, 100, 0, 1.0, 0.0);
    SetReference(m_YAxis, 0, 100, 0.0, 1.0);
    m_bLogX = FALSE;
    m_bLogY = FALSE;
}

BOOL CDataAxis::SelectAxis(int nX, int nY) {
    if (IsHit(m_Origin, nX, nY)) {
        m_Origin.m_bSelected = TRUE;
        return TRUE;
    }
    m_Origin.m_bSelected = FALSE;
    if (IsHit(m_XAxis, nX, nY)) {
        m_XAxis.m_bSelected = TRUE;
        return TRUE;
    }
    m_XAxis.m_bSelected = FALSE;
    m_YAxis.m_bSelected = IsHit(m_YAxis, nX, nY) ? TRUE : FALSE;
    return m_YAxis.m_bSelected;
}

void CDataAxis::ClearSelection() {
    m_Origin.m_bSelected = FALSE;
    m_XAxis.m_bSelected = FALSE;
    m_YAxis.m_bSelected = FALSE;
}

CData* CDataAxis::GetSelectedAxis() {
    if (m_Origin.m_bSelected)
        return &m_Origin;
    if (m_XAxis.m_bSelected)
        return &m_XAxis;
    if (m_YAxis.m_bSelected)
        return &m_YAxis;
    return nullptr;
}

double CDataAxis::GetXSpan() const {
    if (m_bLogX)
        return std::log10(m_XAxis.m_dValueX) - std::log10(m_Origin.m_dValueX);
    return m_XAxis.m_dValueX - m_Origin.m_dValueX;
}

double CDataAxis::GetYSpan() const {
    if (m_bLogY)
        return std::log10(m_YAxis.m_dValueY) - std::log10(m_Origin.m_dValueY);
    return m_YAxis.m_dValueY - m_Origin.m_dValueY;
}
