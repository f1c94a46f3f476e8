// The spatial index against a scan of every slot, on random drawings changed
// through the database in every way it can change (add, transform through
// Find, remove, put back, load, clear), with objects from points to the
// float limit.
#include "snap/SpatialIndex.h"

#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using dbtest::MakeCircle;
using dbtest::MakeLine;

namespace {

std::vector<int> BruteForce(const CGO_Database& db, const CGO_Box& rect)
{
    std::vector<int> slots;
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        CGO_Box box;
        const CGO_GeoObject* object = db.GetAt(slot);
        if (object != nullptr && object->GetBounds(box) && box.Intersects(rect))
            slots.push_back(slot);
    }
    return slots;
}

class RandomDrawing {
public:
    explicit RandomDrawing(CGO_Database& db) : m_db(db) {}

    float Position()
    {
        // Mostly a drawing around the origin, now and then far out.
        const float spread = Pick({1000.0f, 1000.0f, 1000.0f, 1e6f, 1e20f, 3e38f});
        return std::uniform_real_distribution<float>(-spread, spread)(m_random);
    }
    float Size()
    {
        const float size = Pick({0.0f, 1e-6f, 1.0f, 10.0f, 50.0f, 1e4f, 1e10f, 3e38f});
        return std::uniform_real_distribution<float>(0.0f, size)(m_random);
    }
    CGO_GeoObject* MakeObject()
    {
        const float x = Position(), y = Position(), size = Size();
        if (Chance(0.5))
            return MakeCircle(x, y, Chance(0.1) ? -size : size);
        const float angle = std::uniform_real_distribution<float>(0.0f, 6.3f)(m_random);
        return MakeLine(x, y, x + size * std::cos(angle), y + size * std::sin(angle));
    }
    // Rectangles of every size, some with an edge exactly on an object's box.
    CGO_Box MakeRect()
    {
        const double x = Position(), y = Position();
        const double w = Size(), h = Size();
        CGO_Box rect{x - w, y - h, x + w, y + h};
        if (Chance(0.2) && m_db.GetSize() > 0) {
            CGO_Box box;
            const CGO_GeoObject* object = m_db.GetAt(Slot());
            if (object != nullptr && object->GetBounds(box) && std::isfinite(box.xMax))
                rect = {box.xMax, box.yMin, box.xMax + w, box.yMax};
        }
        if (Chance(0.05))
            rect = {-INFINITY, -INFINITY, INFINITY, INFINITY};
        return rect;
    }
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    int Slot() { return std::uniform_int_distribution<int>(0, std::max(0, m_db.GetSize() - 1))(m_random); }
    int Id() { return std::uniform_int_distribution<int>(-1, m_db.GetSize())(m_random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    float Pick(std::initializer_list<float> values)
    {
        const auto i = std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(m_random);
        return *(values.begin() + i);
    }

private:
    CGO_Database& m_db;
    std::mt19937 m_random{4711};
};

// An object taken out, to be put back into its slot later as undo does.
struct Removed {
    int slot;
    int id;
    bool line;
    CGO_ObjectState state;
};

void Transform(CGO_GeoObject* object, RandomDrawing& random)
{
    switch (random.Int(0, 4)) {
    case 0: object->Move(CGO_Vector(random.Position(), random.Position())); break;
    case 1: object->ScaleAbout(CGO_Point(random.Position(), random.Position()), random.Pick({0.0f, 0.5f, 3.0f, -2.0f})); break;
    case 2: object->RotateAbout(CGO_Point(random.Position(), random.Position()), 37.0f); break;
    case 3: object->FlipOnStraight(CGO_Point(0, 0), CGO_Point(random.Position(), random.Position())); break;
    default: object->FlipOnOrigin(); break;
    }
}

void ExpectAgrees(CSpatialIndex& index, const CGO_Database& db, const CGO_Box& rect, const std::string& when)
{
    std::vector<int> slots;
    index.Query(rect, slots);
    ASSERT_EQ(slots, BruteForce(db, rect)) << when << " rect " << rect.xMin << " " << rect.yMin << " " << rect.xMax
                                           << " " << rect.yMax;
}

} // namespace

TEST(SpatialIndex, AgreesWithAScanThroughEveryKindOfChange)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    CSpatialIndex index(db);
    RandomDrawing random(db);
    std::vector<Removed> removed;
    for (int i = 0; i < 1500; ++i)
        db.Add(random.MakeObject());

    const int kSteps = 600;
    for (int step = 0; step < kSteps; ++step) {
        const int op = random.Int(0, 99);
        std::string what;
        if (op < 30) {
            what = "add";
            db.Add(random.MakeObject());
        } else if (op < 65) {
            what = "transform";
            if (CGO_GeoObject* object = db.Find(random.Id()))
                Transform(object, random);
        } else if (op < 80) {
            what = "remove";
            const int slot = random.Slot();
            if (const CGO_GeoObject* object = db.GetAt(slot)) {
                const bool line = object->GetRuntimeClass() == &CGO_Line::s_runtimeClass;
                removed.push_back({slot, object->GetId(), line, object->SaveState()});
                db.RemoveAt(slot);
            }
        } else if (op < 92) {
            what = "put back";
            if (!removed.empty()) {
                const Removed back = removed.back();
                removed.pop_back();
                CGO_GeoObject* object = back.line ? static_cast<CGO_GeoObject*>(CGO_Line::Restore(back.id))
                                                  : CGO_Circle::Restore(back.id);
                object->RestoreState(back.state);
                db.PutAt(back.slot, object);
            }
        } else if (op < 97) {
            what = "load";
            // A file cannot hold what is not finite; such objects stay behind.
            for (int slot = 0; slot < db.GetSize(); ++slot) {
                const CGO_GeoObject* object = db.GetAt(slot);
                CGO_Box box;
                if (object && object->GetBounds(box) &&
                    !(std::isfinite(box.xMin) && std::isfinite(box.xMax) && std::isfinite(box.yMin) &&
                      std::isfinite(box.yMax)))
                    db.RemoveAt(slot);
            }
            ASSERT_TRUE(db.Save("index_test.dat")) << db.GetLastError();
            ASSERT_EQ(db.Load("index_test.dat"), db.GetSize());
            removed.clear(); // the ids began anew
        } else {
            what = "clear";
            db.Clear();
            removed.clear();
            for (int i = 0; i < 200; ++i)
                db.Add(random.MakeObject());
        }
        for (int q = 0; q < 8; ++q)
            ExpectAgrees(index, db, random.MakeRect(), what + " at step " + std::to_string(step));
    }
    // Single changes are taken in without building everything anew.
    EXPECT_LT(index.GetStats().m_nRebuilds, static_cast<std::size_t>(kSteps / 4));
}

