#include "trace/TracedSeries.h"

#include "doc/CTallyscopeDoc.h"

TracedSeries TracedSeries::AddTo(CTallyscopeDoc& doc, const std::vector<QPoint>& pixels) {
    TracedSeries added;
    added.m_nOpenCount = doc.GetOpenCount();
    if (pixels.empty())
        return added;
    CDataSeries& series = doc.m_DataSeries;
    if (series.GetCurrentSeries()->m_aData.GetSize() > 0) {
        series.NewSeries();
        added.m_bStartedSeries = true;
    }
    CDataArray& points = *series.GetCurrentSeries();
    added.m_nSeries = series.m_nCurrent;
    added.m_nFirstPoint = points.m_aData.GetSize();
    added.m_points.reserve(pixels.size());
    for (const QPoint& pixel : pixels) {
        points.AddData(pixel.x(), pixel.y());
        added.m_points.push_back({points.m_aData[points.m_aData.GetUpperBound()], pixel});
    }
    doc.DataChanged();
    return added;
}

// A point that was deleted and another made in its place could sit at the same address; its
// position and the picture's open count make such a stranger as good as impossible to take for
// the trace's own.
bool TracedSeries::IsIntactIn(const CTallyscopeDoc& doc) const {
    const CDataSeries& series = doc.m_DataSeries;
    if (m_points.empty() || doc.GetOpenCount() != m_nOpenCount || m_nSeries >= series.m_aSeries.GetSize())
        return false;
    const CDataArray& points = *series.m_aSeries[m_nSeries];
    if (points.m_aData.GetSize() < m_nFirstPoint + PointCount())
        return false;
    for (int i = 0; i < PointCount(); ++i) {
        const CData* point = points.m_aData[m_nFirstPoint + i];
        const AddedPoint& added = m_points[static_cast<std::size_t>(i)];
        if (point != added.point || QPoint(point->m_nPixelX, point->m_nPixelY) != added.pixel)
            return false;
    }
    return true;
}

void TracedSeries::RemoveFrom(CTallyscopeDoc& doc) const {
    if (!IsIntactIn(doc))
        return;
    doc.ClearSelection();
    CDataSeries& series = doc.m_DataSeries;
    CDataArray& points = *series.m_aSeries[m_nSeries];
    for (int i = PointCount() - 1; i >= 0; --i)
        points.m_aData.RemoveAt(m_nFirstPoint + i);
    const int last = series.m_aSeries.GetUpperBound();
    if (m_bStartedSeries && m_nSeries == last && points.m_aData.GetSize() == 0) {
        series.m_aSeries.RemoveAt(last);
        series.m_nCurrent = last - 1;
    }
    doc.DataChanged();
    doc.UpdateAllViews(nullptr, 0, nullptr);
}
