// What a picture of the drawing shows, and how large a raster or SVG picture
// of it is. Plain arithmetic; the Qt front ends paint what it gives.
#pragma once

#include "geometry/GO_Box.h"
#include "view/scene/ViewRange.h"

class CGO_Database;

namespace exchange {

// The share of the drawing's larger side left free around it.
constexpr double kExportMargin = 0.05;
// The longer side of an SVG or PNG picture, in pixels.
constexpr int kPictureSide = 1000;

struct PictureSize {
    int width;
    int height;
};

// The box around every object with finite bounds; false when there is none.
bool DrawingExtents(const CGO_Database& database, CGO_Box& extents);

// What a page of widthMm by heightMm shows at ratio (paper mm per drawing
// unit, 1 unit = 1 mm at 1:1): that much of the world, centred on area's
// centre.
WorldCoordinates ScaledArea(const WorldCoordinates& area, double widthMm, double heightMm, double ratio);

// Whether some of the drawing lies beyond area (what a page shows at a
// ratio), so that a page of it cuts that part off.
bool ReachesBeyond(const CGO_Database& database, const WorldCoordinates& area);

// The drawing's extents with the margin on every side; the visible range
// when the drawing holds no object with finite coordinates.
WorldCoordinates ExportArea(const CGO_Database& database, const WorldCoordinates& visible);

// The size of a picture of area whose longer side is longSide pixels; the
// shorter side keeps the area's proportions and is at least one pixel.
PictureSize PictureSizeFor(const WorldCoordinates& area, int longSide);

} // namespace exchange
