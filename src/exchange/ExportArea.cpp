// The exported area from the objects' bounds, in double precision.
#include "exchange/ExportArea.h"

#include "database/GO_Database.h"

#include <algorithm>
#include <cmath>

namespace exchange {

namespace {

bool IsFinite(const CGO_Box& box)
{
    return std::isfinite(box.xMin) && std::isfinite(box.xMax) && std::isfinite(box.yMin) && std::isfinite(box.yMax);
}

} // namespace

bool DrawingExtents(const CGO_Database& database, CGO_Box& extents)
{
    bool any = false;
    for (int slot = 0; slot < database.GetSize(); ++slot) {
        const CGO_GeoObject* object = database.GetAt(slot);
        CGO_Box box;
        if (object == nullptr || !object->GetBounds(box) || !IsFinite(box))
            continue;
        if (any)
            extents.Include(box);
        else
            extents = box;
        any = true;
    }
    return any;
}

WorldCoordinates ScaledArea(const WorldCoordinates& area, double widthMm, double heightMm, double ratio)
{
    const double cx = (area.xMin + area.xMax) / 2.0;
    const double cy = (area.yMin + area.yMax) / 2.0;
    const double halfWidth = widthMm / ratio / 2.0;
    const double halfHeight = heightMm / ratio / 2.0;
    return {cx - halfWidth, cx + halfWidth, cy - halfHeight, cy + halfHeight};
}

bool ReachesBeyond(const CGO_Database& database, const WorldCoordinates& area)
{
    CGO_Box extents;
    if (!DrawingExtents(database, extents))
        return false;
    return extents.xMin < area.xMin || extents.xMax > area.xMax || extents.yMin < area.yMin ||
           extents.yMax > area.yMax;
}

WorldCoordinates ExportArea(const CGO_Database& database, const WorldCoordinates& visible)
{
    CGO_Box extents;
    if (!DrawingExtents(database, extents))
        return visible;
    const double side = std::max(extents.Width(), extents.Height());
    // A drawing without extent (a point-sized line or circle) still gets
    // room around it.
    const double magnitude = std::max({std::fabs(extents.xMin), std::fabs(extents.xMax), std::fabs(extents.yMin),
                                       std::fabs(extents.yMax), 1.0});
    const double margin = side > 0.0 ? side * kExportMargin : magnitude * kExportMargin;
    return {extents.xMin - margin, extents.xMax + margin, extents.yMin - margin, extents.yMax + margin};
}

PictureSize PictureSizeFor(const WorldCoordinates& area, int longSide)
{
    const double width = area.xMax - area.xMin;
    const double height = area.yMax - area.yMin;
    if (!(width > 0.0) || !(height > 0.0) || !std::isfinite(width) || !std::isfinite(height))
        return {longSide, longSide};
    const auto shorter = [longSide](double ratio) {
        return std::max(1, static_cast<int>(std::lround(longSide * ratio)));
    };
    if (width >= height)
        return {longSide, shorter(height / width)};
    return {shorter(width / height), longSide};
}

} // namespace exchange
