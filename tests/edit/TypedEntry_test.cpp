// Typed entries: each form by table, refusals for everything else, and a
// random walk over byte strings that never yields a non-finite number.
#include "edit/TypedEntry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

struct Row {
    const char* text;
    TypedEntryKind kind;
    double first;
    double second;
};

const Row kRows[] = {
    {"100,50", ENTRY_ABSOLUTE, 100, 50},
    {" -12.5 , 3e2 ", ENTRY_ABSOLUTE, -12.5, 300},
    {"@50,0", ENTRY_RELATIVE, 50, 0},
    {"@-200,0", ENTRY_RELATIVE, -200, 0},
    {"@10<45", ENTRY_POLAR, 10, 45},
    {"<30", ENTRY_ANGLE, 30, 0},
    {"8", ENTRY_VALUE, 8, 0},
    {".5", ENTRY_VALUE, 0.5, 0},
    {"5.", ENTRY_VALUE, 5, 0},
    {"+1E-3", ENTRY_VALUE, 0.001, 0},
    {"-0", ENTRY_VALUE, 0, 0},
    {"1234567.125", ENTRY_VALUE, 1234567.125, 0},
    {"", ENTRY_REFUSED, 0, 0},
    {"abc", ENTRY_REFUSED, 0, 0},
    {"1,2,3", ENTRY_REFUSED, 0, 0},
    {"1,5", ENTRY_ABSOLUTE, 1, 5},
    {"1.5.2", ENTRY_REFUSED, 0, 0},
    {"inf", ENTRY_REFUSED, 0, 0},
    {"nan,1", ENTRY_REFUSED, 0, 0},
    {"0x10", ENTRY_REFUSED, 0, 0},
    {"1e39", ENTRY_REFUSED, 0, 0},
    {"1e999", ENTRY_REFUSED, 0, 0},
    {"@", ENTRY_REFUSED, 0, 0},
    {"@1<2<3", ENTRY_REFUSED, 0, 0},
    {"<", ENTRY_REFUSED, 0, 0},
    {"1e", ENTRY_REFUSED, 0, 0},
    {"- 1", ENTRY_REFUSED, 0, 0},
    {"1;2", ENTRY_REFUSED, 0, 0},
};

TEST(TypedEntry, ParsesEachFormAndRefusesTheRest)
{
    for (const Row& row : kRows) {
        const CTypedEntry entry = ParseTypedEntry(row.text);
        EXPECT_EQ(entry.kind, row.kind) << row.text;
        if (row.kind != ENTRY_REFUSED) {
            EXPECT_EQ(entry.first, row.first) << row.text;
            EXPECT_EQ(entry.second, row.second) << row.text;
            EXPECT_FALSE(std::signbit(entry.first) && entry.first == 0) << row.text;
        }
    }
}

TEST(TypedEntry, ResolvesPointsFromTheLastOne)
{
    CTypedPoint p = ResolveTypedPoint(ParseTypedEntry("@-200,0"), 200, 100);
    ASSERT_TRUE(p.valid);
    EXPECT_EQ(p.x, 0);
    EXPECT_FALSE(std::signbit(p.x));
    EXPECT_EQ(p.y, 100);
    p = ResolveTypedPoint(ParseTypedEntry("@10<90"), 5, 5);
    ASSERT_TRUE(p.valid);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 15);
    p = ResolveTypedPoint(ParseTypedEntry("@0,-0"), -0.0, 0);
    EXPECT_FALSE(std::signbit(p.x) || std::signbit(p.y));
    EXPECT_FALSE(ResolveTypedPoint(ParseTypedEntry("@3e38,0"), 3e38, 0).valid);
    EXPECT_FALSE(ResolveTypedPoint(ParseTypedEntry("8"), 0, 0).valid);
    p = PointAlong(0, 0, 3, 4, 10);
    EXPECT_DOUBLE_EQ(p.x, 6);
    EXPECT_DOUBLE_EQ(p.y, 8);
    EXPECT_FALSE(PointAlong(1, 1, 1, 1, 10).valid);
}

// A click after "<a": the foot on the ray, exact along the axes, and for any
// angle the rest of the click stands square to the ray.
TEST(TypedEntry, AClickAfterAnAngleGivesOnlyItsDistanceAlongIt)
{
    const struct { double angle, towardX, towardY, x, y; } rows[] = {
        {0, 50, 37, 50, 10}, {90, 3, -20, 10, -20}, {180, -5, 99, -5, 10}, {-90, 40, 4, 10, 4}, {45, 10, 30, 20, 20},
    };
    for (const auto& row : rows) {
        const CTypedPoint foot = PointProjected(10, 10, row.towardX, row.towardY, row.angle);
        EXPECT_TRUE(foot.valid && std::hypot(foot.x - row.x, foot.y - row.y) < 1e-12) << row.angle;
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<double> any(-1000, 1000);
    for (int i = 0; i < 1000; ++i) {
        const double angle = any(random);
        const double tx = any(random), ty = any(random);
        const CTypedPoint foot = PointProjected(1, 2, tx, ty, angle);
        const double ux = std::cos(angle * M_PI / 180), uy = std::sin(angle * M_PI / 180);
        EXPECT_NEAR((tx - foot.x) * ux + (ty - foot.y) * uy, 0, 1e-9);
        EXPECT_NEAR((foot.x - 1) * uy - (foot.y - 2) * ux, 0, 1e-9);
    }
}

TEST(TypedEntry, AnyBytesGiveFiniteNumbersOrARefusal)
{
    const std::string alphabet = "0123456789.,@<-+eE ;x\tn\x80";
    std::mt19937 random(25);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            text += round % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        const CTypedEntry entry = ParseTypedEntry(text);
        ASSERT_TRUE(std::isfinite(entry.first) && std::isfinite(entry.second)) << text;
        const CTypedPoint p = ResolveTypedPoint(entry, 3e38, -3e38);
        if (p.valid) {
            ASSERT_TRUE(std::fabs(p.x) <= 3.5e38 && std::fabs(p.y) <= 3.5e38) << text;
        }
    }
}

} // namespace
