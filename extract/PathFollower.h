#pragma once
// Follows one stroke along its path, the part of the tracer written by hand.
//
// The follower stands on the stroke's centre line and looks at the circle of a few pixels around
// it: the stroke leaves the circle in arcs of ink, one of which is where it came from. It steps to
// the arc that continues the stroke (the only one, whatever its turn, so that the steps of a
// survival curve and the ends of a loop are followed; else the one straight ahead, so that
// crossings, error-bar whiskers and grid lines of the stroke's colour are passed), then centres the
// new place across the stroke's width. Where nothing continues the stroke at its usual width (a
// dash's gap, another curve drawn over it, a marker), it looks straight ahead up to the largest
// gap for a piece of stroke of the same width running the same way, and carries on from there.
// Every place walked is remembered, so that a loop ends where it began and a self-crossing curve
// is not followed twice.
//
// Coordinates as in InkMap: pixel (i, j) covers [i, i + 1) x [j, j + 1).

#include "extract/InkMap.h"
#include "extract/TraceSettings.h"

#include <QPoint>
#include <QPointF>

#include <optional>
#include <unordered_map>
#include <vector>

class PathFollower {
public:
    PathFollower(const InkMap& ink, const TraceSettings& settings);

    // The centre line of the stroke through seed, from one end to the other, places a few pixels
    // apart (bridged gaps as one step); empty when seed lies on no stroke.
    std::vector<QPointF> Follow(QPoint seed);

private:
    struct Arc {
        QPointF point;     // where the arc's ink is centred on the circle
        QPointF direction; // from the circle's centre to point, of length 1
        double width = 0;  // the ink along the arc, in pixels
    };
    struct Start {
        QPointF centre;
        QPointF direction;
    };
    struct Axis {
        QPointF direction; // of length 1
        double elongation = 1;
    };
    struct Visit {
        int walk = 0;
        int step = 0;
    };

    std::optional<Start> FindStart(QPoint seed);
    std::vector<QPointF> Walk(const Start& start, int walk);
    std::vector<Arc> ArcsAround(QPointF centre, double radius) const;
    std::vector<Arc> WaysOn(QPointF centre, QPointF previous, int walk, int step) const;
    std::optional<Arc> ChooseArc(const std::vector<Arc>& ways, QPointF direction, bool acceptWide) const;
    std::optional<QPointF> Bridge(QPointF centre, QPointF direction, int walk, int step) const;
    QPointF CentreAcross(QPointF point, QPointF direction) const;
    std::optional<Axis> LongAxis(QPointF point, double radius) const;
    bool RunsAlong(QPointF point, QPointF direction) const;
    std::optional<QPointF> TipBeyond(QPointF centre, QPointF direction) const;
    void MarkVisited(QPointF from, QPointF to, int walk, int step);
    bool Visited(QPointF point, int walk, int step) const;
    bool IsUsualWidth(double width) const;
    long long Key(int x, int y) const;

    const InkMap& m_ink;
    TraceSettings m_settings;
    double m_width = 1.0;  // the stroke's width as first met
    double m_radius = 3.0; // the circle looked at around each place
    std::unordered_map<long long, Visit> m_visits;
};
