#include "platform/ui/PixelGrid.h"

#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

PixelGrid::PixelGrid(const QWidget* widget) {
    if (widget == nullptr)
        return;
    m_scale = DeviceScale(widget->devicePixelRatio());
    // The window's own origin lies on a device pixel; a child's lies at ratio times its offset.
    m_windowOffset = widget->mapTo(widget->window(), QPoint(0, 0));
    m_deviceOrigin = QPointF(m_scale.Ratio() * m_windowOffset.x(), m_scale.Ratio() * m_windowOffset.y());
    m_shift = QPointF(std::round(m_deviceOrigin.x()) - m_deviceOrigin.x(),
                      std::round(m_deviceOrigin.y()) - m_deviceOrigin.y());
}

QSize PixelGrid::BufferSize(QSize logicalSize) const {
    auto device = [this](double origin, int logical) {
        return static_cast<int>(std::ceil(origin + m_scale.Ratio() * logical - 1e-6) - std::round(origin));
    };
    return QSize(std::max(0, device(m_deviceOrigin.x(), logicalSize.width())),
                 std::max(0, device(m_deviceOrigin.y(), logicalSize.height())));
}

QPointF PixelGrid::BufferOrigin() const {
    return m_shift / m_scale.Ratio();
}

CPoint PixelGrid::LogicalPixelAt(QPointF position) const {
    auto logical = [this](double at, double shift) {
        const std::int64_t device = DeviceScale::DevicePixelAt(at * m_scale.Ratio() - shift);
        return static_cast<int>(std::clamp<std::int64_t>(m_scale.LogicalOf(device), INT32_MIN, INT32_MAX));
    };
    return CPoint(logical(position.x(), m_shift.x()), logical(position.y(), m_shift.y()));
}
