// What the drawing window draws over the finished scene while the mouse
// works: lines, a circle's outline, an object moved or mirrored as it would
// end up. Plain OpenGL in the current colour; nothing here touches an object
// or its display list, and the scene copy underneath removes all of it.
#pragma once

#include "geometry/GO_Outline.h"
#include "geometry/GO_Point.h"
#include "geometry/GO_Vector.h"

#include <vector>

namespace feedback {

void DrawSegment(CGO_Point from, CGO_Point to);
// A primitive as an object's display list would draw it, vertex for vertex
// (a circle's outline while its radius is chosen).
void DrawPrimitive(const CGO_Primitive& primitive);
// The display list as it would look after a move by v.
void DrawListMoved(int list, CGO_Vector v);
// The display list mirrored at the straight line through p1 and p2; two
// equal points give no line and the list is drawn as it is.
void DrawListMirrored(int list, CGO_Point p1, CGO_Point p2);
// The display list as it is (a highlight).
void DrawList(int list);
// The lists of selected objects in the selection's own colour: orange,
// neither the drawing's black nor the feedback's blue. One pixel wide, as
// wide lines would cost the redraw of a large selection a third more.
// Leaves black behind.
void DrawHighlighted(const std::vector<int>& lists);
// The marker of a snap point, its shape telling the kind: a square for an
// endpoint, a triangle for a midpoint, a circle for a centre, a diamond for
// a quadrant, an X for a crossing, a plus for the grid. half is half the
// marker's size in world units on each axis.
void DrawSnapMarker(unsigned kind, CGO_Point at, double halfX, double halfY);

} // namespace feedback
