// Finite input near the float limits: a transform whose result would not be
// finite leaves the object bit for bit; lengths and radii do not overflow;
// mirror lines from 1e-30 to 1e30 long mirror at their own direction.
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "MemoryArchive.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

using testsupport::LogTail;

namespace {

struct Op {
    std::string name;   // for the trace
    const char* done;   // as the warning names it
    std::function<void(CGO_GeoObject&)> apply;
};

Op MoveBy(float x, float y)
{
    return {"move by (" + std::to_string(x) + ", " + std::to_string(y) + ")", "moved",
            [x, y](CGO_GeoObject& o) { o.Move(CGO_Vector(x, y)); }};
}
Op RotateBy(float a)
{
    return {"rotate by " + std::to_string(a), "rotated", [a](CGO_GeoObject& o) { o.Rotate(a); }};
}
Op RotateAbout(float bx, float by, float a)
{
    return {"rotate about (" + std::to_string(bx) + ", " + std::to_string(by) + ") by " + std::to_string(a),
            "rotated", [bx, by, a](CGO_GeoObject& o) { o.RotateAbout(CGO_Point(bx, by), a); }};
}
Op ScaleBy(float f)
{
    return {"scale by " + std::to_string(f), "scaled", [f](CGO_GeoObject& o) { o.Scale(f); }};
}
Op ScaleAbout(float bx, float by, float f)
{
    return {"scale about (" + std::to_string(bx) + ", " + std::to_string(by) + ") by " + std::to_string(f),
            "scaled", [bx, by, f](CGO_GeoObject& o) { o.ScaleAbout(CGO_Point(bx, by), f); }};
}
Op FlipOnStraight(float x1, float y1, float x2, float y2)
{
    return {"mirror at (" + std::to_string(x1) + ", " + std::to_string(y1) + ")-(" + std::to_string(x2) + ", " +
                std::to_string(y2) + ")",
            "flipped on straight",
            [=](CGO_GeoObject& o) { o.FlipOnStraight(CGO_Point(x1, y1), CGO_Point(x2, y2)); }};
}

bool AllFinite(const CGO_ObjectState& state)
{
    for (std::size_t i = 0; i < state.values.size(); ++i)
        if (!std::isfinite(state.values[i]))
            return false;
    return true;
}

std::string ClassName(const CGO_GeoObject& object)
{
    return dynamic_cast<const CGO_Line*>(&object) ? "Line" : "Circle";
}

// Applies op and checks what holds for every transform: the coordinates stay
// finite; a refused transform changes nothing, warns once and reports no
// transform; one that is done reports itself and refuses nothing.
bool ApplyAndCheck(CGO_GeoObject& object, const Op& op)
{
    SCOPED_TRACE(op.name);
    const CGO_ObjectState before = object.SaveState();
    LogTail tail;
    op.apply(object);
    const CGO_ObjectState after = object.SaveState();
    EXPECT_TRUE(AllFinite(after));
    const std::string warning = "[WARN] " + ClassName(object) + " #" + std::to_string(object.GetId()) + " not " +
                                op.done + ": the result would not be finite.";
    int warnings = 0;
    int reports = 0;
    for (const std::string& line : tail.Lines()) {
        warnings += line == warning;
        reports += line.rfind("[INFO] " + ClassName(object) + " #", 0) == 0 ||
                   line.rfind("[INFO] Radius of circle", 0) == 0;
    }
    if (object.LastTransformRefused()) {
        EXPECT_TRUE(after == before) << "a refused transform changed the object";
        EXPECT_EQ(warnings, 1);
        EXPECT_EQ(reports, 0);
    } else {
        EXPECT_EQ(warnings, 0);
        EXPECT_GE(reports, 1);
    }
    return object.LastTransformRefused();
}

std::unique_ptr<CGO_GeoObject> MakeLine(float x1, float y1, float x2, float y2)
{
    auto line = std::make_unique<CGO_Line>();
    line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
    return line;
}

std::unique_ptr<CGO_GeoObject> MakeCircle(float cx, float cy, float r)
{
    auto circle = std::make_unique<CGO_Circle>();
    circle->SetCenterAndRadius(CGO_Point(cx, cy), r);
    return circle;
}

std::vector<std::unique_ptr<CGO_GeoObject>> Both(std::unique_ptr<CGO_GeoObject> line,
                                                 std::unique_ptr<CGO_GeoObject> circle)
{
    std::vector<std::unique_ptr<CGO_GeoObject>> objects;
    objects.push_back(std::move(line));
    objects.push_back(std::move(circle));
    return objects;
}

constexpr float kMax = std::numeric_limits<float>::max();

} // namespace

