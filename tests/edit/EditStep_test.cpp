// One step of the history at a time: which slot and id an object comes back
// with, the exact log lines of undo and redo, and steps that no longer fit.
#include "database/GO_Database.h"
#include "database/DatabaseTestUtil.h"
#include "edit/EditJournal.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

using namespace dbtest;
using testsupport::LogTail;
using Lines = std::vector<std::string>;

namespace {

class EditStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CGO_GeoObject::ResetIdFactory();
        db.Add(MakeLine(0, 0, 10, 0));    // #0, slot 0
        db.Add(MakeCircle(5, 5, 2));      // #1, slot 1
    }

    template <class Operation>
    std::unique_ptr<CEditStep> Record(EditKind kind, Operation operation)
    {
        journal.Begin(kind);
        operation();
        return journal.End();
    }

    CGO_Database db;
    CEditJournal journal{db};
};

} // namespace

TEST_F(EditStepTest, EachKindOfStepLogsOneLineAndPutsTheSlotBackAsItWas)
{
    const struct {
        const char* name;
        EditKind kind;
        std::function<void(CGO_Database&)> operation;
        Lines undoLines;
        Lines redoLines;
    } cases[] = {
        {"create", EDIT_CREATE_LINE, [](CGO_Database& d) { d.Add(MakeLine(1, 2, 3, 4)); },
         {"[INFO] Undo: line #2 created.", "[DEBUG] Removing object #2 from database...",
          "[INFO] Display list for line #2 deleted."},
         {"[INFO] Redo: line #2 created.", "[INFO] Display list #102 for line #2 generated.",
          "[DEBUG] Object #2 put back into database at position 2."}},
        {"delete", EDIT_DELETE, [](CGO_Database& d) { d.RemoveById(1); },
         {"[INFO] Undo: object #1 deleted.", "[INFO] Display list #101 for circle #1 generated.",
          "[DEBUG] Object #1 put back into database at position 1."},
         {"[INFO] Redo: object #1 deleted.", "[DEBUG] Removing object #1 from database...",
          "[INFO] Display list for circle #1 deleted."}},
        {"move", EDIT_MOVE, [](CGO_Database& d) { d.Find(0)->Move(CGO_Vector(3, 4)); },
         {"[INFO] Undo: object #0 moved.", "[INFO] Display list #100 for line #0 generated."},
         {"[INFO] Redo: object #0 moved.", "[INFO] Display list #100 for line #0 generated."}},
        {"mirror", EDIT_FLIP_ON_STRAIGHT,
         [](CGO_Database& d) { d.Find(1)->FlipOnStraight(CGO_Point(0, 0), CGO_Point(1, 1)); },
         {"[INFO] Undo: object #1 flipped on straight.", "[INFO] Display list #101 for circle #1 generated."},
         {"[INFO] Redo: object #1 flipped on straight.", "[INFO] Display list #101 for circle #1 generated."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGO_GeoObject::ResetIdFactory();
        CGO_Database db;
        CEditJournal journal(db);
        db.Add(MakeLine(0, 0, 10, 0));
        db.Add(MakeCircle(5, 5, 2));
        std::vector<CGO_ObjectState> before;
        for (int slot = 0; slot < db.GetSize(); ++slot)
            before.push_back(db.GetAt(slot)->SaveState());
        journal.Begin(c.kind);
        c.operation(db);
        const std::unique_ptr<CEditStep> step = journal.End();
        ASSERT_NE(step, nullptr);
        std::vector<CGO_ObjectState> after;
        for (int slot = 0; slot < db.GetSize(); ++slot)
            after.push_back(db.GetAt(slot) ? db.GetAt(slot)->SaveState() : CGO_ObjectState{});

        LogTail undo;
        ASSERT_TRUE(step->Undo(db));
        EXPECT_EQ(undo.Lines(), c.undoLines);
        for (int slot = 0; slot < static_cast<int>(before.size()); ++slot) {
            ASSERT_NE(db.GetAt(slot), nullptr);
            EXPECT_EQ(db.GetAt(slot)->GetId(), slot);
            EXPECT_EQ(db.GetAt(slot)->GetDisplayList(), slot + 100);
            EXPECT_EQ(db.GetAt(slot)->SaveState(), before[static_cast<std::size_t>(slot)]);
        }
        LogTail redo;
        ASSERT_TRUE(step->Redo(db));
        EXPECT_EQ(redo.Lines(), c.redoLines);
        for (int slot = 0; slot < db.GetSize(); ++slot) {
            const CGO_ObjectState now = db.GetAt(slot) ? db.GetAt(slot)->SaveState() : CGO_ObjectState{};
            EXPECT_EQ(now, after[static_cast<std::size_t>(slot)]);
        }
    }
}

TEST_F(EditStepTest, UndoneCreationKeepsItsIdAndTheNextObjectTakesAFreshOne)
{
    const auto step = Record(EDIT_CREATE_CIRCLE, [&] { db.Add(MakeCircle(1, 1, 1)); });
    ASSERT_TRUE(step->Undo(db));
    EXPECT_EQ(db.GetSize(), 3);
    EXPECT_EQ(db.GetAt(2), nullptr);
    CGO_GeoObject* next = MakeLine(0, 0, 1, 1);
    EXPECT_EQ(next->GetId(), 3);
    delete next;
    ASSERT_TRUE(step->Redo(db));
    EXPECT_EQ(db.GetAt(2)->GetId(), 2);
    EXPECT_EQ(db.Lookup(2), db.GetAt(2));
}

TEST_F(EditStepTest, OperationsThatChangeNothingLeaveNoStep)
{
    EXPECT_EQ(Record(EDIT_MOVE, [&] { db.Find(0)->Move(CGO_Vector(0, 0)); }), nullptr);
    EXPECT_EQ(Record(EDIT_DELETE, [&] { db.RemoveById(7); }), nullptr);
    EXPECT_EQ(Record(EDIT_FLIP_ON_STRAIGHT, [&] { db.Find(0)->FlipOnStraight(CGO_Point(1, 1), CGO_Point(1, 1)); }),
              nullptr);
    // A load while a step is open leaves nothing that could be put back.
    const std::string path = "edit_step.dat";
    ASSERT_TRUE(db.Save(path.c_str()));
    EXPECT_EQ(Record(EDIT_MOVE,
                     [&] {
                         db.Find(0)->Move(CGO_Vector(1, 1));
                         db.Load(path.c_str());
                     }),
              nullptr);
}

TEST_F(EditStepTest, AStepThatNoLongerFitsTheDrawingChangesNothing)
{
    const auto deletion = Record(EDIT_DELETE, [&] { db.RemoveById(0); });
    const auto creation = Record(EDIT_CREATE_LINE, [&] { db.Add(MakeLine(7, 7, 8, 8)); });
    ASSERT_NE(deletion, nullptr);
    ASSERT_NE(creation, nullptr);
    // Redoing the deletion while the line is still there, or undoing the
    // creation twice: the slots do not hold what the steps expect.
    const CGO_ObjectState line = db.GetAt(2)->SaveState();
    LogTail tail;
    EXPECT_FALSE(creation->Redo(db));
    ASSERT_TRUE(creation->Undo(db));
    EXPECT_FALSE(creation->Undo(db));
    EXPECT_FALSE(deletion->Undo(db) && deletion->Undo(db));
    EXPECT_TRUE(tail.Contains("refused"));
    EXPECT_EQ(db.GetAt(2), nullptr);
    ASSERT_TRUE(creation->Redo(db));
    EXPECT_EQ(db.GetAt(2)->SaveState(), line);
}
