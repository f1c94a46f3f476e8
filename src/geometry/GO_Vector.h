// A displacement or direction in world units.
#pragma once

#include "geometry/GO_Point.h"

class CGO_Vector {
public:
    CGO_Vector() = default;
    CGO_Vector(float x, float y) : x(x), y(y) {}

    void Set(float newX, float newY) { x = newX; y = newY; }
    void SetX(float newX) { x = newX; }
    void SetY(float newY) { y = newY; }
    float GetX() const { return x; }
    float GetY() const { return y; }

    // The vector from p1 to p2.
    void SetFromPoints(CGO_Point p1, CGO_Point p2);
    float Length() const;
    // Degrees to the positive x-axis, 0 <= angle < 360. The zero vector has
    // no direction and gets angle 0.
    float Angle() const;

    float x = 0.0f;
    float y = 0.0f;
};
