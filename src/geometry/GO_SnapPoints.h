// The points an object offers for snapping, by kind, and the arithmetic that
// places them exactly on floats.
#pragma once

#include "geometry/GO_Point.h"

#include <array>

class CGO_Outline;

// The kinds of point an object offers; the snap switches use the same bits.
enum : unsigned {
    GO_POINT_END = 1u << 0,
    GO_POINT_MIDDLE = 1u << 1,
    GO_POINT_CENTER = 1u << 2,
    GO_POINT_QUADRANT = 1u << 3,
};

struct CGO_SnapPoint {
    unsigned kind = 0;
    CGO_Point point;
};

class CGO_SnapPoints {
public:
    static constexpr int kMaxPoints = 24;

    void Add(unsigned kind, CGO_Point point)
    {
        if (m_nCount < kMaxPoints)
            m_points[static_cast<std::size_t>(m_nCount++)] = {kind, point};
    }
    int Count() const { return m_nCount; }
    const CGO_SnapPoint* begin() const { return m_points.data(); }
    const CGO_SnapPoint* end() const { return m_points.data() + m_nCount; }

    // What an outline offers: a segment its stored ends (bit for bit, so
    // that corners meet exactly) and its middle; an arc its centre, the
    // quadrants that lie on it, and, short of a full circle, its ends and
    // its middle. Non-finite points are left out.
    void AddOutlinePoints(const CGO_Outline& outline);

private:
    std::array<CGO_SnapPoint, kMaxPoints> m_points{};
    int m_nCount = 0;
};

namespace geo {

// Rounds (x, y) to the nearest float point. False, with out unchanged, when
// either value is not finite or lies beyond the float range: such a point
// cannot be stored in an object and is never offered.
bool ToFloatPoint(double x, double y, CGO_Point& out);

// (a + b) / 2 in double, rounded once; whenever the midpoint is a float it is
// given exactly. False for non-finite ends.
bool Midpoint(CGO_Point a, CGO_Point b, CGO_Point& out);

// The circle's points at 0, 90, 180 and 270 degrees, centre +- |radius| on
// each axis, in that order; those that leave the float range are left out.
// Returns how many were written to out.
int Quadrants(CGO_Point center, float radius, CGO_Point out[4]);

} // namespace geo
