// Vector length and direction, in single precision wherever that is exact
// enough, and in double where the squares would over- or underflow a float.
#include "geometry/GO_Vector.h"

#include "geometry/GO_Math.h"
#include "log/Logger.h"

#include <cmath>
#include <limits>

namespace {

// A sum of squares from here up to the largest float lost nothing to
// underflow that a float could show (a square below FLT_MIN errs by at most
// 2^-150, a part in 10^15 of this), and nothing to overflow.
constexpr float kSmallestSafeSquares = 1e-30f;

float SumOfSquares(float x, float y)
{
    const float squares = x * x + y * y;
    return squares;
}

bool SquaresAreSafe(float squares)
{
    return squares >= kSmallestSafeSquares && squares <= std::numeric_limits<float>::max();
}

// The single-precision steps on the float components (x, y) wherever their
// squares are safe; otherwise the length of the exact components (dx, dy) in
// double, which is what those steps would give without over- or underflow.
float LengthOf(float x, float y, double dx, double dy)
{
    const float squares = SumOfSquares(x, y);
    if (SquaresAreSafe(squares))
        return static_cast<float>(std::sqrt(static_cast<double>(squares)));
    return static_cast<float>(std::hypot(dx, dy));
}

// Degrees to the positive x-axis, 0 <= angle < 360; 0 for the zero vector.
float AngleOf(float x, float y, double dx, double dy)
{
    float k = 0.0f;
    if (SquaresAreSafe(SumOfSquares(x, y))) {
        k = x / LengthOf(x, y, dx, dy);
    } else {
        // Normalised in double: the float length of a direction this long or
        // this short would be infinite, zero or too coarse to divide by.
        const double length = std::hypot(dx, dy);
        if (!(length > 0.0) || std::isinf(length))
            return 0.0f;
        k = static_cast<float>(dx / length);
    }
    // Rounding can push the cosine a hair past 1, where acos has no value.
    if (k > 1.0f) k = 1.0f;
    if (k < -1.0f) k = -1.0f;
    float theta = static_cast<float>(std::acos(static_cast<double>(k)) * geo::kHalfCircle / geo::kPi);
    if (dy < 0.0)
        theta = 360.0f - theta;
    if (theta >= 360.0f) // a direction a hair below the x-axis
        theta = 0.0f;
    return theta;
}

} // namespace

void CGO_Vector::SetFromPoints(CGO_Point p1, CGO_Point p2)
{
    x = p2.x - p1.x;
    y = p2.y - p1.y;
}

float CGO_Vector::Length() const
{
    return LengthOf(x, y, x, y);
}

float CGO_Vector::Distance(CGO_Point from, CGO_Point to)
{
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    return LengthOf(dx, dy, static_cast<double>(to.x) - from.x, static_cast<double>(to.y) - from.y);
}

float CGO_Vector::Angle() const
{
    const float theta = std::isfinite(x) && std::isfinite(y) ? AngleOf(x, y, x, y) : 0.0f;
    LogDebug("Vector (%4.1f, %4.1f) has angle %4.1f degree to x-axis.", x, y, theta);
    return theta;
}

float CGO_Vector::AngleOfLine(CGO_Point p1, CGO_Point p2)
{
    // The float vector from p1 to p2 serves wherever it is exact enough, as
    // it always has; the difference in double is exact even where the float
    // one over- or underflows.
    CGO_Vector d;
    d.SetFromPoints(p1, p2);
    const double dx = static_cast<double>(p2.x) - p1.x;
    const double dy = static_cast<double>(p2.y) - p1.y;
    const float theta = std::isfinite(dx) && std::isfinite(dy) ? AngleOf(d.x, d.y, dx, dy) : 0.0f;
    LogDebug("Vector (%4.1f, %4.1f) has angle %4.1f degree to x-axis.", d.x, d.y, theta);
    return theta;
}