TEST(GO_ExtremeValues, ScaleByHugeFactorThenRotateStaysFinite)
{
    for (auto& object : Both(MakeLine(1, 2, 3, -1.5f), MakeCircle(1, 2, 1))) {
        SCOPED_TRACE(ClassName(*object));
        EXPECT_FALSE(ApplyAndCheck(*object, ScaleBy(1e38f)));
        EXPECT_TRUE(ApplyAndCheck(*object, ScaleBy(1e38f)));
        ApplyAndCheck(*object, RotateBy(45));
    }
}

TEST(GO_ExtremeValues, FourthMoveByHugeVectorIsRefusedAndTheThirdStays)
{
    for (auto& object : Both(MakeLine(0, 0, 1, 1), MakeCircle(0, 0, 1))) {
        SCOPED_TRACE(ClassName(*object));
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(ApplyAndCheck(*object, MoveBy(1e38f, 1e38f)));
        const CGO_ObjectState third = object->SaveState();
        EXPECT_NEAR(third.values[0], 3e38f, 1e32f);
        EXPECT_TRUE(ApplyAndCheck(*object, MoveBy(1e38f, 1e38f)));
        EXPECT_TRUE(object->SaveState() == third);
        // A transform that fits is done again afterwards.
        EXPECT_FALSE(ApplyAndCheck(*object, MoveBy(-1e38f, -1e38f)));
    }
}

// Every factor, vector and angle of the table on lines and circles all over
// the float range, one after another on the same objects.
TEST(GO_ExtremeValues, TableOfExtremeTransformsNeverLeavesANonFiniteCoordinate)
{
    const float factors[] = {1e38f, -1e38f, 1e30f, 3.5f, 1e-38f, 1e-45f, 0.0f, -0.0f, kMax};
    const float angles[] = {45, 90, 180, -30, 1e10f, 3e38f, 1e-30f};
    const float coordinates[] = {kMax, -kMax, 3e38f, 1e38f, 1e20f, -1e19f, 1e-38f, 1e-45f, 0, 7};
    std::vector<Op> ops;
    for (float f : factors) {
        ops.push_back(ScaleBy(f));
        ops.push_back(ScaleAbout(-3e38f, 2e38f, f));
        ops.push_back(ScaleAbout(1, 1, f));
    }
    for (float a : angles) {
        ops.push_back(RotateBy(a));
        ops.push_back(RotateAbout(3e38f, -3e38f, a));
    }
    for (float c : coordinates) {
        ops.push_back(MoveBy(c, -c));
        ops.push_back(MoveBy(c, c));
        ops.push_back(FlipOnStraight(c, 0, c, 1));
        ops.push_back(FlipOnStraight(-c, -c, c, c));
        ops.push_back(FlipOnStraight(0, c, 1e-30f, c));
    }
    const std::function<std::unique_ptr<CGO_GeoObject>()> makers[] = {
        [] { return MakeLine(0, 0, 1, 1); },
        [] { return MakeLine(-kMax, kMax, kMax, -kMax); },
        [] { return MakeLine(1e-40f, 0, 0, 1e-45f); },
        [] { return MakeCircle(0, 0, 1); },
        [] { return MakeCircle(3e38f, -3e38f, 3e38f); },
        [] { return MakeCircle(1e-38f, 1e-38f, 1e-44f); },
    };
    int refused = 0;
    for (const auto& make : makers) {
        const auto object = make();
        for (const Op& op : ops)
            refused += ApplyAndCheck(*object, op);
    }
    EXPECT_GT(refused, 0);
}

