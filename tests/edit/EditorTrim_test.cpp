// Trim and offset on all three kinds: what stays of a line, a circle or an
// arc cut by its neighbours, one undo step each, and offsets on the side
// clicked, with a radius of 0 or less refused.
#include "database/GO_Database.h"
#include "edit/Editor.h"
#include "geometry/GO_Arc.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_Outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

struct CSteps : IEditStepSink {
    void PushStep(std::unique_ptr<CEditStep> step) override { steps.push_back(std::move(step)); }
    std::vector<std::unique_ptr<CEditStep>> steps;
};

int AddLine(CGO_Database& db, float x1, float y1, float x2, float y2)
{
    auto* line = new CGO_Line;
    line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
    db.Add(line);
    return line->GetId();
}

} // namespace

TEST(EditorTrim, ThePieceBetweenTheNearestCrossingsGoes)
{
    CGO_Database db;
    CSteps sink;
    CEditor editor(db, &sink);
    // A horizontal line crossed by two verticals at x = 2 and x = 6.
    const int line = AddLine(db, 0, 0, 10, 0);
    AddLine(db, 2, -1, 2, 1);
    AddLine(db, 6, -1, 6, 1);
    CEditOutcome trimmed = editor.Trim(line, CGO_Point(4, 0.1f));
    ASSERT_EQ(trimmed.created.size(), 2u);
    const auto* left = dynamic_cast<const CGO_Line*>(db.Find(trimmed.created[0]));
    const auto* right = dynamic_cast<const CGO_Line*>(db.Find(trimmed.created[1]));
    ASSERT_TRUE(left && right);
    EXPECT_FLOAT_EQ(left->GetP2().x, 2.0f);
    EXPECT_FLOAT_EQ(right->GetP1().x, 6.0f);
    EXPECT_EQ(db.Find(line), nullptr);
    ASSERT_EQ(sink.steps.size(), 1u);
    sink.steps[0]->Undo(db);
    EXPECT_NE(db.Find(line), nullptr);
    EXPECT_EQ(db.GetCount(), 3);

    // The end piece beyond x = 6 goes: one shorter line.
    trimmed = editor.Trim(line, CGO_Point(9, 0));
    ASSERT_EQ(trimmed.created.size(), 1u);
    EXPECT_FLOAT_EQ(dynamic_cast<const CGO_Line*>(db.Find(trimmed.created[0]))->GetP2().x, 6.0f);

    // A circle cut by a line through its centre becomes the half away from the click.
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(50, 50), 10);
    db.Add(circle);
    AddLine(db, 30, 50, 70, 50);
    trimmed = editor.Trim(circle->GetId(), CGO_Point(50, 60));
    ASSERT_EQ(trimmed.created.size(), 1u);
    const auto* half = dynamic_cast<const CGO_Arc*>(db.Find(trimmed.created[0]));
    ASSERT_NE(half, nullptr);
    EXPECT_NEAR(half->GetStartAngle(), 180.0f, 1e-3);
    EXPECT_NEAR(half->GetEndAngle(), 0.0f, 1e-3);

    // An arc cut on either side of the click becomes two arcs.
    AddLine(db, 45, 45, 45, 30);
    AddLine(db, 55, 45, 55, 30);
    trimmed = editor.Trim(half->GetId(), CGO_Point(50, 40));
    EXPECT_EQ(trimmed.created.size(), 2u);

    // Something that crosses nothing is left alone.
    const int alone = AddLine(db, 100, 100, 110, 100);
    EXPECT_TRUE(editor.Trim(alone, CGO_Point(105, 100)).created.empty());
    EXPECT_NE(db.Find(alone), nullptr);
}

TEST(EditorOffset, ParallelOrConcentricOnTheSideClicked)
{
    CGO_Database db;
    CEditor editor(db, nullptr);
    const int line = AddLine(db, 0, 0, 10, 0);
    const auto below = editor.Offset(line, 2, CGO_Point(5, -7));
    ASSERT_EQ(below.created.size(), 1u);
    EXPECT_FLOAT_EQ(dynamic_cast<const CGO_Line*>(db.Find(below.created[0]))->GetP1().y, -2.0f);

    auto* arc = new CGO_Arc;
    arc->SetArc(CGO_Point(0, 0), 5, 0, 90);
    db.Add(arc);
    const auto outside = editor.Offset(arc->GetId(), 1, CGO_Point(10, 10));
    ASSERT_EQ(outside.created.size(), 1u);
    EXPECT_FLOAT_EQ(dynamic_cast<const CGO_Arc*>(db.Find(outside.created[0]))->GetRadius(), 6.0f);
    const auto inside = editor.Offset(arc->GetId(), 5, CGO_Point(1, 1));
    EXPECT_TRUE(inside.created.empty());
    EXPECT_EQ(inside.refused, 1);
}

// Random lines and arcs, and random points off them: the copy
// through a point passes through it.
TEST(EditorOffset, ACopyThroughAPointPassesThroughIt)
{
    std::mt19937 random(22);
    std::uniform_real_distribution<float> at(-500, 500), radius(1, 300);
    for (int round = 0; round < 300; ++round) {
        CGO_Database db;
        CEditor editor(db, nullptr);
        int id = AddLine(db, at(random), at(random), at(random), at(random));
        if (round % 2 == 1) {
            auto* arc = new CGO_Arc;
            arc->SetArc(CGO_Point(at(random), at(random)), radius(random), at(random), at(random));
            db.Add(arc);
            id = arc->GetId();
        }
        const CGO_Point through(at(random), at(random));
        const CEditOutcome outcome = editor.OffsetThrough(id, through);
        ASSERT_EQ(outcome.created.size(), 1u) << "round " << round;
        CGO_Outline copy;
        db.Find(outcome.created[0])->GetOutline(copy);
        const CGO_Primitive& p = copy[0];
        const double dx = static_cast<double>(p.b.x) - p.a.x, dy = static_cast<double>(p.b.y) - p.a.y;
        const double off = p.IsSegment() ? (dx * (through.y - p.a.y) - dy * (through.x - p.a.x)) / std::hypot(dx, dy)
                                         : std::hypot(through.x - p.center.x, through.y - p.center.y) - p.radius;
        EXPECT_NEAR(off, 0.0, 2e-3) << "round " << round;
    }
}
