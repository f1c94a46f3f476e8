// The database's own operations: append-only slots, look-ups by id, clearing,
// and the exact log lines of each, including the whole sequence of a load.
#include "database/GO_Database.h"
#include "database/DatabaseTestUtil.h"
#include "support/HeadlessGL.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

using namespace dbtest;
using testsupport::LogTail;
using Lines = std::vector<std::string>;

namespace {

// Lines and circles alike, so the tests see positions and ids, not classes.
CGO_GeoObject* MakeObject(int i)
{
    return i % 2 == 0 ? static_cast<CGO_GeoObject*>(MakeLine(0, 0, 1, 1)) : MakeCircle(0, 0, 1);
}

} // namespace

TEST(GO_Database, SlotsAreAppendOnlyAndRemovalLeavesAGap)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    for (int i = 0; i < 5; ++i)
        db.Add(MakeObject(i));
    db.RemoveById(2);
    EXPECT_EQ(db.GetSize(), 5);
    EXPECT_EQ(db.GetCount(), 4);
    EXPECT_EQ(db.GetAt(2), nullptr);
    EXPECT_EQ(db.GetAt(5), nullptr);
    EXPECT_EQ(db.GetAt(-1), nullptr);

    CGO_GeoObject* next = MakeObject(5);
    LogTail tail;
    db.Add(next);
    EXPECT_EQ(tail.Messages().back(), "Object #5 added to database at position 5.");
    EXPECT_EQ(db.GetAt(5), next);
    EXPECT_EQ(db.Find(3), db.GetAt(3));
}

TEST(GO_Database, LookUpsLogExactlyOneLine)
{
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    db.Add(MakeLine(0, 0, 1, 1));
    const struct {
        int id;
        bool found;
        std::string line;
    } cases[] = {
        {0, true, "[DEBUG] Object #0 found in database."},
        {-1, false, "[WARN] Illegal object id #-1!"},
        {7, false, "[WARN] Object #7 was not found in database."},
    };
    for (const auto& c : cases) {
        LogTail tail;
        EXPECT_EQ(db.Find(c.id) != nullptr, c.found) << c.id;
        EXPECT_EQ(tail.Lines(), Lines{c.line});
        tail.Restart();
        if (!c.found) {
            db.RemoveById(c.id);
            EXPECT_EQ(tail.Lines(), Lines{c.line}) << "removing a missing id only warns";
        }
    }
    EXPECT_EQ(db.GetCount(), 1);
    db.Remove(nullptr);
    CGO_Line stranger;
    db.Remove(&stranger);
    EXPECT_EQ(db.GetCount(), 1);
}

TEST(GO_Database, ClearEmptiesEverySlotAndRestartsIds)
{
    CGO_Database db;
    LogTail tail;
    db.Clear();
    EXPECT_EQ(tail.Lines(), (Lines{"[DEBUG] Clearing Database...", "[DEBUG] Database cleared.",
                                   "[DEBUG] GeoObject id factory resetted."}));
    for (int i = 0; i < 3; ++i)
        db.Add(MakeObject(i));
    db.Clear();
    EXPECT_EQ(db.GetSize(), 3);
    EXPECT_EQ(db.GetCount(), 0);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(db.GetAt(slot), nullptr);
    CGO_Line fresh;
    EXPECT_EQ(fresh.GetId(), 0);
}

// One line loaded over a database holding one circle: every line the load
// writes, in order, with the display lists really built and deleted.
TEST(GO_Database, LoadLogsTheWholeSequenceInOrder)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    WriteFile("one_line.dat", FileBuilder().U16(1).NewClass("CGO_Line").Line(1, 2, 3, 4).Get());

    CGO_Database db;
    db.Clear();
    db.Add(MakeCircle(0, 0, 5));
    ASSERT_TRUE(glIsList(100));
    LogTail tail;
    EXPECT_EQ(db.Load("one_line.dat"), 1);
    EXPECT_EQ(tail.Lines(), (Lines{
                                "[DEBUG] Clearing Database...",
                                "[DEBUG] Removing object #0 from database...",
                                "[INFO] Display list for circle #0 deleted.",
                                "[DEBUG] Database cleared.",
                                "[DEBUG] GeoObject id factory resetted.",
                                "[INFO] Loading graphics from file 'one_line.dat'...",
                                "[INFO] New line created: object id #0",
                                "[DEBUG] Line unserialized. (id: 0, x1:  1.0, y1:  2.0, x2:  3.0, y2:  4.0)",
                                "[INFO] 1 graphics loaded. Drawing...",
                                "[DEBUG] Drawing 1 objects in database.",
                                "[INFO] Display list #100 for line #0 generated.",
                            }));
    EXPECT_TRUE(glIsList(100));
}

// Ids and positions are independent: empty slots keep their place but take
// no id, and the count after a load includes them.
TEST(GO_Database, LoadKeepsEmptySlotsAndNumbersObjectsInFileOrder)
{
    WriteFile("gap.dat",
              FileBuilder().U16(3).U16(0).NewClass("CGO_Line").Line(0, 0, 1, 1).NewClass("CGO_Circle").Circle(0, 0, 2).Get());
    CGO_Database db;
    for (int i = 0; i < 8; ++i)
        db.Add(MakeObject(i));
    ASSERT_EQ(db.Load("gap.dat"), 3);
    EXPECT_EQ(db.GetCount(), 3);
    EXPECT_EQ(db.GetAt(0), nullptr);
    ASSERT_NE(db.GetAt(1), nullptr);
    ASSERT_NE(db.GetAt(2), nullptr);
    EXPECT_EQ(db.GetAt(1)->GetId(), 0);
    EXPECT_EQ(db.GetAt(2)->GetId(), 1);
    EXPECT_EQ(db.GetAt(2)->GetDisplayList(), 101);

    LogTail tail;
    db.Add(MakeLine(0, 0, 1, 1));
    EXPECT_EQ(tail.Messages().back(), "Object #2 added to database at position 3.");
}
