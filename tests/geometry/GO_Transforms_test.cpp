// The nine transforms of lines and circles, called through the base's virtual
// operations: the resulting geometry, and the log lines in order (each defining
// point's own lines, first point first, then the object's INFO lines).
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::LogTail;
using Lines = std::vector<std::string>;

namespace {

enum class Op { Move, Rotate, RotateAbout, Scale, ScaleAbout, FlipHorizontal, FlipVertical, FlipOnOrigin, FlipOnStraight };

struct Transform {
    const char* name;
    Op op;
    CGO_Point a; // vector, base point or first point of the mirror line
    CGO_Point b; // second point of the mirror line
    float value; // angle or factor
};

// Points and objects share the names and signatures of all nine operations.
template <class Target>
void Apply(Target& target, const Transform& t)
{
    switch (t.op) {
    case Op::Move: target.Move(CGO_Vector(t.a.x, t.a.y)); break;
    case Op::Rotate: target.Rotate(t.value); break;
    case Op::RotateAbout: target.RotateAbout(t.a, t.value); break;
    case Op::Scale: target.Scale(t.value); break;
    case Op::ScaleAbout: target.ScaleAbout(t.a, t.value); break;
    case Op::FlipHorizontal: target.FlipHorizontal(); break;
    case Op::FlipVertical: target.FlipVertical(); break;
    case Op::FlipOnOrigin: target.FlipOnOrigin(); break;
    case Op::FlipOnStraight: target.FlipOnStraight(t.a, t.b); break;
    }
}

// What the point operation itself logs for a point starting at `start`.
Lines PointLines(CGO_Point start, const Transform& t)
{
    LogTail tail;
    Apply(start, t);
    return tail.Lines();
}

Lines Concat(Lines first, const Lines& second, const Lines& third)
{
    first.insert(first.end(), second.begin(), second.end());
    first.insert(first.end(), third.begin(), third.end());
    return first;
}

void ExpectPoint(const CGO_Point& p, const CGO_Point& expected, const char* what)
{
    EXPECT_NEAR(p.x, expected.x, 1e-3f) << what;
    EXPECT_NEAR(p.y, expected.y, 1e-3f) << what;
}

} // namespace

TEST(GO_Transforms, LinesAndCirclesTransformBothPointsAndReportOnce)
{
    // Line #41 from (10, 20) to (100, 50); circle #42 about (10, 20) through (10, 25).
    const CGO_Point lineP1(10, 20), lineP2(100, 50), centre(10, 20), peripheral(10, 25);
    const struct {
        Transform t;
        CGO_Point p1, p2;
        Lines lineInfo;
        CGO_Point c, p;
        float radius;
        Lines circleInfo;
    } rows[] = {
        {{"Move", Op::Move, {5, -5}, {}, 0},
         {15, 15}, {105, 45}, {"[INFO] Line #41 moved to P1(15.0, 15.0), P2(105.0, 45.0)."},
         {15, 15}, {15, 20}, 5, {"[INFO] Circle #42 moved to C(15.0, 15.0), P(15.0, 20.0)."}},
        {{"Rotate", Op::Rotate, {}, {}, 90},
         {-20, 10}, {-50, 100}, {"[INFO] Line #41 rotated by 90.0 degree."},
         {-20, 10}, {-25, 10}, 5, {"[INFO] Circle #42 rotated by 90.0 degree."}},
        {{"RotateAbout", Op::RotateAbout, {10, 20}, {}, 90},
         {10, 20}, {-20, 110}, {"[INFO] Line #41 rotated by 90.0 degree."},
         {10, 20}, {5, 20}, 5, {"[INFO] Circle #42 rotated by 90.0 degree."}},
        {{"Scale", Op::Scale, {}, {}, 2},
         {20, 40}, {200, 100}, {"[INFO] Line #41 scaled by  2.0."},
         {20, 40}, {20, 50}, 10,
         {"[INFO] Radius of circle #42 updated: 10.0", "[INFO] Circle #42 scaled by  2.0 (new radius: 10.0)."}},
        {{"ScaleAbout", Op::ScaleAbout, {10, 20}, {}, -0.5f},
         {10, 20}, {-35, 5}, {"[INFO] Line #41 scaled by -0.5."},
         {10, 20}, {10, 17.5f}, 2.5f,
         {"[INFO] Radius of circle #42 updated:  2.5", "[INFO] Circle #42 scaled by -0.5 (new radius:  2.5)."}},
        {{"FlipHorizontal", Op::FlipHorizontal, {}, {}, 0},
         {10, -20}, {100, -50}, {"[INFO] Line #41 flipped horizontal."},
         {10, -20}, {10, -25}, 5, {"[INFO] Circle #42 flipped horizontal."}},
        {{"FlipVertical", Op::FlipVertical, {}, {}, 0},
         {-10, 20}, {-100, 50}, {"[INFO] Line #41 flipped vertical."},
         {-10, 20}, {-10, 25}, 5, {"[INFO] Circle #42 flipped vertical."}},
        {{"FlipOnOrigin", Op::FlipOnOrigin, {}, {}, 0},
         {-10, -20}, {-100, -50}, {"[INFO] Line #41 flipped on origin of ordinates."},
         {-10, -20}, {-10, -25}, 5, {"[INFO] Circle #42 flipped on origin of ordinates."}},
        // Mirror line y = x + 5; the INFO lines name its points, not the object's.
        {{"FlipOnStraight", Op::FlipOnStraight, {0, 5}, {5, 10}, 0},
         {15, 15}, {45, 105},
         {"[INFO] Line #41 flipped on straight through P1( 0.0,  5.0), P2( 5.0, 10.0)."},
         {15, 15}, {20, 15}, 5,
         {"[INFO] Circle #42 flipped on straight through P1( 0.0,  5.0), P2( 5.0, 10.0)."}},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.t.name);
        CGO_GeoObject::RestoreIdFactory(41);
        CGO_Line line;
        line.SetPoints(lineP1, lineP2);
        CGO_Circle circle;
        circle.SetCenterAndPoint(centre, peripheral);
        ASSERT_EQ(circle.GetRadius(), 5.0f);

        const Lines p1Lines = PointLines(lineP1, row.t);
        const Lines p2Lines = PointLines(lineP2, row.t);
        ASSERT_FALSE(p1Lines.empty());
        LogTail lineTail;
        Apply(static_cast<CGO_GeoObject&>(line), row.t);
        EXPECT_EQ(lineTail.Lines(), Concat(p1Lines, p2Lines, row.lineInfo));
        ExpectPoint(line.GetP1(), row.p1, "line P1");
        ExpectPoint(line.GetP2(), row.p2, "line P2");

        const Lines centreLines = PointLines(centre, row.t);
        const Lines peripheralLines = PointLines(peripheral, row.t);
        LogTail circleTail;
        Apply(static_cast<CGO_GeoObject&>(circle), row.t);
        EXPECT_EQ(circleTail.Lines(), Concat(centreLines, peripheralLines, row.circleInfo));
        ExpectPoint(circle.GetCenter(), row.c, "circle centre");
        ExpectPoint(circle.GetPeripheralPoint(), row.p, "circle P");
        if (row.t.op == Op::Scale || row.t.op == Op::ScaleAbout)
            EXPECT_NEAR(circle.GetRadius(), row.radius, 1e-5f);
        else // kept as it was, not measured anew
            EXPECT_EQ(circle.GetRadius(), row.radius);
    }
}
