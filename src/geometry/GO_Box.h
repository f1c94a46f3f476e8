// An axis-aligned box in world coordinates. Double precision, so the box of
// an object near the float limit (a centre plus a radius) stays finite.
#pragma once

#include <algorithm>

struct CGO_Box {
    double xMin = 0.0;
    double yMin = 0.0;
    double xMax = 0.0;
    double yMax = 0.0;

    double Width() const { return xMax - xMin; }
    double Height() const { return yMax - yMin; }

    void Include(const CGO_Box& other)
    {
        xMin = std::min(xMin, other.xMin);
        yMin = std::min(yMin, other.yMin);
        xMax = std::max(xMax, other.xMax);
        yMax = std::max(yMax, other.yMax);
    }
    bool Intersects(const CGO_Box& other) const
    {
        return xMin <= other.xMax && other.xMin <= xMax && yMin <= other.yMax && other.yMin <= yMax;
    }
};
