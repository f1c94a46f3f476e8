// Snap points and crossings of segments and circles. Every input is a float,
// so differences and products stay far inside the double range even at the
// float limit; results are rounded to floats once, at the end.
#include "snap/SnapGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <initializer_list>

namespace snapgeo {

namespace {

// Segments whose directions differ by less than this (as the sine of the
// angle) count as parallel: their crossing would rest on rounding noise.
constexpr double kParallel = 0x1p-40;

// What float rounding of coordinates of this size can move a point by: at
// least half a float step, less than a whole one.
double RoundingTolerance(double scale)
{
    return scale * 0x1p-24;
}

bool IsFinite(CGO_Point p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

double Scale(std::initializer_list<double> values)
{
    double scale = 0.0;
    for (double value : values)
        scale = std::max(scale, std::fabs(value));
    return scale;
}

void Add(CCrossing& crossing, double x, double y)
{
    CGO_Point point;
    if (crossing.m_nCount < 2 && geo::ToFloatPoint(x, y, point))
        crossing.m_pt[crossing.m_nCount++] = point;
}

// The point at distance along the segment from p1 (unit direction ux, uy),
// if it lies within the segment's length up to the tolerance; the point is
// kept on the segment.
void AddAlong(CCrossing& crossing, CGO_Point p1, double ux, double uy, double length, double along, double tol)
{
    if (along < -tol || along > length + tol)
        return;
    along = std::clamp(along, 0.0, length);
    Add(crossing, p1.x + along * ux, p1.y + along * uy);
}

} // namespace

CCrossing IntersectSegments(CGO_Point a1, CGO_Point a2, CGO_Point b1, CGO_Point b2)
{
    CCrossing crossing;
    if (!IsFinite(a1) || !IsFinite(a2) || !IsFinite(b1) || !IsFinite(b2))
        return crossing;
    const double rx = static_cast<double>(a2.x) - a1.x;
    const double ry = static_cast<double>(a2.y) - a1.y;
    const double sx = static_cast<double>(b2.x) - b1.x;
    const double sy = static_cast<double>(b2.y) - b1.y;
    const double lengthA = std::hypot(rx, ry);
    const double lengthB = std::hypot(sx, sy);
    if (lengthA == 0.0 || lengthB == 0.0)
        return crossing;
    const double denominator = rx * sy - ry * sx;
    if (std::fabs(denominator) <= kParallel * lengthA * lengthB)
        return crossing;

    const double qx = static_cast<double>(b1.x) - a1.x;
    const double qy = static_cast<double>(b1.y) - a1.y;
    const double t = (qx * sy - qy * sx) / denominator; // along a, 0 .. 1
    const double u = (qx * ry - qy * rx) / denominator; // along b, 0 .. 1
    const double tol = RoundingTolerance(Scale({a1.x, a1.y, a2.x, a2.y, b1.x, b1.y, b2.x, b2.y}));
    if (u < -tol / lengthB || u > 1.0 + tol / lengthB)
        return crossing;
    AddAlong(crossing, a1, rx / lengthA, ry / lengthA, lengthA, t * lengthA, tol);
    return crossing;
}

CCrossing IntersectSegmentCircle(CGO_Point p1, CGO_Point p2, CGO_Point center, float radius)
{
    CCrossing crossing;
    if (!IsFinite(p1) || !IsFinite(p2) || !IsFinite(center) || !std::isfinite(radius))
        return crossing;
    const double r = std::fabs(static_cast<double>(radius));
    const double dx = static_cast<double>(p2.x) - p1.x;
    const double dy = static_cast<double>(p2.y) - p1.y;
    const double length = std::hypot(dx, dy);
    if (r == 0.0 || length == 0.0)
        return crossing;
    const double ux = dx / length;
    const double uy = dy / length;
    const double fx = static_cast<double>(p1.x) - center.x;
    const double fy = static_cast<double>(p1.y) - center.y;
    // The foot of the perpendicular from the centre, as a distance along the
    // segment, and the centre's distance from the straight line.
    const double foot = -(fx * ux + fy * uy);
    const double h = std::fabs(fx * uy - fy * ux);
    const double tol = RoundingTolerance(Scale({p1.x, p1.y, p2.x, p2.y, center.x, center.y, r}));
    if (h > r + tol)
        return crossing;
    if (h >= r - tol) {
        AddAlong(crossing, p1, ux, uy, length, foot, tol);
        return crossing;
    }
    const double halfChord = std::sqrt((r - h) * (r + h));
    AddAlong(crossing, p1, ux, uy, length, foot - halfChord, tol);
    AddAlong(crossing, p1, ux, uy, length, foot + halfChord, tol);
    return crossing;
}

CCrossing IntersectCircles(CGO_Point c1, float r1, CGO_Point c2, float r2)
{
    CCrossing crossing;
    if (!IsFinite(c1) || !IsFinite(c2) || !std::isfinite(r1) || !std::isfinite(r2))
        return crossing;
    const double ra = std::fabs(static_cast<double>(r1));
    const double rb = std::fabs(static_cast<double>(r2));
    if (ra == 0.0 || rb == 0.0)
        return crossing;
    const double dx = static_cast<double>(c2.x) - c1.x;
    const double dy = static_cast<double>(c2.y) - c1.y;
    const double d = std::hypot(dx, dy);
    const double tol = RoundingTolerance(Scale({c1.x, c1.y, c2.x, c2.y, ra, rb}));
    const double sum = ra + rb;
    const double difference = std::fabs(ra - rb);
    if (d <= tol || d > sum + tol || d < difference - tol)
        return crossing;
    const double ux = dx / d;
    const double uy = dy / d;
    // Touching: the point halfway across whatever gap rounding left.
    if (d >= sum - tol) {
        const double along = ra + (d - sum) / 2.0;
        Add(crossing, c1.x + along * ux, c1.y + along * uy);
        return crossing;
    }
    if (d <= difference + tol) {
        const double along = ra >= rb ? (ra + d + rb) / 2.0 : (d - rb - ra) / 2.0;
        Add(crossing, c1.x + along * ux, c1.y + along * uy);
        return crossing;
    }
    // The chord's foot on the line of centres, and half the chord.
    const double a = (d * d + (ra - rb) * (ra + rb)) / (2.0 * d);
    const double h = std::sqrt(std::max(0.0, (ra - a) * (ra + a)));
    const double baseX = c1.x + a * ux;
    const double baseY = c1.y + a * uy;
    Add(crossing, baseX - h * uy, baseY + h * ux);
    Add(crossing, baseX + h * uy, baseY - h * ux);
    return crossing;
}

double DistanceToSegment(double x, double y, CGO_Point a, CGO_Point b)
{
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    const double ex = x - a.x;
    const double ey = y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0.0 ? (ex * dx + ey * dy) / lengthSquared : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double distance = std::hypot(ex - t * dx, ey - t * dy);
    return std::isnan(distance) ? HUGE_VAL : distance;
}

double DistanceToCircle(double x, double y, CGO_Point center, float radius)
{
    const double distance =
        std::fabs(std::hypot(x - center.x, y - center.y) - std::fabs(static_cast<double>(radius)));
    return std::isnan(distance) ? HUGE_VAL : distance;
}

CGO_Point ProjectOrthogonal(CGO_Point first, CGO_Point second, double worldPerPixelX, double worldPerPixelY)
{
    const double sizeX = worldPerPixelX > 0.0 && std::isfinite(worldPerPixelX) ? worldPerPixelX : 1.0;
    const double sizeY = worldPerPixelY > 0.0 && std::isfinite(worldPerPixelY) ? worldPerPixelY : 1.0;
    const double toVertical = std::fabs(static_cast<double>(second.x) - first.x) / sizeX;
    const double toHorizontal = std::fabs(static_cast<double>(second.y) - first.y) / sizeY;
    if (toVertical < toHorizontal)
        return CGO_Point(first.x, second.y);
    return CGO_Point(second.x, first.y);
}

namespace {

double AngleDegrees(CGO_Point center, double x, double y)
{
    return std::atan2(y - center.y, x - center.x) * 180.0 / M_PI;
}

// The crossings of the true circles that lie on the arcs.
CCrossing OnSweep(const CCrossing& crossing, const CGO_Primitive& p, const CGO_Primitive* q = nullptr)
{
    CCrossing kept;
    for (int i = 0; i < crossing.m_nCount; ++i) {
        const CGO_Point at = crossing.m_pt[i];
        if (!p.SweepContains(AngleDegrees(p.center, at.x, at.y)))
            continue;
        if (q != nullptr && !q->SweepContains(AngleDegrees(q->center, at.x, at.y)))
            continue;
        kept.m_pt[kept.m_nCount++] = at;
    }
    return kept;
}

double DistanceToPrimitive(double x, double y, const CGO_Primitive& primitive)
{
    if (primitive.IsSegment())
        return DistanceToSegment(x, y, primitive.a, primitive.b);
    if (primitive.IsFullCircle() || primitive.SweepContains(AngleDegrees(primitive.center, x, y)))
        return DistanceToCircle(x, y, primitive.center, primitive.radius);
    const CGO_Point start = primitive.StartPoint();
    const CGO_Point end = primitive.EndPoint();
    return std::min(std::hypot(x - start.x, y - start.y), std::hypot(x - end.x, y - end.y));
}

} // namespace

double DistanceToOutline(double x, double y, const CGO_Outline& outline)
{
    double nearest = HUGE_VAL;
    for (const CGO_Primitive& primitive : outline)
        nearest = std::min(nearest, DistanceToPrimitive(x, y, primitive));
    return nearest;
}

CCrossing IntersectPrimitives(const CGO_Primitive& p, const CGO_Primitive& q)
{
    if (p.IsSegment() && q.IsSegment())
        return IntersectSegments(p.a, p.b, q.a, q.b);
    if (p.IsSegment())
        return OnSweep(IntersectSegmentCircle(p.a, p.b, q.center, q.radius), q);
    if (q.IsSegment())
        return OnSweep(IntersectSegmentCircle(q.a, q.b, p.center, p.radius), p);
    return OnSweep(IntersectCircles(p.center, p.radius, q.center, q.radius), p, &q);
}

} // namespace snapgeo
