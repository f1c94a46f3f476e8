// The edit layer on sets of ids: a group changes all or not at all, a
// creation that would not be finite leaves no trace, and every change that
// happened is exactly one step that undoes it.
#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "edit/Editor.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace dbtest;
using testsupport::LogTail;

namespace {

struct StepCollector : IEditStepSink {
    void PushStep(std::unique_ptr<CEditStep> step) override { steps.push_back(std::move(step)); }
    std::vector<std::unique_ptr<CEditStep>> steps;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CGO_GeoObject::ResetIdFactory();
        db.Add(MakeLine(0, 0, 10, 0));  // #0
        db.Add(MakeCircle(5, 5, 2));    // #1
        db.Add(MakeLine(0, 0, 1e38f, 0)); // #2: far out, overflows first
    }

    std::vector<CGO_ObjectState> States() const
    {
        std::vector<CGO_ObjectState> states;
        for (int slot = 0; slot < db.GetSize(); ++slot)
            if (const CGO_GeoObject* object = db.GetAt(slot))
                states.push_back(object->SaveState());
        return states;
    }

    CGO_Database db;
    StepCollector history;
    CEditor editor{db, &history};
};

} // namespace

TEST_F(EditorTest, AGroupTransformIsRefusedWholeWhenOneResultWouldNotBeFinite)
{
    const auto before = States();
    LogTail log;

    const CEditOutcome outcome = editor.Transform({0, 1, 2}, CTransform::Scale(1e3f));

    EXPECT_EQ(outcome.found, 3);
    EXPECT_EQ(outcome.refused, 1);
    EXPECT_FALSE(outcome.Changed());
    EXPECT_EQ(States(), before) << "no member of the group may change";
    EXPECT_TRUE(history.steps.empty());
    EXPECT_TRUE(log.Contains("[WARN]"));
}

TEST_F(EditorTest, AGroupTransformIsOneStepThatUndoesAndRedoesEveryMember)
{
    const auto before = States();
    ASSERT_TRUE(editor.Transform({0, 1}, CTransform::Move(CGO_Vector(3, 4))).Changed());
    const auto after = States();
    ASSERT_NE(after, before);
    ASSERT_EQ(history.steps.size(), 1u);

    ASSERT_TRUE(history.steps[0]->Undo(db));
    EXPECT_EQ(States(), before);
    ASSERT_TRUE(history.steps[0]->Redo(db));
    EXPECT_EQ(States(), after);
}

TEST_F(EditorTest, DeletingASetCountsTheMissingIdsAndUndoesAsOneStep)
{
    const auto before = States();
    const CEditOutcome outcome = editor.Delete({0, 7, 1});

    EXPECT_EQ(outcome.found, 2);
    EXPECT_EQ(outcome.missing, 1);
    EXPECT_EQ(db.GetCount(), 1);
    ASSERT_EQ(history.steps.size(), 1u);
    ASSERT_TRUE(history.steps[0]->Undo(db));
    EXPECT_EQ(States(), before);
}

TEST_F(EditorTest, ACreationThatWouldNotBeFiniteAddsNothingAndUsesNoId)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* name;
        std::function<CEditOutcome(CEditor&)> create;
    } cases[] = {
        {"line to infinity", [&](CEditor& e) { return e.CreateLine({0, 0}, {inf, 0}); }},
        {"line from NaN", [&](CEditor& e) { return e.CreateLine({nan, 0}, {1, 1}); }},
        {"circle whose radius overflows",
         [](CEditor& e) { return e.CreateCircle(CGO_Point(3e38f, 3e38f), CGO_Point(-3e38f, -3e38f)); }},
        {"circle of NaN radius", [&](CEditor& e) { return e.CreateCircle(CGO_Point(0, 0), nan); }},
        {"circle of infinite radius", [&](CEditor& e) { return e.CreateCircle(CGO_Point(0, 0), inf); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int nextId = CGO_GeoObject::PeekNextId();
        const int count = db.GetCount();
        LogTail log;

        const CEditOutcome outcome = c.create(editor);

        EXPECT_TRUE(outcome.created.empty());
        EXPECT_EQ(outcome.refused, 1);
        EXPECT_EQ(db.GetCount(), count);
        EXPECT_EQ(CGO_GeoObject::PeekNextId(), nextId);
        EXPECT_TRUE(history.steps.empty());
        EXPECT_TRUE(log.Contains(" not created: "));
    }
    const CEditOutcome made = editor.CreateCircle(CGO_Point(1, 1), 2.0f);
    ASSERT_EQ(made.created.size(), 1u);
    EXPECT_EQ(made.created[0], 3);
    EXPECT_EQ(history.steps.size(), 1u);
}