// The same rules under random sequences of random transforms, with values
// drawn over the whole exponent range.
TEST(GO_ExtremeValues, RandomSequencesKeepEveryCoordinateFinite)
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> exponent(-45.0f, 38.5f);
    std::uniform_int_distribution<int> sign(0, 1);
    std::uniform_int_distribution<int> kind(0, 5);
    const auto value = [&] {
        const float v = std::pow(10.0f, exponent(random));
        return std::isfinite(v) ? (sign(random) ? v : -v) : kMax;
    };
    for (int run = 0; run < 40; ++run) {
        auto object = run % 2 ? MakeLine(value(), value(), value(), value())
                              : MakeCircle(value(), value(), std::fabs(value()) / 4);
        for (int step = 0; step < 25; ++step) {
            switch (kind(random)) {
            case 0: ApplyAndCheck(*object, MoveBy(value(), value())); break;
            case 1: ApplyAndCheck(*object, RotateAbout(value(), value(), value())); break;
            case 2: ApplyAndCheck(*object, ScaleBy(value())); break;
            case 3: ApplyAndCheck(*object, ScaleAbout(value(), value(), value())); break;
            case 4: ApplyAndCheck(*object, FlipOnStraight(value(), value(), value(), value())); break;
            default: ApplyAndCheck(*object, RotateBy(value())); break;
            }
        }
    }
}

TEST(GO_ExtremeValues, RefusedTransformWarnsWithTheObjectAndTheOperation)
{
    CGO_GeoObject::RestoreIdFactory(3);
    CGO_Line line;
    line.SetPoints(CGO_Point(3e38f, 0), CGO_Point(0, 0));
    LogTail tail;
    line.Move(CGO_Vector(3e38f, 0));
    EXPECT_TRUE(line.LastTransformRefused());
    const std::vector<std::string> lines = tail.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "[WARN] Line #3 not moved: the result would not be finite.");
    line.Move(CGO_Vector(-3e38f, 0));
    EXPECT_FALSE(line.LastTransformRefused());
}

TEST(GO_ExtremeValues, RadiusAndLengthDoNotOverflowOrUnderflow)
{
    CGO_Circle circle;
    circle.SetCenterAndPoint(CGO_Point(0, 0), CGO_Point(2e19f, 0));
    EXPECT_EQ(circle.GetRadius(), 2e19f);
    circle.SetCenterAndPoint(CGO_Point(-1e38f, 0), CGO_Point(1e38f, 0));
    EXPECT_EQ(circle.GetRadius(), 2e38f);
    circle.SetCenterAndPoint(CGO_Point(0, 0), CGO_Point(3e-39f, 4e-39f));
    EXPECT_NEAR(circle.GetRadius(), 5e-39f, 1e-44f);

    for (double length = 1e-40; length < 1e38; length *= 7.3) {
        const float x = static_cast<float>(length * 0.6);
        const float y = static_cast<float>(length * -0.8);
        const double exact = std::hypot(static_cast<double>(x), static_cast<double>(y));
        EXPECT_NEAR(CGO_Vector(x, y).Length(), exact, exact * 1e-6 + 1e-45) << length;
        EXPECT_NEAR(CGO_Vector::Distance(CGO_Point(x, 0), CGO_Point(0, y)), exact, exact * 1e-6 + 1e-45) << length;
    }
}

// A centre near the float limit puts the point straight above it beyond the
// limit; it goes straight below instead, so the circle can still be moved.
TEST(GO_ExtremeValues, PeripheralPointStaysFiniteNearTheFloatLimit)
{
    CGO_Circle set;
    set.SetCenterAndRadius(CGO_Point(1, 3e38f), 2e38f);
    testsupport::MemoryArchive archive({1, 3e38f, 2e38f});
    CGO_Circle loaded;
    loaded.Serialize(archive);
    for (CGO_Circle* circle : {&set, &loaded}) {
        EXPECT_EQ(circle->GetPeripheralPoint().x, 1.0f);
        EXPECT_EQ(circle->GetPeripheralPoint().y, 3e38f - 2e38f);
        EXPECT_EQ(circle->GetRadius(), 2e38f);
        EXPECT_FALSE(ApplyAndCheck(*circle, MoveBy(-1e38f, -1e38f)));
    }
    CGO_Circle ordinary;
    ordinary.SetCenterAndRadius(CGO_Point(1, -3e38f), 2e38f);
    EXPECT_EQ(ordinary.GetPeripheralPoint().y, -3e38f + 2e38f) << "above, as always, where that fits";
}

