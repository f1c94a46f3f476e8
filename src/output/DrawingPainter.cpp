// World to device coordinates in double precision, done here rather than by
// a painter transform: a transform would scale the pen along with the world.
#include "output/DrawingPainter.h"

#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

double CDrawingPainter::Scale(const WorldCoordinates& area, const QRectF& target)
{
    const double width = area.xMax - area.xMin;
    const double height = area.yMax - area.yMin;
    if (!(width > 0.0) || !(height > 0.0))
        return 1.0;
    return std::min(target.width() / width, target.height() / height);
}

QPointF CDrawingPainter::Map(const WorldCoordinates& area, const QRectF& target, double x, double y)
{
    const double scale = Scale(area, target);
    const QPointF centre = target.center();
    const double midX = area.xMin / 2.0 + area.xMax / 2.0;
    const double midY = area.yMin / 2.0 + area.yMax / 2.0;
    // The device's y grows downwards, the world's upwards.
    return QPointF(centre.x() + (x - midX) * scale, centre.y() - (y - midY) * scale);
}

void CDrawingPainter::Paint(QPainter& painter, const CGO_Database& database, const WorldCoordinates& area,
                            const QRectF& target, double penWidth)
{
    painter.save();
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(Qt::black);
    pen.setWidthF(penWidth);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double scale = Scale(area, target);
    for (int slot = 0; slot < database.GetSize(); ++slot) {
        const CGO_GeoObject* object = database.GetAt(slot);
        if (const auto* line = dynamic_cast<const CGO_Line*>(object)) {
            const QPointF p1 = Map(area, target, line->GetP1().x, line->GetP1().y);
            const QPointF p2 = Map(area, target, line->GetP2().x, line->GetP2().y);
            if (std::isfinite(p1.x()) && std::isfinite(p1.y()) && std::isfinite(p2.x()) && std::isfinite(p2.y()))
                painter.drawLine(p1, p2);
        } else if (const auto* circle = dynamic_cast<const CGO_Circle*>(object)) {
            const QPointF centre = Map(area, target, circle->GetCenter().x, circle->GetCenter().y);
            const double radius = std::fabs(static_cast<double>(circle->GetRadius())) * scale;
            if (std::isfinite(centre.x()) && std::isfinite(centre.y()) && std::isfinite(radius))
                painter.drawEllipse(centre, radius, radius);
        }
    }
    painter.restore();
}
