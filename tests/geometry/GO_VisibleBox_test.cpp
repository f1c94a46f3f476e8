// Which objects get a list clipped to the box around the visible range, how
// a segment is cut to that box, and that a clipped list follows from the
// object's state and the box alone.
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_VisibleBox.h"
#include "GLFeedback.h"
#include "support/HeadlessGL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const CGO_Box kDefault{-500, -500, 500, 500};

// Restores the default visible range after a test that changed it.
struct VisibleBoxGuard {
    ~VisibleBoxGuard() { CGO_VisibleBox::Set(kDefault); }
};

} // namespace

TEST(GO_VisibleBox, OnlyObjectsReachingOutOfTheClipBoxTowardsTheViewAreClipped)
{
    const double far = 500 + 1000 * CGO_VisibleBox::REACH_SPANS; // how far plain lists may reach
    const double clip = 500 + 1000 * CGO_VisibleBox::MARGIN_SPANS; // the clip box's edge
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        CGO_Box bounds;
        bool clipped;
    } cases[] = {
        {"ordinary", {-100, -50, 200, 80}, false},
        {"to the reach of plain lists", {-far, 0, far, 0}, false},
        {"a little beyond it", {-far - 1, 0, far, 0}, true},
        {"poking out of the clip box", {-clip - 1000, 0, 0, 0}, false},
        {"to 1e10 across the view", {-1e10, -200, 1e10, -200}, true},
        {"huge, around the view", {-1e12, -1e12, 1e12, 1e12}, true},
        {"far away above the clip box", {-1e10, clip + 1, 1e10, 1e12}, false},
        {"small, far away", {1e9, 1e9, 1e9 + 10, 1e9 + 10}, false},
        {"not finite", {-inf, 0, inf, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CGO_VisibleBox::NeedsClipping(c.bounds, kDefault), c.clipped) << c.name;
    }
    // Zooming in makes an ordinary object huge against the range.
    EXPECT_TRUE(CGO_VisibleBox::NeedsClipping({-4000, 100, 4000, 100}, {0, 99.5, 1, 100.5}));
}

TEST(GO_VisibleBox, ClipSegmentCutsToTheBoxAndKeepsEndsInside)
{
    const CGO_Box box{-10, -5, 10, 5};
    const struct {
        const char* name;
        double x0, y0, x1, y1;
        bool kept;
        double ex0, ey0, ex1, ey1;
    } cases[] = {
        {"inside", -3.25, 1.5, 7, -4, true, -3.25, 1.5, 7, -4},
        {"through", -1e30, 0, 1e30, 0, true, -10, 0, 10, 0},
        {"backwards through", 1e30, 2, -1e30, 2, true, 10, 2, -10, 2},
        {"one end out", 0, 0, 40, 20, true, 0, 0, 10, 5},
        {"vertical through", 1, -1e20, 1, 1e20, true, 1, -5, 1, 5},
        {"diagonal", -20, -10, 20, 10, true, -10, -5, 10, 5},
        {"past a corner", 9, 8, 14, 3, false, 0, 0, 0, 0},
        {"beyond one side", 11, -1e10, 11, 1e10, false, 0, 0, 0, 0},
        {"a point inside", 2, 2, 2, 2, true, 2, 2, 2, 2},
        {"float limits", -3.4e38, 3, 3.4e38, 3, true, -10, 3, 10, 3},
        // Interpolating from an end 1e30 away would put it at y = 0.
        {"slanted, from 1e30", -1e30f, -2.5e29f, 1e30f, 2.5e29f, true, -10, -2.5, 10, 2.5},
        {"steep, from 1e30", 3.0e29f, -1e30f, -3.0e29f, 1e30f, true, 1.5, -5, -1.5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
        ASSERT_EQ(CGO_VisibleBox::ClipSegment(x0, y0, x1, y1, box), c.kept);
        if (!c.kept)
            continue;
        EXPECT_NEAR(x0, c.ex0, 1e-9);
        EXPECT_NEAR(y0, c.ey0, 1e-9);
        EXPECT_NEAR(x1, c.ex1, 1e-9);
        EXPECT_NEAR(y1, c.ey1, 1e-9);
        if (c.x0 >= box.xMin && c.x0 <= box.xMax && c.y0 >= box.yMin && c.y0 <= box.yMax) {
            EXPECT_EQ(x0, c.x0) << "an end inside the box is kept exactly";
            EXPECT_EQ(y0, c.y0);
        }
    }
}

// Undo rebuilds a list after restoring a state: the list must be what the
// state and the current box give, whatever box the object was built under.
TEST(GO_VisibleBox, ClippedListFollowsFromStateAndBoxAlone)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    VisibleBoxGuard guard;
    CGO_Line line;
    line.SetPoints(CGO_Point(-1e10f, 20), CGO_Point(1e10f, -20));
    // Its top vertex lies near the origin.
    CGO_Circle circle;
    circle.SetCenterAndRadius(CGO_Point(43711.4f, -1e12f), 1e12f);
    for (CGO_GeoObject* object : {static_cast<CGO_GeoObject*>(&line), static_cast<CGO_GeoObject*>(&circle)}) {
        const CGO_ObjectState state = object->SaveState();
        CGO_VisibleBox::Set({-100, -100, 100, 100});
        object->GenerateDisplayList();
        const auto first = testsupport::FeedbackOfList(static_cast<GLuint>(object->GetDisplayList()));

        CGO_VisibleBox::Set({5e5, -10, 6e5, 10});
        object->Move(CGO_Vector(7, 7));
        object->GenerateDisplayList();
        object->RestoreState(state);
        CGO_VisibleBox::Set({-100, -100, 100, 100});
        object->GenerateDisplayList();
        const auto again = testsupport::FeedbackOfList(static_cast<GLuint>(object->GetDisplayList()));

        ASSERT_FALSE(first.segments.empty());
        ASSERT_EQ(again.segments.size(), first.segments.size());
        for (std::size_t i = 0; i < first.segments.size(); ++i) {
            EXPECT_EQ(again.segments[i].from.x, first.segments[i].from.x);
            EXPECT_EQ(again.segments[i].from.y, first.segments[i].from.y);
            EXPECT_EQ(again.segments[i].to.x, first.segments[i].to.x);
            EXPECT_EQ(again.segments[i].to.y, first.segments[i].to.y);
        }
        EXPECT_TRUE(object->SaveState() == state);
    }
}

// Seen through the read-back window (-128 to 128), a clipped line lies on
// the line through its stored ends.
TEST(GO_VisibleBox, ClippedLineStaysOnItsCourse)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    VisibleBoxGuard guard;
    CGO_VisibleBox::Set({-128, -128, 128, 128});
    CGO_Line line;
    line.SetPoints(CGO_Point(-1e12f, -2.5e11f), CGO_Point(1e12f, 2.5e11f));
    line.GenerateDisplayList();
    const auto feedback = testsupport::FeedbackOfList(static_cast<GLuint>(line.GetDisplayList()));
    ASSERT_EQ(feedback.segments.size(), 1u);
    for (const auto& end : {feedback.segments[0].from, feedback.segments[0].to}) {
        EXPECT_NEAR(end.y, end.x * 0.25f, 1e-3f);
        EXPECT_NEAR(std::max(std::fabs(end.x), std::fabs(end.y)), 128.0f, 1e-3f) << "on the window's edge";
    }
}
