#pragma once
// The calibration: the origin, a point on the X axis and a point on the Y axis, each with its
// pixel position and chart value, and whether each axis is logarithmic (base 10).

#include "model/CData.h"

class CDataAxis : public CObject {
    DECLARE_SERIAL(CDataAxis)
public:
    CDataAxis();
    ~CDataAxis() override = default;

    // Origin (0, 0) = 0/0, X-axis point (100, 0) = 1, Y-axis point (0, 100) = 1, both linear.
    // The selection flags are left as they are.
    void ResetAxis();
    // Reference point hit test: the origin wins over the X-axis point, which wins over the Y-axis
    // point, whichever is nearer.
    BOOL SelectAxis(int nX, int nY);
    void ClearSelection();
    // The selected reference point, looked for in the order origin, X axis, Y axis; or null.
    CData* GetSelectedAxis();
    // The chart-value distance from the origin to each axis point, in decades on a log axis.
    double GetXSpan() const;
    double GetYSpan() const;

    CData m_Origin;
    CData m_XAxis;
    CData m_YAxis;
    BOOL m_bLogX = FALSE;
    BOOL m_bLogY = FALSE;
};

// A reference point is hit by a click closer than this many image pixels.
inline constexpr double kAxisHitTolerance = 5.0;
