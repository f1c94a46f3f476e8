// Point transformations, computed step by step in single precision.
#include "geometry/GO_Point.h"

#include "geometry/GO_Math.h"
#include "geometry/GO_Vector.h"
#include "log/Logger.h"

#include <cmath>

bool CGO_Point::IsFinite() const
{
    return std::isfinite(x) && std::isfinite(y);
}

void CGO_Point::Move(const CGO_Vector& v)
{
    x = v.x + x;
    y = v.y + y;
    LogDebug("Point moved. New location: (%4.1f, %4.1f)", x, y);
}

void CGO_Point::Rotate(float angle)
{
    const float r = angle * geo::kPi / geo::kHalfCircle;
    const double c = std::cos(static_cast<double>(r));
    const double s = std::sin(static_cast<double>(r));
    const float t = static_cast<float>(c * x);
    const float u = static_cast<float>(c * y);
    const float newX = static_cast<float>(t - s * y);
    const float newY = static_cast<float>(s * x + u);
    x = newX;
    y = newY;
    LogDebug("Point rotated by %4.1f degree (%5.3f rad). New location: (%4.1f, %4.1f).", angle, r, x, y);
}

void CGO_Point::RotateAbout(CGO_Point base, float angle)
{
    CGO_Vector shift(-base.x, -base.y);
    Move(shift);
    LogDebug("Rotating: setting basepoint B(%4.1f, %4.1f).", base.x, base.y);
    Rotate(angle);
    shift.Set(base.x, base.y);
    Move(shift);
    LogDebug("Rotating: unsetting basepoint.");
}

void CGO_Point::Scale(float factor)
{
    x = factor * x;
    y = factor * y;
    LogDebug("Point scaled by factor %4.1f. New location: (%4.1f, %4.1f).", factor, x, y);
}

void CGO_Point::ScaleAbout(CGO_Point base, float factor)
{
    CGO_Vector shift(-base.x, -base.y);
    Move(shift);
    LogDebug("Scaling: setting basepoint B(%4.1f, %4.1f).", base.x, base.y);
    Scale(factor);
    shift.Set(base.x, base.y);
    Move(shift);
    LogDebug("Scaling: unsetting basepoint.");
}

void CGO_Point::FlipHorizontal()
{
    y = -y;
    LogDebug("Point flipped horizontal. New location: (%4.1f, %4.1f)", x, y);
}

void CGO_Point::FlipVertical()
{
    x = -x;
    LogDebug("Point flipped vertical. New location: (%4.1f, %4.1f)", x, y);
}

void CGO_Point::FlipOnOrigin()
{
    FlipHorizontal();
    FlipVertical();
}

void CGO_Point::FlipOnStraight(CGO_Point p1, CGO_Point p2)
{
    // Two equal points define no line; mirroring at "it" leaves the point alone
    // instead of filling it with not-a-number values.
    if (p1.x != p2.x || p1.y != p2.y) {
        const float alpha = CGO_Vector::AngleOfLine(p1, p2);
        RotateAbout(p1, -alpha);
        CGO_Vector toAxis(0.0f, -p1.y);
        Move(toAxis);
        FlipHorizontal();
        toAxis.Set(0.0f, p1.y);
        Move(toAxis);
        RotateAbout(p1, alpha);
    }
    LogDebug("Point flipped on straight through P1(%4.1f, %4.1f), P2(%4.1f, %4.1f). New location: (%4.1f, %4.1f).",
             p1.x, p1.y, p2.x, p2.y, x, y);
}
