// The one routine that draws the drawing with QPainter, for SVG, PDF and PNG
// pictures and for printing alike: y upwards as on the screen, thin black
// lines, lines and circles as vectors.
#pragma once

#include "view/scene/ViewRange.h"

#include <QRectF>

class CGO_Database;
class IProgress;
struct CGO_Primitive;
class QPainter;

class CDrawingPainter {
public:
    // Draws every object into target (device coordinates of painter), with
    // area scaled uniformly to fit and centred in it, in black lines of
    // penWidth device units. False when the reporter said stop before the
    // last object.
    static bool Paint(QPainter& painter, const CGO_Database& database, const WorldCoordinates& area,
                      const QRectF& target, double penWidth, IProgress* progress = nullptr);

    // Where a world point lands, for the same area and target.
    static QPointF Map(const WorldCoordinates& area, const QRectF& target, double x, double y);
    // Device units per world unit.
    static double Scale(const WorldCoordinates& area, const QRectF& target);

private:
    static void PaintPrimitive(QPainter& painter, const CGO_Primitive& primitive, const WorldCoordinates& area,
                               const QRectF& target, double scale);
};
