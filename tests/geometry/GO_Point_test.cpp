// Point and vector arithmetic: results in single precision and the exact
// DEBUG lines, in order.
#include "geometry/GO_Point.h"
#include "geometry/GO_Vector.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::LogTail;

namespace {

constexpr float kTolerance = 1e-4f;

void ExpectPoint(const CGO_Point& p, float x, float y)
{
    EXPECT_NEAR(p.GetX(), x, kTolerance);
    EXPECT_NEAR(p.GetY(), y, kTolerance);
}

} // namespace

TEST(GO_Point, FlipsAtTheAxesAndTheOrigin)
{
    CGO_Point p(3, 4);
    p.FlipHorizontal();
    ExpectPoint(p, 3, -4);
    p.Set(3, 4);
    p.FlipVertical();
    ExpectPoint(p, -3, 4);

    p.Set(3, 4);
    LogTail tail;
    p.FlipOnOrigin();
    ExpectPoint(p, -3, -4);
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{
                                "[DEBUG] Point flipped horizontal. New location: ( 3.0, -4.0)",
                                "[DEBUG] Point flipped vertical. New location: (-3.0, -4.0)"}));
}

TEST(GO_Point, RotatesCounterClockwiseAndLogsRadians)
{
    CGO_Point p(10, 0);
    LogTail tail;
    p.Rotate(90);
    ExpectPoint(p, 0, 10);
    EXPECT_EQ(tail.Lines(), std::vector<std::string>{
                                "[DEBUG] Point rotated by 90.0 degree (1.571 rad). New location: (-0.0, 10.0)."});
}

TEST(GO_Point, RotateAboutLogsFiveLinesInOrder)
{
    CGO_Point p(10, 5);
    LogTail tail;
    p.RotateAbout(CGO_Point(5, 5), 180);
    ExpectPoint(p, 0, 5);
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{
                                "[DEBUG] Point moved. New location: ( 5.0,  0.0)",
                                "[DEBUG] Rotating: setting basepoint B( 5.0,  5.0).",
                                "[DEBUG] Point rotated by 180.0 degree (3.142 rad). New location: (-5.0, -0.0).",
                                "[DEBUG] Point moved. New location: ( 0.0,  5.0)",
                                "[DEBUG] Rotating: unsetting basepoint."}));
}

TEST(GO_Point, ScalesAboutABasePointAndTheOrigin)
{
    CGO_Point p(2, 3);
    LogTail tail;
    p.ScaleAbout(CGO_Point(1, 1), 2);
    ExpectPoint(p, 3, 5);
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{
                                "[DEBUG] Point moved. New location: ( 1.0,  2.0)",
                                "[DEBUG] Scaling: setting basepoint B( 1.0,  1.0).",
                                "[DEBUG] Point scaled by factor  2.0. New location: ( 2.0,  4.0).",
                                "[DEBUG] Point moved. New location: ( 3.0,  5.0)",
                                "[DEBUG] Scaling: unsetting basepoint."}));
    p.Scale(0);
    ExpectPoint(p, 0, 0);
}

TEST(GO_Point, FlipOnStraightMirrorsWhicheverWayTheLineIsGiven)
{
    const struct {
        CGO_Point p1, p2, in, out;
    } cases[] = {
        {{0, 0}, {1, 1}, {2, 0}, {0, 2}},
        {{0, 0}, {1, -1}, {2, 0}, {0, -2}},
        {{-7, 3}, {5, 3}, {2, 10}, {2, -4}},   // horizontal at height 3
        {{4, -2}, {4, 9}, {1, 1}, {7, 1}},     // vertical at x = 4
    };
    for (const auto& c : cases) {
        CGO_Point forward = c.in;
        forward.FlipOnStraight(c.p1, c.p2);
        ExpectPoint(forward, c.out.x, c.out.y);
        CGO_Point backward = c.in;
        backward.FlipOnStraight(c.p2, c.p1);
        ExpectPoint(backward, c.out.x, c.out.y);
    }
}

TEST(GO_Point, FlipOnStraightThroughEqualPointsLeavesThePointAlone)
{
    CGO_Point p(2, 3);
    LogTail tail;
    p.FlipOnStraight(CGO_Point(1, 1), CGO_Point(1, 1));
    EXPECT_EQ(p.GetX(), 2.0f);
    EXPECT_EQ(p.GetY(), 3.0f);
    EXPECT_EQ(tail.Lines(), std::vector<std::string>{
                                "[DEBUG] Point flipped on straight through P1( 1.0,  1.0), P2( 1.0,  1.0). "
                                "New location: ( 2.0,  3.0)."});
}

TEST(GO_Vector, AngleCoversAllQuadrantsAndTheZeroVector)
{
    const struct {
        float x, y, angle;
    } cases[] = {{3, 0, 0}, {1, 1, 45}, {-1, 0, 180}, {1, -1, 315}, {0, -2, 270}, {0, 0, 0}};
    for (const auto& c : cases) {
        CGO_Vector v(c.x, c.y);
        const float angle = v.Angle();
        EXPECT_FALSE(std::isnan(angle));
        EXPECT_NEAR(angle, c.angle, 1e-3f) << c.x << ", " << c.y;
        EXPECT_LT(angle, 360.0f);
    }
    LogTail tail;
    CGO_Vector(0, -2).Angle();
    EXPECT_EQ(tail.Lines(),
              std::vector<std::string>{"[DEBUG] Vector ( 0.0, -2.0) has angle 270.0 degree to x-axis."});
}

TEST(GO_Vector, LengthAndDirectionFromTwoPoints)
{
    CGO_Vector v;
    v.SetFromPoints(CGO_Point(1, 2), CGO_Point(4, 6));
    EXPECT_EQ(v.GetX(), 3.0f);
    EXPECT_EQ(v.GetY(), 4.0f);
    EXPECT_EQ(v.Length(), 5.0f);
}
