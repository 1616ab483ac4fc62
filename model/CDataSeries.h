#pragma once
// All series of a document, in the order started. There is always at least one series, and the
// current one (m_nCurrent, which receives new points) is always the last.

#include "model/CDataArray.h"

class CDataSeries : public CObject {
    DECLARE_SERIAL(CDataSeries)
public:
    CDataSeries();
    ~CDataSeries() override;

    // Appends a point to the current series.
    void AddData(int nX, int nY);
    // Starts a new, empty current series, even when the current one is empty.
    void NewSeries();
    // Deletes every series and point, leaving one empty series as current.
    void DeleteAll();
    // Raises the flag of the first point, in series then point order, closer than 10 pixels.
    BOOL SelectData(int nX, int nY);
    // The first selected point in series then point order, or null.
    CData* GetSelectedData() const;
    void ClearSelection();

    // The current series, the one that receives new points.
    CDataArray* GetCurrentSeries() const { return m_aSeries[m_nCurrent]; }

    CTypedObArray<CDataArray> m_aSeries;
    int m_nCurrent = 0;
};

// A picked point is hit by a click closer than this many image pixels.
inline constexpr double kDataHitTolerance = 10.0;
