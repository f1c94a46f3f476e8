// Which snap point wins: the distance and priority rules on small scenes,
// stored ends returned bit for bit, the work cap in a crowd, and the whole
// search against a scan of every object and every pair on random drawings.
#include "snap/Snapper.h"

#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "snap/GridSnap.h"
#include "snap/SnapGeometry.h"
#include "snap/SpatialIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using dbtest::MakeCircle;
using dbtest::MakeLine;

namespace {

struct Shape {
    bool line;
    float a, b, c, d; // x1 y1 x2 y2, or x y r
};

struct Scene {
    CGO_Database db;
    CSpatialIndex index{db};
    CSnapper snapper{index};

    explicit Scene(const std::vector<Shape>& shapes)
    {
        CGO_GeoObject::ResetIdFactory();
        for (const Shape& s : shapes)
            db.Add(s.line ? static_cast<CGO_GeoObject*>(MakeLine(s.a, s.b, s.c, s.d)) : MakeCircle(s.a, s.b, s.c));
    }
    CSnapResult Snap(double x, double y, unsigned kinds = SNAP_ALL, double sizeX = 1, double sizeY = 1, int exclude = -1)
    {
        CSnapQuery query;
        query.m_dX = x;
        query.m_dY = y;
        query.m_nKinds = kinds;
        query.m_dWorldPerPixelX = sizeX;
        query.m_dWorldPerPixelY = sizeY;
        query.m_nExcludeId = exclude;
        return snapper.FindSnap(query);
    }
};

Shape Line(float x1, float y1, float x2, float y2) { return {true, x1, y1, x2, y2}; }
Shape Circle(float x, float y, float r) { return {false, x, y, r, 0}; }

constexpr unsigned kNoGrid = SNAP_ALL & ~SNAP_GRID;

} // namespace

