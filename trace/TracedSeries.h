#pragma once
// What one trace added to a document, so that the trace can be taken back whole. The window's trace
// mode and the command line both add a trace through here, so both leave the document, and so the
// export, the same.

#include <QPoint>

#include <vector>

class CData;
class CTallyscopeDoc;

class TracedSeries {
public:
    // Starts a new series when the current one has points, appends the pixels to it as ordinary
    // picks and reports the change to the document (journal, unexported work). Nothing is added
    // for no pixels.
    static TracedSeries AddTo(CTallyscopeDoc& doc, const std::vector<QPoint>& pixels);

    int PointCount() const { return static_cast<int>(m_points.size()); }
    // Whether the document still holds every point the trace added, where it added it, unmoved,
    // on the same picture.
    bool IsIntactIn(const CTallyscopeDoc& doc) const;
    // Removes exactly the trace's points (only when intact); the series the trace started goes too
    // when it is the last one and nothing else came into it. The document repaints.
    void RemoveFrom(CTallyscopeDoc& doc) const;

private:
    TracedSeries() = default;

    struct AddedPoint {
        const CData* point;
        QPoint pixel;
    };
    int m_nOpenCount = 0;
    int m_nSeries = 0;
    int m_nFirstPoint = 0;
    bool m_bStartedSeries = false;
    std::vector<AddedPoint> m_points;
};
