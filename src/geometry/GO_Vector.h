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
    // Without over- or underflow: a vector whose squares leave the float
    // range gets its length from double precision.
    float Length() const;
    // The length of the vector from one point to another, which may be
    // longer than any float vector can hold; infinite only when the distance
    // itself exceeds the float range.
    static float Distance(CGO_Point from, CGO_Point to);
    // Degrees to the positive x-axis, 0 <= angle < 360. The zero vector has
    // no direction and gets angle 0. Logs the angle.
    float Angle() const;
    // The angle of the direction from p1 to p2: as Angle of the float vector
    // from p1 to p2 wherever that is exact enough, otherwise from their exact
    // difference in double, so that every line of two distinct points has
    // its right direction however long or short it is. Logs the angle with
    // the float vector, as Angle does.
    static float AngleOfLine(CGO_Point p1, CGO_Point p2);

    float x = 0.0f;
    float y = 0.0f;
};
