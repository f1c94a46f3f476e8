// The snap grid: its spacing of 1, 2 or 5 times a power of ten, chosen from
// the zoom so that cells are never narrower than a given number of pixels,
// and rounding a point to it. The grid is view decoration: nothing here
// touches the drawing.
#pragma once

#include "geometry/GO_Point.h"

namespace gridsnap {

// Cells are at least this many (logical) pixels wide.
constexpr double kMinCellPixels = 12.0;

// The spacing m x 10^k, m one of 1, 2, 5. k runs from -45 to 38, the
// decades of the float range.
struct CGridSpacing {
    int m_nMantissa = 1;
    int m_nExponent = 0;

    // The spacing as the double nearest to m x 10^k.
    double Value() const;
    // The double nearest to n x m x 10^k, for n a whole number of cells.
    double Multiple(double n) const;
};

// The finest spacing whose cells are at least minPixels wide, given world
// units per pixel. With different sizes on the two axes, pass the larger, so
// that cells are wide enough on both. A size that is not finite and
// positive gives the spacing 1. Beyond the decades above, the coarsest or
// finest spacing is given.
CGridSpacing GridSpacing(double worldPerPixel, double minPixels = kMinCellPixels);

// The grid point nearest to (x, y), each coordinate rounded to a whole
// number of cells (halves away from zero), as the float nearest to it.
// Where the spacing is finer than the float steps at a coordinate, that
// coordinate is only rounded to a float; a grid line beyond the float range
// is replaced by the one before it. False, with out unchanged, when x or y
// is not finite or beyond the float range.
bool SnapToGrid(double x, double y, const CGridSpacing& spacing, CGO_Point& out);

} // namespace gridsnap
