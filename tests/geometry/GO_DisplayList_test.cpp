// What the display lists of lines and circles really hold, read back from a
// headless GL context: their segments, and that they carry nothing but geometry.
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "GLFeedback.h"
#include "support/HeadlessGL.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using testsupport::FeedbackOfList;
using testsupport::FeedbackVertex;
using testsupport::LogTail;
using Lines = std::vector<std::string>;

namespace {

// Feedback returns window coordinates computed in float; a few ulps of 128.
constexpr float kTolerance = 1e-3f;

#define EXPECT_VERTEX(v, ex, ey)               \
    do {                                       \
        EXPECT_NEAR((v).x, (ex), kTolerance);  \
        EXPECT_NEAR((v).y, (ey), kTolerance);  \
    } while (0)

std::unique_ptr<CGO_GeoObject> MakeLine(float x1, float y1, float x2, float y2)
{
    auto line = std::make_unique<CGO_Line>();
    line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
    return line;
}

std::unique_ptr<CGO_GeoObject> MakeCircle(float cx, float cy, float r)
{
    auto circle = std::make_unique<CGO_Circle>();
    circle->SetCenterAndRadius(CGO_Point(cx, cy), r);
    return circle;
}

} // namespace

TEST(GO_DisplayList, LineDrawsOneSegmentFromP1ToP2)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    CGO_Line line;
    line.SetPoints(CGO_Point(10, 20), CGO_Point(-100, 50.5f));
    line.GenerateDisplayList();

    const auto feedback = FeedbackOfList(line.GetDisplayList());
    ASSERT_TRUE(feedback.complete);
    EXPECT_EQ(feedback.otherPrimitives, 0);
    ASSERT_EQ(feedback.segments.size(), 1u);
    EXPECT_VERTEX(feedback.segments[0].from, 10, 20);
    EXPECT_VERTEX(feedback.segments[0].to, -100, 50.5f);
}

TEST(GO_DisplayList, CircleIsAClosedStripOf360SegmentsInDegreeSteps)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    const struct {
        float cx, cy, r;
    } circles[] = {{0, 0, 10}, {20, -30, 7.5f}};
    for (const auto& c : circles) {
        SCOPED_TRACE(testing::Message() << "C(" << c.cx << ", " << c.cy << ") r " << c.r);
        CGO_Circle circle;
        circle.SetCenterAndRadius(CGO_Point(c.cx, c.cy), c.r);
        circle.GenerateDisplayList();

        const auto feedback = FeedbackOfList(circle.GetDisplayList());
        ASSERT_TRUE(feedback.complete);
        EXPECT_EQ(feedback.otherPrimitives, 0);
        const auto& segments = feedback.segments;
        ASSERT_EQ(segments.size(), 360u);
        // Starts and ends at (C.x + r, C.y), runs counter-clockwise.
        EXPECT_VERTEX(segments.front().from, c.cx + c.r, c.cy);
        EXPECT_VERTEX(segments.back().to, c.cx + c.r, c.cy);
        EXPECT_VERTEX(segments[90].from, c.cx, c.cy + c.r);
        EXPECT_VERTEX(segments[180].from, c.cx - c.r, c.cy);
        EXPECT_VERTEX(segments[270].from, c.cx, c.cy - c.r);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            const double a = static_cast<double>(i) * M_PI / 180.0;
            EXPECT_NEAR(segments[i].from.x, c.cx + c.r * std::cos(a), kTolerance) << "vertex " << i;
            EXPECT_NEAR(segments[i].from.y, c.cy + c.r * std::sin(a), kTolerance) << "vertex " << i;
            if (i + 1 < segments.size()) { // one strip: each segment starts where the last ended
                EXPECT_EQ(segments[i].to.x, segments[i + 1].from.x) << "vertex " << i + 1;
                EXPECT_EQ(segments[i].to.y, segments[i + 1].from.y) << "vertex " << i + 1;
            }
        }
    }
}

// The view sets colour, line width and the selection name around each call;
// a list that set any of them itself would override the view.
TEST(GO_DisplayList, ListsHoldGeometryOnly)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    const std::function<std::unique_ptr<CGO_GeoObject>()> makers[] = {
        [] { return MakeLine(-5, -5, 30, 40); },
        [] { return MakeCircle(3, 4, 20); },
    };
    for (const auto& make : makers) {
        const auto object = make();
        SCOPED_TRACE(object->GetRuntimeClass()->m_lpszClassName);
        object->GenerateDisplayList();
        const GLuint list = static_cast<GLuint>(object->GetDisplayList());

        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        glLineWidth(3.0f);
        glCallList(list);
        GLfloat colour[4] = {};
        GLfloat width = 0;
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetFloatv(GL_LINE_WIDTH, &width);
        EXPECT_EQ(colour[0], 0.25f);
        EXPECT_EQ(colour[1], 0.5f);
        EXPECT_EQ(colour[2], 0.75f);
        EXPECT_EQ(width, 3.0f);

        const auto names = testsupport::SelectionNamesOfList(list, 7);
        EXPECT_EQ(names, (std::vector<std::vector<GLuint>>{{7u}}));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST(GO_DisplayList, TransformKeepsTheOldPictureUntilTheListIsRebuilt)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());

    CGO_Line line;
    line.SetPoints(CGO_Point(0, 0), CGO_Point(50, 0));
    line.GenerateDisplayList();
    line.Move(CGO_Vector(10, 10));
    auto segments = FeedbackOfList(line.GetDisplayList()).segments;
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_VERTEX(segments[0].from, 0, 0);
    EXPECT_VERTEX(segments[0].to, 50, 0);
    line.GenerateDisplayList();
    segments = FeedbackOfList(line.GetDisplayList()).segments;
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_VERTEX(segments[0].from, 10, 10);
    EXPECT_VERTEX(segments[0].to, 60, 10);

    CGO_Circle circle;
    circle.SetCenterAndRadius(CGO_Point(0, 0), 10);
    circle.GenerateDisplayList();
    circle.Scale(2);
    segments = FeedbackOfList(circle.GetDisplayList()).segments;
    ASSERT_EQ(segments.size(), 360u);
    EXPECT_VERTEX(segments[0].from, 10, 0);
    circle.GenerateDisplayList();
    segments = FeedbackOfList(circle.GetDisplayList()).segments;
    ASSERT_EQ(segments.size(), 360u);
    EXPECT_VERTEX(segments[0].from, 20, 0);
}

TEST(GO_DisplayList, GenerateReplacesTheListAndDeleteRemovesIt)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    CGO_GeoObject::ResetIdFactory();
    const auto line = MakeLine(1, 2, 3, 4);
    const auto circle = MakeCircle(0, 0, 5);

    LogTail tail;
    line->GenerateDisplayList();
    line->GenerateDisplayList();
    circle->GenerateDisplayList();
    EXPECT_TRUE(glIsList(100));
    EXPECT_TRUE(glIsList(101));
    EXPECT_EQ(FeedbackOfList(100).segments.size(), 1u);
    line->DeleteDisplayList();
    circle->DeleteDisplayList();
    EXPECT_FALSE(glIsList(100));
    EXPECT_FALSE(glIsList(101));
    EXPECT_EQ(tail.Lines(), (Lines{"[INFO] Display list #100 for line #0 generated.",
                                   "[INFO] Display list #100 for line #0 generated.",
                                   "[INFO] Display list #101 for circle #1 generated.",
                                   "[INFO] Display list for line #0 deleted.",
                                   "[INFO] Display list for circle #1 deleted."}));
}