TEST(Snapper, NearestWinsAndEqualDistancesFollowTheKindOrder)
{
    const std::vector<Shape> crossAtOrigin = {Line(-10, 5, 10, -5), Line(0, 0, 30, 0)};
    const std::vector<Shape> circleAndLine = {Circle(0, 0, 5), Line(-3, -20, 3, 20)};
    const struct {
        const char* name;
        std::vector<Shape> shapes;
        double x, y;
        unsigned kinds;
        unsigned kind;
        float px, py;
        int id, otherId;
    } cases[] = {
        // At the origin: an end of line 1, the middle of line 0 and their crossing.
        {"endpoint first", crossAtOrigin, 1, 1, SNAP_ALL, SNAP_ENDPOINT, 0, 0, 1, -1},
        {"then intersection", crossAtOrigin, 1, 1, SNAP_ALL & ~SNAP_ENDPOINT, SNAP_INTERSECTION, 0, 0, 0, 1},
        {"then midpoint", crossAtOrigin, 1, 1, SNAP_MIDPOINT | SNAP_QUADRANT, SNAP_MIDPOINT, 0, 0, 0, -1},
        {"nearer beats rank", {Line(0, 0, 20, 0)}, 7, 0, kNoGrid, SNAP_MIDPOINT, 10, 0, 0, -1},
        {"centre before midpoint", circleAndLine, 1, 1, kNoGrid, SNAP_CENTER, 0, 0, 0, -1},
        {"centre before midpoint of a lower id", {Line(-3, -20, 3, 20), Circle(0, 0, 5)}, 1, 1, kNoGrid, SNAP_CENTER,
         0, 0, 1, -1},
        {"intersection before centre of a lower id", {Circle(0, 0, 3), Line(-10, 0, 10, 0), Line(0, -10, 0, 10)}, 1, 1,
         kNoGrid, SNAP_INTERSECTION, 0, 0, 1, 2},
        {"midpoint alone", circleAndLine, 1, 1, SNAP_MIDPOINT, SNAP_MIDPOINT, 0, 0, 1, -1},
        {"midpoint before quadrant", {Circle(0, 0, 5), Line(5, -8, 5, 8)}, 4, 1, SNAP_MIDPOINT | SNAP_QUADRANT,
         SNAP_MIDPOINT, 5, 0, 1, -1},
        {"tangent point is an intersection", {Circle(0, 0, 5), Line(5, -8, 5, 8)}, 4, 1, SNAP_ALL, SNAP_INTERSECTION,
         5, 0, 0, 1},
        {"quadrant before grid", {Circle(15, 0, 5)}, 18, 1, SNAP_ALL, SNAP_QUADRANT, 20, 0, 0, -1},
        {"grid alone", {Circle(15, 0, 5)}, 18, 1, SNAP_GRID, SNAP_GRID, 20, 0, -1, -1},
        {"grid point of 20", {}, 3, 38, SNAP_ALL, SNAP_GRID, 0, 40, -1, -1},
        {"grid point too far", {}, 9, 31, SNAP_ALL, SNAP_NONE, 0, 0, -1, -1},
        {"lower id at one point", {Line(0, 0, 50, 0), Line(0, 0, 0, 50)}, 2, 2, SNAP_ENDPOINT, SNAP_ENDPOINT, 0, 0, 0, -1},
        {"within 10 px", {Line(0, 0, 50, 0)}, -9.99, 0, SNAP_ENDPOINT, SNAP_ENDPOINT, 0, 0, 0, -1},
        {"exactly 10 px", {Line(0, 0, 50, 0)}, -6, -8, SNAP_ENDPOINT, SNAP_ENDPOINT, 0, 0, 0, -1},
        {"beyond 10 px", {Line(0, 0, 50, 0)}, -10.01, 0, SNAP_ENDPOINT, SNAP_NONE, 0, 0, -1, -1},
        {"crossing within extents", {Line(-100, 0, 100, 0), Line(12, -100, 12, 100)}, 11, 1, kNoGrid,
         SNAP_INTERSECTION, 12, 0, 0, 1},
        {"crossing beyond an extent", {Line(-100, 0, 10, 0), Line(12, -100, 12, 100)}, 12, 0, SNAP_INTERSECTION,
         SNAP_NONE, 0, 0, -1, -1},
        {"crossing circles", {Circle(0, 0, 5), Circle(8, 0, 5)}, 4, 2.5, kNoGrid, SNAP_INTERSECTION, 4, 3, 0, 1},
        {"line across a circle", {Line(-20, 3, 20, 3), Circle(0, 0, 5)}, 3.5, 3, kNoGrid, SNAP_INTERSECTION, 4, 3, 0, 1},
        {"nothing enabled", crossAtOrigin, 1, 1, SNAP_NONE, SNAP_NONE, 0, 0, -1, -1},
    };
    for (const auto& c : cases) {
        Scene scene(c.shapes);
        const CSnapResult got = scene.Snap(c.x, c.y, c.kinds);
        ASSERT_EQ(got.m_nKind, c.kind) << c.name << ": got " << SnapKindName(got.m_nKind);
        if (c.kind == SNAP_NONE)
            continue;
        EXPECT_NEAR(got.m_pt.x, c.px, 1e-5) << c.name;
        EXPECT_NEAR(got.m_pt.y, c.py, 1e-5) << c.name;
        EXPECT_EQ(got.m_nId, c.id) << c.name;
        EXPECT_EQ(got.m_nOtherId, c.otherId) << c.name;
        EXPECT_NEAR(got.m_dDistancePixels, std::hypot(got.m_pt.x - c.x, got.m_pt.y - c.y), 1e-9) << c.name;
    }
}

TEST(Snapper, DistanceIsInPixelsOfEachAxis)
{
    Scene scene({Line(0, 0, 100, 100)});
    // 2 world units per pixel upwards, 1 across.
    EXPECT_EQ(scene.Snap(0, 15, SNAP_ENDPOINT, 1, 2).m_nKind, SNAP_ENDPOINT);
    EXPECT_EQ(scene.Snap(15, 0, SNAP_ENDPOINT, 1, 2).m_nKind, SNAP_NONE);
    // At twice the zoom the same world distance is twice the pixels.
    EXPECT_EQ(scene.Snap(8, 0, SNAP_ENDPOINT, 1, 1).m_nKind, SNAP_ENDPOINT);
    EXPECT_EQ(scene.Snap(8, 0, SNAP_ENDPOINT, 0.5, 0.5).m_nKind, SNAP_NONE);
    EXPECT_DOUBLE_EQ(scene.Snap(0, 15, SNAP_ENDPOINT, 1, 2).m_dDistancePixels, 7.5);
}

TEST(Snapper, ExcludedObjectOffersNothing)
{
    Scene scene({Line(0, 0, 50, 0), Line(25, -50, 25, 50), Line(0, 0.5f, 0, 80)});
    EXPECT_EQ(scene.Snap(1, 0, SNAP_ENDPOINT, 1, 1, 0).m_nId, 2);
    const CSnapResult crossing = scene.Snap(25, 1, SNAP_INTERSECTION);
    EXPECT_EQ(crossing.m_nKind, SNAP_INTERSECTION);
    EXPECT_EQ(scene.Snap(25, 1, SNAP_INTERSECTION, 1, 1, 1).m_nKind, SNAP_NONE);
}

