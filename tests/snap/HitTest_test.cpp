// The CPU pick: a segment as the selection's clipper counts it, against a
// piece-by-piece reference; a circle's drawn outline (not the true circle), the pick region's mapping,
// and the lowest-id hit through the index against a scan of every object.
#include "snap/HitTest.h"

#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "snap/SpatialIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using dbtest::MakeCircle;
using dbtest::MakeLine;

namespace {

using Real = long double;

// The selection's rule worked out piece by piece: the segment is cut at
// every place where it crosses a side's line; it is hit when both ends lie in
// the closed box, or when the middle of some piece does (a piece of
// positive length inside).
bool ReferenceHit(Real ax, Real ay, Real bx, Real by, const CGO_Box& b)
{
    const auto inside = [&](Real x, Real y) { return b.xMin <= x && x <= b.xMax && b.yMin <= y && y <= b.yMax; };
    if (inside(ax, ay) && inside(bx, by))
        return true;
    std::vector<Real> cuts = {0, 1};
    const Real dx = bx - ax, dy = by - ay;
    for (Real x : {Real(b.xMin), Real(b.xMax)}) {
        if (dx != 0 && (x - ax) / dx > 0 && (x - ax) / dx < 1)
            cuts.push_back((x - ax) / dx);
    }
    for (Real y : {Real(b.yMin), Real(b.yMax)}) {
        if (dy != 0 && (y - ay) / dy > 0 && (y - ay) / dy < 1)
            cuts.push_back((y - ay) / dy);
    }
    std::sort(cuts.begin(), cuts.end());
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const Real t = (cuts[i] + cuts[i + 1]) / 2;
        if (cuts[i] < cuts[i + 1] && inside(ax + t * dx, ay + t * dy))
            return true;
    }
    return false;
}

bool OutlineByEverySegment(const CGO_Circle& circle, const CGO_Box& box)
{
    for (int i = 0; i + 1 < CGO_Circle::OUTLINE_VERTICES; ++i) {
        const CGO_Point a = CGO_Circle::OutlineVertex(circle.GetCenter(), circle.GetRadius(), i);
        const CGO_Point b = CGO_Circle::OutlineVertex(circle.GetCenter(), circle.GetRadius(), i + 1);
        if (hittest::SegmentHitsRegion(a.x, a.y, b.x, b.y, box))
            return true;
    }
    return false;
}

} // namespace

TEST(HitTest, SegmentIsHitAsTheSelectionClipsIt)
{
    const CGO_Box box{0, 0, 10, 10};
    const struct {
        const char* name;
        double ax, ay, bx, by;
        bool hit;
    } cases[] = {
        {"inside", 1, 1, 2, 2, true},
        {"through", -5, 5, 15, 5, true},
        {"along an edge", 10, -5, 10, 15, true},
        {"along an edge, ends on it", 0, 2, 0, 8, true},
        {"from an edge inwards", 0, 5, 5, 5, true},
        {"through a corner only", 5, 15, 15, 5, false},
        {"just inside a corner", 5, 14.999, 15, 4.999, true},
        {"ending on an edge from outside", -5, 5, 0, 5, false},
        {"ending just inside", -5, 5, 0.001, 5, true},
        {"ending just before", -5, 5, -0.001, 5, false},
        {"diagonal passing by", -5, 6, 6, 17, false},
        {"point inside", 3, 3, 3, 3, true},
        {"point on an edge", 0, 5, 0, 5, true},
        {"point on a corner", 10, 10, 10, 10, true},
        {"point outside", -1, 5, -1, 5, false},
        {"NaN end", NAN, 5, 5, 5, false},
        {"infinite end", -INFINITY, 5, 5, 5, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hittest::SegmentHitsRegion(c.ax, c.ay, c.bx, c.by, box), c.hit) << c.name;
    EXPECT_FALSE(hittest::SegmentHitsRegion(1, 1, 2, 2, {10, 0, 0, 10}));
    EXPECT_FALSE(hittest::SegmentHitsRegion(1, 1, 2, 2, {NAN, 0, 10, 10}));
    EXPECT_TRUE(hittest::SegmentHitsRegion(1, 1, 2, 2, {-INFINITY, 0, INFINITY, 1.5}));
}

TEST(HitTest, SegmentRuleAgreesWithAPieceByPieceReference)
{
    // Small whole numbers: touching at a corner or along an edge is common.
    std::mt19937 random(5);
    std::uniform_int_distribution<int> v(-4, 14);
    int hits = 0;
    for (int i = 0; i < 200000; ++i) {
        const double ax = v(random), ay = v(random), bx = v(random), by = v(random);
        const double x = v(random), y = v(random);
        const CGO_Box box{x, y, x + v(random) % 4 + 4, y + v(random) % 3 + 4};
        const bool expected = ReferenceHit(ax, ay, bx, by, box);
        ASSERT_EQ(hittest::SegmentHitsRegion(ax, ay, bx, by, box), expected)
            << ax << "," << ay << " " << bx << "," << by << " box " << x << "," << y;
        hits += expected;
    }
    EXPECT_GT(hits, 20000);
}

TEST(HitTest, CircleCountsItsDrawnOutlineOnly)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Circle circle;
    circle.SetCenterAndRadius(CGO_Point(0, 0), 1000.0f);
    // Between the chord from 0 to 1 degree and the true arc.
    const double a = 0.5 * M_PI / 180.0;
    const CGO_Box betweenChordAndArc{999.99 * std::cos(a) - 0.01, 999.99 * std::sin(a) - 0.01,
                                     999.99 * std::cos(a) + 0.01, 999.99 * std::sin(a) + 0.01};
    EXPECT_FALSE(hittest::DrawnHitsRegion(circle, betweenChordAndArc));
    EXPECT_TRUE(hittest::DrawnHitsRegion(circle, {999, -1, 1001, 1}));    // around the first vertex
    EXPECT_FALSE(hittest::DrawnHitsRegion(circle, {-10, -10, 10, 10}));   // inside, away from the outline
    EXPECT_TRUE(hittest::DrawnHitsRegion(circle, {-2000, -2000, 2000, 2000}));
    CGO_Circle point;
    point.SetCenterAndRadius(CGO_Point(5, 5), 0.0f);
    EXPECT_TRUE(hittest::DrawnHitsRegion(point, {4, 4, 6, 6}));
    EXPECT_FALSE(hittest::DrawnHitsRegion(CGO_GeoObject(), {-1e30, -1e30, 1e30, 1e30}));

    // Boxes of every size near the outline of random circles: the outline
    // is found wherever one of its 360 segments meets the box.
    std::mt19937 random(8);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int hits = 0;
    for (int i = 0; i < 20000; ++i) {
        const float scale = std::pow(10.0f, std::uniform_real_distribution<float>(-3, 30)(random));
        CGO_Circle c;
        c.SetCenterAndRadius(CGO_Point(unit(random) * scale, unit(random) * scale), std::fabs(unit(random)) * scale);
        const double angle = unit(random) * M_PI;
        const double r = c.GetRadius() * (1.0 + unit(random) * 1e-3);
        double half = std::fabs(unit(random)) * c.GetRadius() * 2e-3;
        double x = c.GetCenter().x + r * std::cos(angle), y = c.GetCenter().y + r * std::sin(angle);
        if (i % 2) {
            // Tiny boxes at the drawn vertices, where estimates of the
            // outline are off by more than the box is wide.
            const CGO_Point v = CGO_Circle::OutlineVertex(c.GetCenter(), c.GetRadius(), static_cast<int>(random() % 360));
            half = std::fabs(unit(random)) * c.GetRadius() * 1e-7;
            x = v.x + unit(random) * half;
            y = v.y + unit(random) * half;
        }
        const CGO_Box box{x - half, y - half, x + half, y + half};
        const bool expected = OutlineByEverySegment(c, box);
        ASSERT_EQ(hittest::DrawnHitsRegion(c, box), expected) << i;
        hits += expected;
    }
    EXPECT_GT(hits, 2000);
}

