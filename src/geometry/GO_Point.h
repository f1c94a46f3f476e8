// A position in world coordinates, with every transformation the drawing
// applies to the defining points of its objects. Each transform logs a line.
#pragma once

class CGO_Vector;

class CGO_Point {
public:
    CGO_Point() = default;
    CGO_Point(float x, float y) : x(x), y(y) {}

    void Set(float newX, float newY) { x = newX; y = newY; }
    void SetX(float newX) { x = newX; }
    void SetY(float newY) { y = newY; }
    float GetX() const { return x; }
    float GetY() const { return y; }
    // Neither coordinate infinite or not a number.
    bool IsFinite() const;

    void Move(const CGO_Vector& v);
    void Rotate(float angle);                    // degrees, counter-clockwise
    void RotateAbout(CGO_Point base, float angle);
    void Scale(float factor);
    void ScaleAbout(CGO_Point base, float factor);
    void FlipHorizontal();                       // y := -y
    void FlipVertical();                         // x := -x
    void FlipOnOrigin();
    // Mirrors at the straight line through p1 and p2. Two equal points give
    // no line, and the point then stays where it is.
    void FlipOnStraight(CGO_Point p1, CGO_Point p2);

    float x = 0.0f;
    float y = 0.0f;
};
