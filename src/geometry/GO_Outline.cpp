// The primitives of outlines, and the vertices display lists draw them with.
#include "geometry/GO_Outline.h"

#include "geometry/GO_Circle.h"
#include "geometry/GO_Math.h"

#include <algorithm>
#include <cmath>

namespace {

// A float angle in degrees as its point on a circle, in the very steps the
// circle's own outline takes: the products rounded to floats, then the sums.
CGO_Point PointAtDegrees(CGO_Point center, float radius, float degrees)
{
    const float a = degrees * geo::kPi / geo::kHalfCircle;
    const float sinProduct = static_cast<float>(radius * std::sin(static_cast<double>(a)));
    const float cosProduct = static_cast<float>(std::cos(static_cast<double>(a)) * radius);
    return CGO_Point(center.x + cosProduct, center.y + sinProduct);
}

int ArcSegments(float sweepDegrees)
{
    const double segments = std::ceil(std::fabs(static_cast<double>(sweepDegrees)));
    return std::max(2, std::isfinite(segments) ? static_cast<int>(std::min(segments, 360.0)) : 2);
}

} // namespace

CGO_Primitive CGO_Primitive::Segment(CGO_Point from, CGO_Point to)
{
    CGO_Primitive primitive;
    primitive.shape = SEGMENT;
    primitive.a = from;
    primitive.b = to;
    return primitive;
}

CGO_Primitive CGO_Primitive::Circle(CGO_Point center, float radius)
{
    return Arc(center, radius, 0.0f, 360.0f);
}

CGO_Primitive CGO_Primitive::Arc(CGO_Point center, float radius, float startDegrees, float sweepDegrees)
{
    CGO_Primitive primitive;
    primitive.shape = ARC;
    primitive.center = center;
    primitive.radius = radius;
    primitive.startDegrees = startDegrees;
    primitive.sweepDegrees = sweepDegrees;
    return primitive;
}

int CGO_Primitive::DrawnVertexCount() const
{
    if (shape == SEGMENT)
        return 2;
    return IsFullCircle() ? CGO_Circle::OUTLINE_VERTICES : ArcSegments(sweepDegrees) + 1;
}

CGO_Point CGO_Primitive::DrawnVertex(int i) const
{
    if (shape == SEGMENT)
        return i == 0 ? a : b;
    if (IsFullCircle())
        return CGO_Circle::OutlineVertex(center, radius, i);
    const int segments = ArcSegments(sweepDegrees);
    const float degrees = i >= segments ? startDegrees + sweepDegrees
                                        : startDegrees + sweepDegrees * static_cast<float>(i) / segments;
    return PointAtDegrees(center, radius, degrees);
}

CGO_Point CGO_Primitive::StartPoint() const
{
    return shape == SEGMENT ? a : DrawnVertex(0);
}

CGO_Point CGO_Primitive::EndPoint() const
{
    return shape == SEGMENT ? b : DrawnVertex(DrawnVertexCount() - 1);
}

bool CGO_Primitive::SweepContains(double angleDegrees) const
{
    if (shape != ARC)
        return false;
    if (IsFullCircle())
        return true;
    double offset = std::fmod(angleDegrees - startDegrees, 360.0);
    if (offset < 0.0)
        offset += 360.0;
    // A point a rounding step before the start belongs to the arc too.
    constexpr double kSlack = 1e-9;
    return offset <= sweepDegrees + kSlack || offset >= 360.0 - kSlack;
}
