#include "facereading.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace FaceReading {

std::optional<Extent> extentOf(const ScreenTraces &screen, TraceKind kind)
{
    const QRectF face = ScreenGeometry::visibleArea();
    Extent extent;
    bool any = false;
    bool anyInColumns = false;
    double left = 0.0;
    double right = 0.0;
    for (const Trace &trace : screen.traces) {
        if (trace.kind != kind)
            continue;
        for (const QPointF &p : trace.points) {
            extent.minY = any ? std::min(extent.minY, p.y()) : p.y();
            extent.maxY = any ? std::max(extent.maxY, p.y()) : p.y();
            extent.minX = any ? std::min(extent.minX, p.x()) : p.x();
            extent.maxX = any ? std::max(extent.maxX, p.x()) : p.x();
            any = true;
            extent.visible = extent.visible || face.contains(p);
            if (std::abs(p.x()) <= ScreenGeometry::halfWidth) {
                left = anyInColumns ? std::min(left, p.x()) : p.x();
                right = anyInColumns ? std::max(right, p.x()) : p.x();
                anyInColumns = true;
            }
        }
    }
    if (!any)
        return std::nullopt;
    extent.spanX = anyInColumns ? right - left : 0.0;
    return extent;
}

} // namespace FaceReading
