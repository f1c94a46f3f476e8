// Arcs: every transform moves the arc's ends and middle exactly where the
// point operation moves those points (a mirror swaps the ends), a refused
// transform keeps every bit, and the drawing file holds arcs in a class
// record of their own while files without arcs stay as they were.
#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "geometry/GO_Arc.h"
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

CGO_Point Middle(const CGO_Arc& arc)
{
    const double a = (arc.GetStartAngle() + arc.GetSweep() / 2.0) * M_PI / 180.0;
    return CGO_Point(static_cast<float>(arc.GetCenter().x + arc.GetRadius() * std::cos(a)),
                     static_cast<float>(arc.GetCenter().y + arc.GetRadius() * std::sin(a)));
}

CGO_Point End(const CGO_Arc& arc, bool start)
{
    CGO_Outline outline;
    arc.GetOutline(outline);
    return start ? outline[0].StartPoint() : outline[0].EndPoint();
}

void ExpectNear(CGO_Point actual, CGO_Point expected, const char* what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-3) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-3) << what;
}

} // namespace

TEST(GO_Arc, TransformsCarryEndsAndMiddleLikeTheirPoints)
{
    using Op = void (*)(CGO_GeoObject&);
    using PointOp = void (*)(CGO_Point&);
    const struct {
        const char* name;
        Op arcOp;
        PointOp pointOp;
        bool mirrors;
    } cases[] = {
        {"move", [](CGO_GeoObject& o) { o.Move(CGO_Vector(3, -4)); }, [](CGO_Point& p) { p.Move(CGO_Vector(3, -4)); }, false},
        {"rotate", [](CGO_GeoObject& o) { o.Rotate(100); }, [](CGO_Point& p) { p.Rotate(100); }, false},
        {"rotate about", [](CGO_GeoObject& o) { o.RotateAbout(CGO_Point(5, 5), -250); },
         [](CGO_Point& p) { p.RotateAbout(CGO_Point(5, 5), -250); }, false},
        {"scale", [](CGO_GeoObject& o) { o.Scale(2.5f); }, [](CGO_Point& p) { p.Scale(2.5f); }, false},
        {"scale negative", [](CGO_GeoObject& o) { o.Scale(-2); }, [](CGO_Point& p) { p.Scale(-2); }, false},
        {"scale about", [](CGO_GeoObject& o) { o.ScaleAbout(CGO_Point(1, 2), -0.5f); },
         [](CGO_Point& p) { p.ScaleAbout(CGO_Point(1, 2), -0.5f); }, false},
        {"flip horizontal", [](CGO_GeoObject& o) { o.FlipHorizontal(); }, [](CGO_Point& p) { p.FlipHorizontal(); }, true},
        {"flip vertical", [](CGO_GeoObject& o) { o.FlipVertical(); }, [](CGO_Point& p) { p.FlipVertical(); }, true},
        {"flip on origin", [](CGO_GeoObject& o) { o.FlipOnOrigin(); }, [](CGO_Point& p) { p.FlipOnOrigin(); }, false},
        {"flip on straight", [](CGO_GeoObject& o) { o.FlipOnStraight(CGO_Point(-1, 2), CGO_Point(4, 9)); },
         [](CGO_Point& p) { p.FlipOnStraight(CGO_Point(-1, 2), CGO_Point(4, 9)); }, true},
    };
    // Arcs across 0 degrees, short and nearly full.
    const float angles[][2] = {{30, 120}, {300, 45}, {10, 5}, {0, 180}};
    for (const auto& c : cases) {
        for (const auto& range : angles) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(range[0]) + "-" + std::to_string(range[1]));
            CGO_Arc arc;
            arc.SetArc(CGO_Point(7, -3), 4, range[0], range[1]);
            CGO_Point start = End(arc, true), end = End(arc, false), middle = Middle(arc);
            const float sweep = arc.GetSweep();
            c.pointOp(start);
            c.pointOp(end);
            c.pointOp(middle);
            c.arcOp(arc);
            ASSERT_FALSE(arc.LastTransformRefused());
            ExpectNear(End(arc, true), c.mirrors ? end : start, "start");
            ExpectNear(End(arc, false), c.mirrors ? start : end, "end");
            ExpectNear(Middle(arc), middle, "middle");
            EXPECT_NEAR(arc.GetSweep(), sweep, 1e-3);
            EXPECT_GE(arc.GetStartAngle(), 0.0f);
            EXPECT_LT(arc.GetEndAngle(), 360.0f);
        }
    }
}

TEST(GO_Arc, TransformBeyondTheFloatRangeIsRefusedAndKeepsEveryBit)
{
    CGO_Arc arc;
    arc.SetArc(CGO_Point(3e38f, 2), 3e38f, 10, 20);
    const CGO_ObjectState before = arc.SaveState();
    arc.Scale(10);
    EXPECT_TRUE(arc.LastTransformRefused());
    arc.Move(CGO_Vector(FLT_MAX, 0));
    EXPECT_TRUE(arc.LastTransformRefused());
    EXPECT_EQ(arc.SaveState(), before);
}

TEST(GO_Arc, SnapPointsAreEndsMiddleCentreAndTheQuadrantsOnTheArc)
{
    CGO_Arc arc;
    arc.SetArc(CGO_Point(0, 0), 10, 45, 180);
    CGO_SnapPoints points;
    arc.GetSnapPoints(points);
    int quadrants = 0, ends = 0, middles = 0, centres = 0;
    for (const CGO_SnapPoint& p : points) {
        quadrants += p.kind == GO_POINT_QUADRANT;
        ends += p.kind == GO_POINT_END;
        middles += p.kind == GO_POINT_MIDDLE;
        centres += p.kind == GO_POINT_CENTER;
    }
    EXPECT_EQ(quadrants, 2); // 90 and 180 degrees
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(middles, 1);
    EXPECT_EQ(centres, 1);
}

TEST(GO_Arc, DrawingFileHoldsArcsInAClassRecordOfTheirOwn)
{
    using namespace dbtest;
    const auto dir = testsupport::MakeScratchDir("arcfile");
    CGO_Database db;
    db.Add(MakeLine(1, 2, 3, 4));
    auto* arc = new CGO_Arc;
    arc->SetArc(CGO_Point(5, 6), 7, 0.1f, 359.9f);
    db.Add(arc);
    auto* second = new CGO_Arc;
    second->SetArc(CGO_Point(-1e-30f, 3e38f), 1e-20f, 270, 90);
    db.Add(second);
    const Bytes expected = FileBuilder()
                               .U16(3)
                               .NewClass("CGO_Line").Line(1, 2, 3, 4)
                               .NewClass("CGO_Arc").F32(5).F32(6).F32(7).F32(0.1f).F32(359.9f)
                               .U16(0x8003).F32(-1e-30f).F32(3e38f).F32(1e-20f).F32(270).F32(90)
                               .Get();
    const std::string first = dir + "/first.dat", again = dir + "/again.dat";
    ASSERT_TRUE(db.Save(first.c_str()));
    EXPECT_EQ(ReadFile(first), expected);
    CGO_Database copy;
    EXPECT_EQ(copy.Load(first.c_str()), 3);
    ASSERT_TRUE(copy.Save(again.c_str()));
    EXPECT_EQ(ReadFile(again), expected);
}