TEST(Snapper, UnusableQueriesSnapNowhere)
{
    Scene scene({Line(0, 0, 50, 0)});
    CSnapQuery query;
    for (auto spoil : {+[](CSnapQuery& q) { q.m_dX = NAN; }, +[](CSnapQuery& q) { q.m_dY = INFINITY; },
                       +[](CSnapQuery& q) { q.m_dWorldPerPixelX = 0; }, +[](CSnapQuery& q) { q.m_dWorldPerPixelY = -1; },
                       +[](CSnapQuery& q) { q.m_dTolerancePixels = NAN; }, +[](CSnapQuery& q) { q.m_dTolerancePixels = -1; }}) {
        query = CSnapQuery();
        spoil(query);
        EXPECT_FALSE(scene.snapper.FindSnap(query).IsSnapped());
    }
    query = CSnapQuery();
    EXPECT_TRUE(scene.snapper.FindSnap(query).IsSnapped());
}

TEST(Snapper, EndpointIsTheStoredEndBitForBit)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<float> coordinate(-1e4f, 1e4f);
    for (int i = 0; i < 500; ++i) {
        const float x1 = coordinate(random), y1 = coordinate(random);
        Scene scene({Line(x1, y1, x1 + 500.3f, y1 - 300.7f)});
        const CGO_Point end = static_cast<const CGO_Line*>(scene.db.GetAt(0))->GetP2();
        const CSnapResult got = scene.Snap(end.x + 0.37, end.y - 0.21, kNoGrid);
        ASSERT_EQ(got.m_nKind, SNAP_ENDPOINT);
        EXPECT_EQ(std::memcmp(&got.m_pt, &end, sizeof end), 0);
    }
}

TEST(Snapper, CrowdUnderTheCursorIsCappedButStillSnaps)
{
    std::vector<Shape> fan;
    for (int i = 0; i < 300; ++i) {
        const float a = static_cast<float>(i) * 3.14159f / 300.0f;
        fan.push_back(Line(-100 * std::cos(a), -100 * std::sin(a), 100 * std::cos(a), 100 * std::sin(a)));
    }
    Scene scene(fan);
    const CSnapResult got = scene.Snap(0.25, 0.25, kNoGrid);
    EXPECT_EQ(scene.snapper.GetObjectsSeen(), 300);
    EXPECT_EQ(scene.snapper.GetCrossingObjects(), kSnapMaxCrossingObjects);
    EXPECT_EQ(got.m_nKind, SNAP_INTERSECTION);
    EXPECT_LT(std::hypot(got.m_pt.x, got.m_pt.y), 1e-3);
}

namespace {

struct Candidate {
    unsigned kind;
    CGO_Point point;
    int id, otherId;
};

// Every candidate of every object and of every pair, found without the index.
std::vector<Candidate> AllCandidates(const CGO_Database& db)
{
    std::vector<Candidate> all;
    std::vector<const CGO_GeoObject*> objects;
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        if (const CGO_GeoObject* o = db.GetAt(slot))
            objects.push_back(o);
    }
    for (const CGO_GeoObject* o : objects) {
        CGO_Point p;
        if (auto* l = dynamic_cast<const CGO_Line*>(o)) {
            all.push_back({SNAP_ENDPOINT, l->GetP1(), o->GetId(), -1});
            all.push_back({SNAP_ENDPOINT, l->GetP2(), o->GetId(), -1});
            if (geo::Midpoint(l->GetP1(), l->GetP2(), p))
                all.push_back({SNAP_MIDPOINT, p, o->GetId(), -1});
        } else if (auto* c = dynamic_cast<const CGO_Circle*>(o)) {
            all.push_back({SNAP_CENTER, c->GetCenter(), o->GetId(), -1});
            CGO_Point quadrants[4];
            for (int i = 0, n = geo::Quadrants(c->GetCenter(), c->GetRadius(), quadrants); i < n; ++i)
                all.push_back({SNAP_QUADRANT, quadrants[i], o->GetId(), -1});
        }
    }
    for (const CGO_GeoObject* a : objects) {
        for (const CGO_GeoObject* b : objects) {
            if (a->GetId() >= b->GetId())
                continue;
            auto* la = dynamic_cast<const CGO_Line*>(a);
            auto* lb = dynamic_cast<const CGO_Line*>(b);
            auto* ca = dynamic_cast<const CGO_Circle*>(a);
            auto* cb = dynamic_cast<const CGO_Circle*>(b);
            snapgeo::CCrossing x;
            if (la && lb)
                x = snapgeo::IntersectSegments(la->GetP1(), la->GetP2(), lb->GetP1(), lb->GetP2());
            else if (la && cb)
                x = snapgeo::IntersectSegmentCircle(la->GetP1(), la->GetP2(), cb->GetCenter(), cb->GetRadius());
            else if (ca && lb)
                x = snapgeo::IntersectSegmentCircle(lb->GetP1(), lb->GetP2(), ca->GetCenter(), ca->GetRadius());
            else
                x = snapgeo::IntersectCircles(ca->GetCenter(), ca->GetRadius(), cb->GetCenter(), cb->GetRadius());
            for (int i = 0; i < x.m_nCount; ++i)
                all.push_back({SNAP_INTERSECTION, x.m_pt[i], a->GetId(), b->GetId()});
        }
    }
    return all;
}

