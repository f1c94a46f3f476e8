// Circles placing the shared unit-circle outline draw what their own strip
// drew: the same vertices in feedback mode, the same hits in selection mode,
// and in every context, a new one included.
#include "geometry/GO_Circle.h"
#include "geometry/GO_SharedOutline.h"
#include "GLFeedback.h"
#include "support/HeadlessGL.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr GLuint kStripList = 7;
constexpr GLuint kPlacedList = 8;

struct CircleCase {
    float cx, cy, r;
};

// Tiny to huge radii, at the origin and far from it, up to the largest
// ratio of centre to radius that still places the outline, and beyond it.
const CircleCase kCircles[] = {
    {0, 0, 1e-3f},       {10, -5, 40},      {-7.5f, 8.25f, 0.25f}, {0, 0, 1},          {1e4f, -3e4f, 50},
    {-2e5f, 1e5f, 5},    {1e6f, 1e6f, 250}, {3e6f, -1e6f, 1000},   {-4e7f, 4e7f, 1e4f}, {0, 0, 1e6f},
    {-1e6f, 5e5f, 1000},{5e5f, 5e5f, -40}, {4096, 4096, 1},       {1e6f, 1e6f, 0.25f}, {-3e7f, 2e7f, 1},
};

void CompileStrip(const CircleCase& c)
{
    glNewList(kStripList, GL_COMPILE);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i) {
        const CGO_Point v = CGO_Circle::OutlineVertex(CGO_Point(c.cx, c.cy), c.r, i);
        glVertex2f(v.x, v.y);
    }
    glEnd();
    glEndList();
}

// The view the circle fills, 256 pixels across, with a margin.
void FitProjection(const CircleCase& c, const double* pick = nullptr)
{
    const double half = 1.1 * std::fabs(static_cast<double>(c.r));
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (pick != nullptr) {
        GLint viewport[4] = {0, 0, 256, 256};
        gluPickMatrix(pick[0], pick[1], 5.0, 5.0, viewport);
    }
    glOrtho(c.cx - half, c.cx + half, c.cy - half, c.cy + half, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::vector<GLfloat> Feedback(GLuint list, const CircleCase& c)
{
    FitProjection(c);
    std::vector<GLfloat> buffer(1 << 13);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint count = glRenderMode(GL_RENDER);
    buffer.resize(static_cast<std::size_t>(std::max(count, 0)));
    return buffer;
}

// The largest distance, in pixels, between the two feedbacks' values; the
// tokens must agree exactly.
double LargestDifference(const std::vector<GLfloat>& a, const std::vector<GLfloat>& b)
{
    EXPECT_EQ(a.size(), b.size());
    double largest = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size());) {
        EXPECT_EQ(a[i], b[i]) << "token at " << i;
        if (a[i] != GL_LINE_TOKEN && a[i] != GL_LINE_RESET_TOKEN)
            return 1e30;
        for (std::size_t k = i + 1; k < i + 5; ++k)
            largest = std::max(largest, std::fabs(static_cast<double>(a[k]) - b[k]));
        i += 5;
    }
    return largest;
}

GLint Hits(GLuint list, const CircleCase& c, double px, double py)
{
    GLuint buffer[64];
    glSelectBuffer(64, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(1);
    const double pick[2] = {px, py};
    FitProjection(c, pick);
    glCallList(list);
    return glRenderMode(GL_RENDER);
}

} // namespace

TEST(GO_SharedOutline, PlacedOutlineGivesTheStripsFeedbackAndHits)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    double largestPlaced = 0;
    for (const CircleCase& c : kCircles) {
        SCOPED_TRACE(testing::Message() << "C(" << c.cx << ", " << c.cy << ") r " << c.r);
        CGO_Circle circle;
        circle.SetCenterAndRadius(CGO_Point(c.cx, c.cy), c.r);
        circle.GenerateDisplayList();
        CompileStrip(c);
        ASSERT_TRUE(CGO_SharedOutline::EnsureInCurrentContext());
        glNewList(kPlacedList, GL_COMPILE);
        CGO_SharedOutline::EmitPlacement(CGO_Point(c.cx, c.cy), c.r);
        glEndList();

        const std::vector<GLfloat> strip = Feedback(kStripList, c);
        ASSERT_EQ(strip.size(), 5u * (CGO_Circle::OUTLINE_VERTICES - 1));
        const double placed = LargestDifference(Feedback(kPlacedList, c), strip);
        const double program = LargestDifference(Feedback(static_cast<GLuint>(circle.GetDisplayList()), c), strip);
        if (CGO_SharedOutline::CanPlace(CGO_Point(c.cx, c.cy), c.r))
            largestPlaced = std::max(largestPlaced, placed);
        EXPECT_LE(program, 0.02) << "in pixels of a view 256 pixels across";

        // On the outline, inside it, and just outside it by three pixels.
        const double onOutline = 128.0 + 128.0 / 1.1;
        for (const auto& at : {std::pair<double, double>{onOutline, 128.0}, {128.0, 128.0 - 128.0 / 1.1},
                               {128.0, 128.0}, {onOutline + 3.0, 128.0}, {128.0, 128.0 + 128.0 / 1.1 + 3.0}})
            EXPECT_EQ(Hits(static_cast<GLuint>(circle.GetDisplayList()), c, at.first, at.second),
                      Hits(kStripList, c, at.first, at.second))
                << "at pixel " << at.first << ", " << at.second;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    std::printf("largest difference of a placed outline: %.3g px\n", largestPlaced);
}

// A context made after the first has none of its lists; circles compiled in
// it draw their whole outline, whether the context was given the outline
// when it was made (as the drawing window and the headless context do) or
// the first circle has to make it.
TEST(GO_SharedOutline, EveryContextDrawsEveryCircle)
{
    for (int round = 0; round < 3; ++round) {
        testsupport::HeadlessGL gl;
        ASSERT_TRUE(gl.IsValid());
        if (round == 2)
            glDeleteLists(CGO_SharedOutline::LIST, 1);
        for (const CircleCase& c : {CircleCase{10, -5, 40}, CircleCase{-20, 30, 0.5f}}) {
            CGO_Circle circle;
            circle.SetCenterAndRadius(CGO_Point(c.cx, c.cy), c.r);
            circle.GenerateDisplayList();
            const auto feedback = testsupport::FeedbackOfList(static_cast<GLuint>(circle.GetDisplayList()));
            EXPECT_EQ(feedback.segments.size(), static_cast<std::size_t>(CGO_Circle::OUTLINE_VERTICES - 1));
            EXPECT_NEAR(feedback.segments.front().from.x, c.cx + c.r, 1e-3);
        }
    }
}
