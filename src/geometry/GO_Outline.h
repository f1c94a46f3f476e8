// What an object draws, as primitives in world coordinates: segments and
// circular arcs, a full circle being one arc. The hit test, snapping with its
// crossings, the previews and the painter of exports and print read these,
// so they work on any kind of object without knowing it.
#pragma once

#include "geometry/GO_Box.h"
#include "geometry/GO_Point.h"

#include <array>

struct CGO_Primitive {
    enum Shape : unsigned char { SEGMENT, ARC };

    static CGO_Primitive Segment(CGO_Point from, CGO_Point to);
    static CGO_Primitive Circle(CGO_Point center, float radius);
    // Counter-clockwise from startDegrees over sweepDegrees (0 to 360).
    static CGO_Primitive Arc(CGO_Point center, float radius, float startDegrees, float sweepDegrees);

    bool IsSegment() const { return shape == SEGMENT; }
    bool IsFullCircle() const { return shape == ARC && sweepDegrees >= 360.0f; }

    // The vertices the object's display list draws the primitive with,
    // exactly: a segment's two ends; a full circle's closed strip of
    // CGO_Circle::OUTLINE_VERTICES; an arc's strip of one vertex per degree
    // of sweep, at least two segments. Whatever predicts what an object
    // draws works on these.
    int DrawnVertexCount() const;
    CGO_Point DrawnVertex(int i) const;
    // The true end points of an arc (its start and end angle); a segment's
    // stored ends.
    CGO_Point StartPoint() const;
    CGO_Point EndPoint() const;
    // Whether the direction at angleDegrees from the centre lies within an
    // arc's sweep (always for a full circle).
    bool SweepContains(double angleDegrees) const;

    Shape shape = SEGMENT;
    CGO_Point a;
    CGO_Point b;
    CGO_Point center;
    float radius = 0.0f;
    float startDegrees = 0.0f;
    float sweepDegrees = 360.0f;
};

// The few primitives one object consists of.
class CGO_Outline {
public:
    static constexpr int kMaxPrimitives = 4;

    void Add(const CGO_Primitive& primitive)
    {
        if (m_nCount < kMaxPrimitives)
            m_primitives[static_cast<std::size_t>(m_nCount++)] = primitive;
    }
    int Count() const { return m_nCount; }
    const CGO_Primitive& operator[](int i) const { return m_primitives[static_cast<std::size_t>(i)]; }
    const CGO_Primitive* begin() const { return m_primitives.data(); }
    const CGO_Primitive* end() const { return m_primitives.data() + m_nCount; }

private:
    std::array<CGO_Primitive, kMaxPrimitives> m_primitives{};
    int m_nCount = 0;
};
