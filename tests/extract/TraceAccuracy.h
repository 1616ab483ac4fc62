#pragma once
// The figures a trace is judged by, measured against the true centre line of the curve: each
// returned point counts by the picture pixel the document stores (its floor), taken at that
// pixel's centre.

#include <QPointF>

#include <vector>

struct TraceAccuracy {
    double medianDistance = 0;   // pixels from the centre line
    double distance95 = 0;       // 95 % of points lie within this
    double farShare = 0;         // share of points farther than 2 pixels
    double coverage = 0;         // share of the curve's length between consecutive points
    double medianSpacing = 0;    // pixels between consecutive points
    bool inPathOrder = true;     // every point lies on the curve a little further along than the last
};

TraceAccuracy MeasureTrace(const std::vector<QPointF>& points, const std::vector<QPointF>& centreLine,
                           double pointSpacing);
