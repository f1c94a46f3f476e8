// The part of the world the drawing window shows, as far as the objects need
// to know it: which objects compile their lists cut to a box around it.
#pragma once

#include "geometry/GO_Box.h"

// The rasteriser loses or misplaces lines whose ends lie very far outside the
// view (a line to +-1e10 at the default range is not drawn), so an object that
// reaches far beyond the visible range compiles its list cut to a generous box
// around it; every other object's list is its plain geometry and does not
// depend on the range at all.
//
// The box is one static value because the program has one scene, which sets
// it whenever its range changes; the objects know nothing of the window. A
// list therefore follows from the object's state and this box alone, so undo
// rebuilding a list after restoring a state gets the same list.
class CGO_VisibleBox {
public:
    // The clip box reaches this many widths (heights) of the visible range
    // beyond it on each side.
    static constexpr double MARGIN_SPANS = 256.0;
    // Only objects reaching beyond this many widths (heights) get a clipped
    // list. Up to there Mesa's llvmpipe places a line as exactly as one within
    // the view (its error passes half a pixel near 10^4 widths and a pixel
    // near 10^5; beyond 10^7 it loses lines), and an object that merely pokes
    // out of the clip box keeps its plain list.
    static constexpr double REACH_SPANS = 1024.0;

    // The visible range, -500 to 500 on both axes until the scene sets one.
    static const CGO_Box& Get();
    static void Set(const CGO_Box& visible);

    // The generous box around a visible range that clipped lists are cut to.
    static CGO_Box ClipBoxOf(const CGO_Box& visible);
    // Whether an object with these bounds gets a clipped list under the
    // visible range: it reaches beyond REACH_SPANS and may cross the clip
    // box. Objects with non-finite bounds keep their plain list.
    static bool NeedsClipping(const CGO_Box& bounds, const CGO_Box& visible);
    static bool NeedsClipping(const CGO_Box& bounds) { return NeedsClipping(bounds, Get()); }

    // Cuts the segment from (x0, y0) to (x1, y1) to the box, in double
    // precision; an end inside the box keeps its value exactly. False when no
    // part of the segment lies in the box. Exact to double rounding for ends
    // that are floats, however far out they lie.
    static bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const CGO_Box& box);
};