// The rule written out once more: nearest, then kind, ids, coordinates.
CSnapResult Best(std::vector<Candidate> candidates, const CSnapQuery& q)
{
    CGO_Point grid;
    if (gridsnap::SnapToGrid(q.m_dX, q.m_dY, gridsnap::GridSpacing(std::max(q.m_dWorldPerPixelX, q.m_dWorldPerPixelY)),
                             grid))
        candidates.push_back({SNAP_GRID, grid, -1, -1});
    const auto rank = [](unsigned kind) {
        const unsigned order[] = {SNAP_ENDPOINT, SNAP_INTERSECTION, SNAP_CENTER, SNAP_MIDPOINT, SNAP_QUADRANT, SNAP_GRID};
        return std::find(std::begin(order), std::end(order), kind) - std::begin(order);
    };
    using Key = std::tuple<double, long, int, int, float, float>;
    CSnapResult best;
    Key bestKey;
    for (const Candidate& c : candidates) {
        const double dx = (double(c.point.x) - q.m_dX) / q.m_dWorldPerPixelX;
        const double dy = (double(c.point.y) - q.m_dY) / q.m_dWorldPerPixelY;
        const Key key{dx * dx + dy * dy, rank(c.kind), c.id, c.otherId, c.point.x, c.point.y};
        if (!(q.m_nKinds & c.kind) || std::get<0>(key) > q.m_dTolerancePixels * q.m_dTolerancePixels)
            continue;
        if (best.IsSnapped() && !(key < bestKey))
            continue;
        bestKey = key;
        best.m_nKind = c.kind;
        best.m_pt = c.point;
        best.m_nId = c.id;
        best.m_nOtherId = c.otherId;
    }
    return best;
}

} // namespace

TEST(Snapper, AgreesWithAScanOfEveryObjectAndPair)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<float> position(-200.0f, 200.0f);
    std::uniform_real_distribution<float> size(5.0f, 50.0f);
    std::uniform_real_distribution<float> angle(0.0f, 6.283f);
    std::vector<Shape> shapes;
    for (int i = 0; i < 400; ++i) {
        const float x = position(random), y = position(random), s = size(random), a = angle(random);
        shapes.push_back(i % 2 ? Line(x, y, x + s * std::cos(a), y + s * std::sin(a)) : Circle(x, y, s / 2));
    }
    Scene scene(shapes);
    const unsigned kindSets[] = {SNAP_ALL, kNoGrid, SNAP_INTERSECTION, SNAP_ENDPOINT | SNAP_CENTER,
                                 SNAP_MIDPOINT | SNAP_QUADRANT | SNAP_GRID};
    const std::vector<Candidate> all = AllCandidates(scene.db);
    int snapped = 0;
    for (int i = 0; i < 3000; ++i) {
        CSnapQuery q;
        q.m_dX = position(random);
        q.m_dY = position(random);
        q.m_dWorldPerPixelX = std::uniform_real_distribution<double>(0.2, 2.0)(random);
        q.m_dWorldPerPixelY = i % 3 ? q.m_dWorldPerPixelX : q.m_dWorldPerPixelX * 1.7;
        q.m_nKinds = kindSets[i % 5];
        const CSnapResult got = scene.snapper.FindSnap(q);
        ASSERT_LT(scene.snapper.GetCrossingObjects(), kSnapMaxCrossingObjects);
        const CSnapResult expected = Best(all, q);
        const std::string at = "query " + std::to_string(i);
        ASSERT_EQ(got.m_nKind, expected.m_nKind) << at;
        EXPECT_EQ(got.m_pt.x, expected.m_pt.x) << at;
        EXPECT_EQ(got.m_pt.y, expected.m_pt.y) << at;
        EXPECT_EQ(got.m_nId, expected.m_nId) << at;
        EXPECT_EQ(got.m_nOtherId, expected.m_nOtherId) << at;
        snapped += got.IsSnapped();
    }
    EXPECT_GT(snapped, 1000);
}