TEST(SpatialIndex, ManyChangesBetweenQueriesAreAllSeen)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    CSpatialIndex index(db);
    RandomDrawing random(db);
    for (int i = 0; i < 3000; ++i)
        db.Add(random.MakeObject());
    ExpectAgrees(index, db, {-1e3, -1e3, 1e3, 1e3}, "built");
    // More changes than the list of recent ones holds, then a query.
    for (int i = 0; i < 2000; ++i) {
        if (CGO_GeoObject* object = db.Find(random.Id()))
            object->Move(CGO_Vector(1.0f, -1.0f));
    }
    for (int q = 0; q < 50; ++q)
        ExpectAgrees(index, db, random.MakeRect(), "after a batch");
    // A single move is seen at once, without a build.
    const std::size_t builds = index.GetStats().m_nRebuilds;
    db.Add(MakeLine(5e5f, 5e5f, 5e5f + 1, 5e5f));
    CGO_GeoObject* line = db.Find(db.GetAt(db.GetSize() - 1)->GetId());
    line->Move(CGO_Vector(-5e5f, -5e5f));
    std::vector<int> slots;
    index.Query({0.5, -0.5, 0.75, 0.5}, slots);
    EXPECT_EQ(slots, BruteForce(db, {0.5, -0.5, 0.75, 0.5}));
    EXPECT_NE(std::find(slots.begin(), slots.end(), db.GetSize() - 1), slots.end());
    EXPECT_EQ(index.GetStats().m_nRebuilds, builds);
}

TEST(SpatialIndex, OneHugeObjectAmongManySmallOnesCostsLittle)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    CSpatialIndex index(db);
    std::mt19937 random(99);
    std::uniform_real_distribution<float> position(-500.0f, 500.0f);
    const int kSmall = 100000;
    db.Add(MakeLine(-1e10f, -1e10f, 1e10f, 1e10f));
    for (int i = 0; i < kSmall; ++i) {
        const float x = position(random), y = position(random);
        db.Add(i % 2 ? static_cast<CGO_GeoObject*>(MakeLine(x, y, x + 1, y)) : MakeCircle(x, y, 0.5f));
    }
    db.Add(MakeCircle(3e38f, -3e38f, 3e38f)); // reaches beyond the float range
    ExpectAgrees(index, db, {-3, -3, 3, 3}, "small");
    ExpectAgrees(index, db, {1e9, 1e9, 1e9, 1e9}, "on the huge line");
    ExpectAgrees(index, db, {FLT_MAX, -FLT_MAX, FLT_MAX, -FLT_MAX}, "at the float limit");
    ExpectAgrees(index, db, {-INFINITY, -INFINITY, INFINITY, INFINITY}, "everything");
    const CSpatialIndex::CStats stats = index.GetStats();
    EXPECT_EQ(stats.m_nFiled, static_cast<std::size_t>(kSmall + 2));
    EXPECT_LE(stats.m_nLevels, 6u);
    EXPECT_LT(stats.m_nMemoryBytes, static_cast<std::size_t>(kSmall) * 100);
    EXPECT_GT(stats.m_dFinestCell, 0.5);
    EXPECT_LT(stats.m_dFinestCell, 10.0);
}

TEST(SpatialIndex, UnusableBoxesAndRectanglesMeetNothing)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    CSpatialIndex index(db);
    db.Add(MakeLine(NAN, 0, 1, 1));           // a NaN edge: never found
    db.Add(MakeLine(0, 0, INFINITY, 0));      // an infinite edge: found
    db.Add(MakeCircle(0, 0, INFINITY));
    db.Add(MakeCircle(5, 5, 0));              // a point
    db.Add(new CGO_GeoObject);                // a bare object has no box
    std::vector<int> slots;
    index.Query({4, 4, 6, 6}, slots);
    EXPECT_EQ(slots, (std::vector<int>{2, 3}));
    index.Query({1e30, -1, 1e30, 1}, slots);
    EXPECT_EQ(slots, (std::vector<int>{1, 2}));
    index.Query({-INFINITY, -INFINITY, INFINITY, INFINITY}, slots);
    EXPECT_EQ(slots, (std::vector<int>{1, 2, 3}));
    for (const CGO_Box& rect : {CGO_Box{NAN, 0, 1, 1}, CGO_Box{1, 0, 0, 1}, CGO_Box{0, 1, 1, 0}}) {
        index.Query(rect, slots);
        EXPECT_TRUE(slots.empty());
    }
}