TEST(HitTest, PickRegionIsTheSquareAroundTheCursor)
{
    const int viewport[4] = {0, 0, 500, 500};
    const CGO_Box region = hittest::PickRegion({-500, 500, -500, 500}, viewport, 250, 250, 5);
    EXPECT_DOUBLE_EQ(region.xMin, -5);
    EXPECT_DOUBLE_EQ(region.xMax, 5);
    EXPECT_DOUBLE_EQ(region.yMin, -5);
    EXPECT_DOUBLE_EQ(region.yMax, 5);
    const int square[4] = {0, 0, 400, 400};
    const CGO_Box stretched = hittest::PickRegion({-10, 10, -5, 5}, square, 200, 200, 5);
    EXPECT_DOUBLE_EQ(stretched.xMin, -0.125);
    EXPECT_DOUBLE_EQ(stretched.xMax, 0.125);
    EXPECT_DOUBLE_EQ(stretched.yMin, -0.0625);
    EXPECT_DOUBLE_EQ(stretched.yMax, 0.0625);
}

TEST(HitTest, LowestIdOfTheDrawnObjectsInTheRegionWins)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    CSpatialIndex index(db);
    std::mt19937 random(21);
    std::uniform_real_distribution<float> position(-100.0f, 100.0f);
    std::uniform_real_distribution<float> size(0.0f, 40.0f);
    const auto add = [&] {
        const float x = position(random), y = position(random), s = size(random);
        db.Add(random() % 2 ? static_cast<CGO_GeoObject*>(MakeLine(x, y, x + s, y - s / 2)) : MakeCircle(x, y, s));
    };
    for (int i = 0; i < 600; ++i)
        add();
    // Gaps, then a load: slots and ids part ways.
    for (int i = 0; i < 150; ++i)
        db.RemoveAt(static_cast<int>(random() % 600));
    ASSERT_TRUE(db.Save("hit_test.dat"));
    ASSERT_GT(db.Load("hit_test.dat"), 0);
    for (int i = 0; i < 100; ++i)
        add();
    int hits = 0;
    for (int i = 0; i < 5000; ++i) {
        const double x = position(random), y = position(random), half = std::uniform_real_distribution<double>(0.01, 3)(random);
        const CGO_Box region{x - half, y - half, x + half, y + half};
        const hittest::CHit hit = hittest::HitTest(index, region);
        int expectedId = -1;
        for (int slot = 0; slot < db.GetSize(); ++slot) {
            const CGO_GeoObject* object = db.GetAt(slot);
            if (object != nullptr && (expectedId < 0 || object->GetId() < expectedId) &&
                hittest::DrawnHitsRegion(*object, region))
                expectedId = object->GetId();
        }
        ASSERT_EQ(hit.m_nId, expectedId) << i;
        if (hit.IsHit()) {
            EXPECT_EQ(db.GetAt(hit.m_nSlot), hit.m_pObject);
            EXPECT_EQ(hit.m_pObject->GetId(), hit.m_nId);
            ++hits;
        }
    }
    EXPECT_GT(hits, 1000);
}
