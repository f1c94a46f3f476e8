// The points that lines and circles offer for snapping, and the points where
// they cross: computed in double, handed out as exact single-precision
// points. Plain functions on plain geometry; no object, no view, no log.
#pragma once

#include "geometry/GO_Outline.h"
#include "geometry/GO_Point.h"
#include "geometry/GO_SnapPoints.h"

namespace snapgeo {

// Where two objects meet: none, one (a touching) or two points.
struct CCrossing {
    int m_nCount = 0;
    CGO_Point m_pt[2];
};

// Segment a1-a2 with segment b1-b2, within both extents. Segments closer to
// parallel than about 1e-12 radians (parallel and collinear ones included)
// give no point: an overlap has no single crossing, and its ends that are
// end points are snap points of their own. A zero-length segment is a point
// and gives none either. A crossing within float rounding of an end (a
// T-joint drawn by snapping) counts and is placed on the segment.
CCrossing IntersectSegments(CGO_Point a1, CGO_Point a2, CGO_Point b1, CGO_Point b2);

// Segment p1-p2 with the true circle (not the drawn polygon). A line that
// touches the circle within float rounding gives the one touching point. A
// zero-length segment or a zero radius gives none. A negative radius is the
// circle of its absolute value, as it is drawn.
CCrossing IntersectSegmentCircle(CGO_Point p1, CGO_Point p2, CGO_Point center, float radius);

// Two true circles. Concentric circles (centres within float rounding of
// each other, equal circles included) give none; touching circles, from
// outside or inside, give the one touching point; a zero radius gives none.
CCrossing IntersectCircles(CGO_Point c1, float r1, CGO_Point c2, float r2);

// Distance in double from (x, y) to the segment and to the circle's true
// outline; what decides whether an object is near enough to take part.
double DistanceToSegment(double x, double y, CGO_Point a, CGO_Point b);
double DistanceToCircle(double x, double y, CGO_Point center, float radius);
// The same for every primitive of an outline (an arc only along its sweep),
// the nearest one counting.
double DistanceToOutline(double x, double y, const CGO_Outline& outline);

// Two primitives: segments and segments, segments and arcs, arcs and arcs,
// as the functions above cross them; a crossing with an arc counts only
// where it lies within the arc's sweep.
CCrossing IntersectPrimitives(const CGO_Primitive& p, const CGO_Primitive& q);

// The second point of a horizontal or vertical line from first: second
// moved onto the horizontal or the vertical through first, whichever is
// nearer, measured in pixels of the given sizes (world units per pixel on
// each axis). At equal distance the line is horizontal. Both coordinates of
// the result are copies of input coordinates, so it is exact.
CGO_Point ProjectOrthogonal(CGO_Point first, CGO_Point second, double worldPerPixelX = 1.0,
                            double worldPerPixelY = 1.0);

} // namespace snapgeo