// Ordinary lengths keep their single-precision steps to the last bit.
TEST(GO_ExtremeValues, OrdinaryLengthsAreSquaredInSinglePrecision)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> any(-1e6f, 1e6f);
    for (int i = 0; i < 2000; ++i) {
        const float x = any(random);
        const float y = any(random) * 1e-3f;
        const float xx = x * x;
        const float yy = y * y;
        const float sum = xx + yy;
        EXPECT_EQ(CGO_Vector(x, y).Length(), static_cast<float>(std::sqrt(static_cast<double>(sum))));
    }
}

namespace {

// The mirror image of q at the line through p1 and p2, in double.
CGO_Point MirrorReference(CGO_Point q, CGO_Point p1, CGO_Point p2)
{
    const double dx = static_cast<double>(p2.x) - p1.x;
    const double dy = static_cast<double>(p2.y) - p1.y;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length;
    const double uy = dy / length;
    const double vx = static_cast<double>(q.x) - p1.x;
    const double vy = static_cast<double>(q.y) - p1.y;
    const double along = vx * ux + vy * uy;
    return CGO_Point(static_cast<float>(p1.x + 2 * along * ux - vx), static_cast<float>(p1.y + 2 * along * uy - vy));
}

} // namespace

TEST(GO_ExtremeValues, MirrorLinesOfAnyLengthMirrorAtTheirOwnDirection)
{
    // The two lines found mirroring at the wrong axis.
    CGO_Point p(3, 4);
    p.FlipOnStraight(CGO_Point(0, 0), CGO_Point(1e20f, 0));
    EXPECT_NEAR(p.x, 3, 1e-5);
    EXPECT_NEAR(p.y, -4, 1e-5);
    p = CGO_Point(3, 4);
    p.FlipOnStraight(CGO_Point(0, 0), CGO_Point(0, 1e-38f));
    EXPECT_NEAR(p.x, -3, 1e-5);
    EXPECT_NEAR(p.y, 4, 1e-5);

    const double degrees[] = {0, 17, 45, 90, 123.4, 180, 200, 270, 333};
    for (double length = 1e-30; length <= 1.5e30; length *= 10) {
        for (const double angle : degrees) {
            const double a = angle * M_PI / 180.0;
            // Through the origin, and through a point as far out as the line
            // is long; the mirrored point lies as far out as well.
            for (const double offset : {0.0, length}) {
                const CGO_Point p1(static_cast<float>(offset * 0.3), static_cast<float>(offset * -0.7));
                const CGO_Point p2(static_cast<float>(p1.x + length * std::cos(a)),
                                   static_cast<float>(p1.y + length * std::sin(a)));
                if (p1.x == p2.x && p1.y == p2.y)
                    continue;
                const double scale = std::max(length, 1.0);
                const CGO_Point q(static_cast<float>(scale * 1.1), static_cast<float>(scale * 2.3));
                const CGO_Point expected = MirrorReference(q, p1, p2);
                const double tolerance = 2e-6 * std::hypot(static_cast<double>(q.x) - p1.x, static_cast<double>(q.y) - p1.y) +
                                         1e-6 * std::hypot(static_cast<double>(p1.x), static_cast<double>(p1.y));
                for (const bool swapped : {false, true}) {
                    CGO_Point mirrored = q;
                    mirrored.FlipOnStraight(swapped ? p2 : p1, swapped ? p1 : p2);
                    EXPECT_NEAR(mirrored.x, expected.x, tolerance)
                        << "length " << length << ", angle " << angle << ", offset " << offset << ", swapped " << swapped;
                    EXPECT_NEAR(mirrored.y, expected.y, tolerance)
                        << "length " << length << ", angle " << angle << ", offset " << offset << ", swapped " << swapped;
                }
            }
        }
    }
}

TEST(GO_ExtremeValues, MirrorAtEqualPointsStillLeavesThePoint)
{
    for (const float c : {0.0f, 1e-45f, 1e20f, kMax}) {
        CGO_Point p(2, 3);
        p.FlipOnStraight(CGO_Point(c, -c), CGO_Point(c, -c));
        EXPECT_EQ(p.x, 2.0f);
        EXPECT_EQ(p.y, 3.0f);
    }
}
