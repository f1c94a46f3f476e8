// Circles: the two ways of setting one, the radius kept right under scaling,
// and the data record they store into and load from an archive.
#include "geometry/GO_Circle.h"
#include "MemoryArchive.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using testsupport::LogTail;
using testsupport::MemoryArchive;
using Lines = std::vector<std::string>;

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST(GO_Circle, CentreAndPointGiveTheRadiusWithTwoInfoLines)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Circle circle;
    LogTail tail;
    circle.SetCenterAndPoint(CGO_Point(0, 0), CGO_Point(3, 4));
    EXPECT_EQ(circle.GetRadius(), 5.0f);
    EXPECT_EQ(tail.Lines(), (Lines{"[INFO] Circle #0: C( 0.0,  0.0), P( 3.0,  4.0)",
                                   "[INFO] Radius of circle #0 updated:  5.0"}));
}

TEST(GO_Circle, CentreAndRadiusPutThePointStraightAbove)
{
    const struct {
        CGO_Point centre;
        float radius;
        CGO_Point expectedP;
        const char* line;
    } cases[] = {
        {{10, 10}, 5, {10, 15}, "[INFO] Circle #0: C(10.0, 10.0), P(10.0, 15.0), radius:  5.0"},
        {{-2, 3}, 0, {-2, 3}, "[INFO] Circle #0: C(-2.0,  3.0), P(-2.0,  3.0), radius:  0.0"},
        // Accepted as given; the point then lies below the centre.
        {{0, 0}, -3, {0, -3}, "[INFO] Circle #0: C( 0.0,  0.0), P( 0.0, -3.0), radius: -3.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        CGO_GeoObject::ResetIdFactory();
        CGO_Circle circle;
        LogTail tail;
        circle.SetCenterAndRadius(c.centre, c.radius);
        EXPECT_EQ(circle.GetRadius(), c.radius);
        EXPECT_EQ(circle.GetCenter().x, c.centre.x);
        EXPECT_EQ(circle.GetCenter().y, c.centre.y);
        EXPECT_EQ(circle.GetPeripheralPoint().x, c.expectedP.x);
        EXPECT_EQ(circle.GetPeripheralPoint().y, c.expectedP.y);
        EXPECT_EQ(tail.Lines(), Lines{c.line});
    }
}

// However the circle came about, scaling measures the radius anew from the
// scaled centre and peripheral point: never negative, |f| times the old one.
TEST(GO_Circle, ScalingKeepsTheRadiusPositiveAndProportional)
{
    const std::pair<const char*, std::function<void(CGO_Circle&)>> makings[] = {
        {"centre and radius", [](CGO_Circle& c) { c.SetCenterAndRadius(CGO_Point(10, 0), 5); }},
        {"centre and point", [](CGO_Circle& c) { c.SetCenterAndPoint(CGO_Point(10, 0), CGO_Point(13, -4)); }},
        {"loaded", [](CGO_Circle& c) { MemoryArchive load({10, 0, 5}); c.Serialize(load); }},
        {"negative radius", [](CGO_Circle& c) { c.SetCenterAndRadius(CGO_Point(10, 0), -5); }},
    };
    const struct {
        const char* name;
        std::function<void(CGO_Circle&)> scale;
        CGO_Point centre;
        float radius;
    } scalings[] = {
        {"Scale(2)", [](CGO_Circle& c) { c.Scale(2); }, {20, 0}, 10},
        {"Scale(-2)", [](CGO_Circle& c) { c.Scale(-2); }, {-20, 0}, 10},
        {"Scale(0)", [](CGO_Circle& c) { c.Scale(0); }, {0, 0}, 0},
        {"ScaleAbout(centre, 2)", [](CGO_Circle& c) { c.ScaleAbout(c.GetCenter(), 2); }, {10, 0}, 10},
        {"ScaleAbout(centre, -2)", [](CGO_Circle& c) { c.ScaleAbout(c.GetCenter(), -2); }, {10, 0}, 10},
        {"ScaleAbout((0, 10), 0.5)", [](CGO_Circle& c) { c.ScaleAbout(CGO_Point(0, 10), 0.5f); }, {5, 5}, 2.5f},
    };
    for (const auto& [making, make] : makings) {
        for (const auto& s : scalings) {
            SCOPED_TRACE(testing::Message() << making << ", " << s.name);
            CGO_Circle circle;
            make(circle);
            s.scale(circle);
            EXPECT_EQ(circle.GetCenter().x, s.centre.x);
            EXPECT_EQ(circle.GetCenter().y, s.centre.y);
            EXPECT_EQ(circle.GetRadius(), s.radius);
        }
    }
}

TEST(GO_Circle, StoresThreeFloatsAndLoadsThemBackBitForBit)
{
    CGO_GeoObject::ResetIdFactory();
    const float x = -0.1f, y = 1e-40f /* subnormal */, r = 123.456f;
    CGO_Circle original;
    original.SetCenterAndPoint(CGO_Point(x, y), CGO_Point(x + r, y));
    ASSERT_EQ(original.GetRadius(), r);

    MemoryArchive store;
    LogTail tail;
    original.Serialize(store);
    ASSERT_EQ(store.Floats().size(), 3u);
    EXPECT_TRUE(SameBits(store.Floats()[0], x));
    EXPECT_TRUE(SameBits(store.Floats()[1], y));
    EXPECT_TRUE(SameBits(store.Floats()[2], r));
    EXPECT_EQ(tail.Lines(), Lines{"[DEBUG] Serializing circle #0 (x: -0.1, y:  0.0, r: 123.5)..."});

    MemoryArchive load(store.Floats());
    CGO_Circle loaded;
    tail.Restart();
    loaded.Serialize(load);
    EXPECT_EQ(load.FloatsRead(), 3u);
    EXPECT_TRUE(SameBits(loaded.GetCenter().x, x));
    EXPECT_TRUE(SameBits(loaded.GetCenter().y, y));
    EXPECT_TRUE(SameBits(loaded.GetRadius(), r));
    // The peripheral point is not stored; loading puts it straight above the centre.
    EXPECT_EQ(loaded.GetPeripheralPoint().x, x);
    EXPECT_EQ(loaded.GetPeripheralPoint().y, y + r);
    EXPECT_EQ(tail.Lines(), Lines{"[DEBUG] Circle unserialized. (id: 1, x: -0.1, y:  0.0, r: 123.5)"});
}
