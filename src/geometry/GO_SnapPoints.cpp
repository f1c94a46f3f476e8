// Snap points from outlines, placed on floats once and exactly.
#include "geometry/GO_SnapPoints.h"

#include "geometry/GO_Outline.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

bool IsFinite(CGO_Point p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

void AddArcPoints(CGO_SnapPoints& points, const CGO_Primitive& arc)
{
    if (IsFinite(arc.center))
        points.Add(GO_POINT_CENTER, arc.center);
    CGO_Point quadrants[4];
    const int count = geo::Quadrants(arc.center, arc.radius, quadrants);
    // The quadrants lie at 0, 90, 180 and 270 degrees of a positive radius.
    const bool positive = !(arc.radius < 0.0f);
    for (int i = 0; i < count; ++i) {
        const double angle = std::atan2(static_cast<double>(quadrants[i].y) - arc.center.y,
                                        static_cast<double>(quadrants[i].x) - arc.center.x) *
                             180.0 / M_PI;
        if (arc.IsFullCircle() || (positive && arc.SweepContains(angle)))
            points.Add(GO_POINT_QUADRANT, quadrants[i]);
    }
    if (arc.IsFullCircle())
        return;
    const CGO_Point start = arc.StartPoint();
    const CGO_Point end = arc.EndPoint();
    if (IsFinite(start))
        points.Add(GO_POINT_END, start);
    if (IsFinite(end))
        points.Add(GO_POINT_END, end);
    const double middle = (arc.startDegrees + arc.sweepDegrees / 2.0) * M_PI / 180.0;
    const double r = arc.radius;
    CGO_Point point;
    if (geo::ToFloatPoint(arc.center.x + r * std::cos(middle), arc.center.y + r * std::sin(middle), point))
        points.Add(GO_POINT_MIDDLE, point);
}

} // namespace

void CGO_SnapPoints::AddOutlinePoints(const CGO_Outline& outline)
{
    for (const CGO_Primitive& primitive : outline) {
        if (!primitive.IsSegment()) {
            AddArcPoints(*this, primitive);
            continue;
        }
        // Stored ends, not recomputed ones, so that corners meet exactly.
        if (IsFinite(primitive.a))
            Add(GO_POINT_END, primitive.a);
        if (IsFinite(primitive.b))
            Add(GO_POINT_END, primitive.b);
        CGO_Point middle;
        if (geo::Midpoint(primitive.a, primitive.b, middle))
            Add(GO_POINT_MIDDLE, middle);
    }
}

namespace geo {

bool ToFloatPoint(double x, double y, CGO_Point& out)
{
    // Up to half a float step beyond FLT_MAX still rounds to FLT_MAX; beyond
    // that a conversion would be undefined. NaN fails the test as well.
    constexpr double kLimit = static_cast<double>(FLT_MAX) + 0x1p103;
    if (!(std::fabs(x) < kLimit && std::fabs(y) < kLimit))
        return false;
    out = CGO_Point(static_cast<float>(std::clamp(x, -double(FLT_MAX), double(FLT_MAX))),
                    static_cast<float>(std::clamp(y, -double(FLT_MAX), double(FLT_MAX))));
    return true;
}

bool Midpoint(CGO_Point a, CGO_Point b, CGO_Point& out)
{
    if (!IsFinite(a) || !IsFinite(b))
        return false;
    // When the midpoint is a float, a + b is twice a float and exact in double.
    return ToFloatPoint((static_cast<double>(a.x) + b.x) / 2.0, (static_cast<double>(a.y) + b.y) / 2.0, out);
}

int Quadrants(CGO_Point center, float radius, CGO_Point out[4])
{
    if (!IsFinite(center) || !std::isfinite(radius))
        return 0;
    const double cx = center.x;
    const double cy = center.y;
    const double r = std::fabs(static_cast<double>(radius));
    const double points[4][2] = {{cx + r, cy}, {cx, cy + r}, {cx - r, cy}, {cx, cy - r}};
    int count = 0;
    for (const auto& point : points) {
        if (ToFloatPoint(point[0], point[1], out[count]))
            ++count;
    }
    return count;
}

} // namespace geo
