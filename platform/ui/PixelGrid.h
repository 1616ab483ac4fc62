#pragma once
// The device pixels of one widget on its screen: its device pixel ratio and where its logical
// origin falls between device pixels (at a fractional ratio a widget may start half-way into one).
// Back buffers are made at the device's resolution and drawn so that their pixels meet whole
// device pixels; mouse positions, which Qt gives in fractional logical units, are turned into the
// logical pixel of the device pixel under them by the same mapping that drew it (DeviceScale).

#include "platform/core/AfxTypes.h"
#include "platform/gdi/DeviceScale.h"

#include <QPoint>
#include <QPointF>
#include <QSize>

class QWidget;

class PixelGrid {
public:
    explicit PixelGrid(const QWidget* widget);

    double Ratio() const { return m_scale.Ratio(); }
    // The widget's logical origin in its window.
    QPoint WindowOffset() const { return m_windowOffset; }
    // The device size of a back buffer that covers the widget's logical size.
    QSize BufferSize(QSize logicalSize) const;
    // The logical position to draw such a buffer at, so that it starts on a whole device pixel.
    QPointF BufferOrigin() const;
    // The logical pixel that a widget position (logical, fractional) lies on: the one that the
    // device pixel under it shows. At a whole ratio this is the position floored.
    CPoint LogicalPixelAt(QPointF position) const;

private:
    DeviceScale m_scale;
    // Device pixels from the widget's logical origin to the buffer's first pixel (under a half).
    QPointF m_shift;
    QPoint m_windowOffset;
    // The widget's logical origin in its window's device pixels.
    QPointF m_deviceOrigin;
};
