// World to device coordinates in double precision, done here rather than by
// a painter transform: a transform would scale the pen along with the world.
#include "output/DrawingPainter.h"

#include "database/Progress.h"

#include "database/GO_Database.h"
#include "geometry/GO_GeoObject.h"

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

void CDrawingPainter::PaintPrimitive(QPainter& painter, const CGO_Primitive& primitive,
                                     const WorldCoordinates& area, const QRectF& target, double scale)
{
    const auto finite = [](const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); };
    if (primitive.IsSegment()) {
        const QPointF p1 = Map(area, target, primitive.a.x, primitive.a.y);
        const QPointF p2 = Map(area, target, primitive.b.x, primitive.b.y);
        if (finite(p1) && finite(p2))
            painter.drawLine(p1, p2);
        return;
    }
    const QPointF centre = Map(area, target, primitive.center.x, primitive.center.y);
    const double radius = std::fabs(static_cast<double>(primitive.radius)) * scale;
    if (!finite(centre) || !std::isfinite(radius))
        return;
    if (primitive.IsFullCircle()) {
        painter.drawEllipse(centre, radius, radius);
        return;
    }
    // Qt counts angles in sixteenths of a degree, counter-clockwise as seen
    // on the page, which is how the world's angles look there too.
    const QRectF box(centre.x() - radius, centre.y() - radius, 2.0 * radius, 2.0 * radius);
    painter.drawArc(box, static_cast<int>(std::lround(primitive.startDegrees * 16.0)),
                    static_cast<int>(std::lround(primitive.sweepDegrees * 16.0)));
}

bool CDrawingPainter::Paint(QPainter& painter, const CGO_Database& database, const WorldCoordinates& area,
                            const QRectF& target, double penWidth, IProgress* progress)
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
    progress::CTicker ticker(progress, static_cast<std::uint64_t>(database.GetSize()));
    for (int slot = 0; slot < database.GetSize() && ticker.Step(); ++slot) {
        const CGO_GeoObject* object = database.GetAt(slot);
        if (object == nullptr)
            continue;
        CGO_Outline outline;
        object->GetOutline(outline);
        for (const CGO_Primitive& primitive : outline)
            PaintPrimitive(painter, primitive, area, target, scale);
    }
    painter.restore();
    return !ticker.IsStopped();
}
