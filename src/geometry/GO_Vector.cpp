// Vector length and direction, in single precision.
#include "geometry/GO_Vector.h"

#include "geometry/GO_Math.h"
#include "log/Logger.h"

#include <cmath>

void CGO_Vector::SetFromPoints(CGO_Point p1, CGO_Point p2)
{
    x = p2.x - p1.x;
    y = p2.y - p1.y;
}

float CGO_Vector::Length() const
{
    const float squares = x * x + y * y;
    return static_cast<float>(std::sqrt(static_cast<double>(squares)));
}

float CGO_Vector::Angle() const
{
    const float length = Length();
    float theta = 0.0f;
    if (length != 0.0f) {
        float k = x / length;
        // Rounding can push the cosine a hair past 1, where acos has no value.
        if (k > 1.0f) k = 1.0f;
        if (k < -1.0f) k = -1.0f;
        theta = static_cast<float>(std::acos(static_cast<double>(k)) * geo::kHalfCircle / geo::kPi);
        if (y < 0.0f)
            theta = 360.0f - theta;
        if (theta >= 360.0f) // a direction a hair below the x-axis
            theta = 0.0f;
    }
    LogDebug("Vector (%4.1f, %4.1f) has angle %4.1f degree to x-axis.", x, y, theta);
    return theta;
}
