// The padding that keeps Mesa's list allocation in constant time is invisible:
// an object's list gives exactly the feedback and selection hits of its bare
// primitive, and leaves every piece of state the caller relies on as it was.
#include "geometry/GO_Circle.h"
#include "geometry/GO_DisplayList.h"
#include "geometry/GO_Line.h"
#include "GLFeedback.h"
#include "support/HeadlessGL.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr GLuint kReferenceList = 7;

// The primitive of an object's list, compiled without anything around it.
void CompileReference(const CGO_GeoObject& object)
{
    glNewList(kReferenceList, GL_COMPILE);
    if (const auto* line = dynamic_cast<const CGO_Line*>(&object)) {
        glBegin(GL_LINES);
        glVertex2f(line->GetP1().x, line->GetP1().y);
        glVertex2f(line->GetP2().x, line->GetP2().y);
    } else {
        const auto& circle = dynamic_cast<const CGO_Circle&>(object);
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i) {
            const CGO_Point v = CGO_Circle::OutlineVertex(circle.GetCenter(), circle.GetRadius(), i);
            glVertex2f(v.x, v.y);
        }
    }
    glEnd();
    glEndList();
}

// Everything feedback mode returns for the list, tokens included, with
// colour and texture coordinates.
std::vector<GLfloat> RawFeedback(GLuint list)
{
    testsupport::SetUpReadBackProjection();
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint count = glRenderMode(GL_RENDER);
    buffer.resize(count < 0 ? 0 : static_cast<std::size_t>(count));
    return buffer;
}

// The whole selection buffer after calling the list under one name, through
// a pick region over a part of the read-back projection, as picking does.
std::vector<GLuint> RawSelection(GLuint list, double x, double y)
{
    testsupport::SetUpReadBackProjection();
    std::vector<GLuint> buffer(64, 0xDEADBEEF);
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    glLoadName(list);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    GLint viewport[4] = {0, 0, 256, 256};
    gluPickMatrix(x + testsupport::kReadBackHalfRange, y + testsupport::kReadBackHalfRange, 5.0, 5.0, viewport);
    glOrtho(-testsupport::kReadBackHalfRange, testsupport::kReadBackHalfRange, -testsupport::kReadBackHalfRange,
            testsupport::kReadBackHalfRange, -1.0, 1.0);
    glCallList(list);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    const GLint hits = glRenderMode(GL_RENDER);
    buffer.push_back(static_cast<GLuint>(hits));
    return buffer;
}

struct GLStateSnapshot {
    GLfloat modelview[16], projection[16], colour[4], width;
    GLint modelviewDepth, projectionDepth, attribDepth, matrixMode, nameDepth;

    static GLStateSnapshot Take()
    {
        GLStateSnapshot s{};
        glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
        glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
        glGetFloatv(GL_CURRENT_COLOR, s.colour);
        glGetFloatv(GL_LINE_WIDTH, &s.width);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.attribDepth);
        glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
        glGetIntegerv(GL_NAME_STACK_DEPTH, &s.nameDepth);
        return s;
    }
    bool operator==(const GLStateSnapshot& other) const { return std::memcmp(this, &other, sizeof *this) == 0; }
};

std::unique_ptr<CGO_GeoObject> Line(float x1, float y1, float x2, float y2)
{
    auto line = std::make_unique<CGO_Line>();
    line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
    return line;
}

std::unique_ptr<CGO_GeoObject> Circle(float cx, float cy, float r)
{
    auto circle = std::make_unique<CGO_Circle>();
    circle->SetCenterAndRadius(CGO_Point(cx, cy), r);
    return circle;
}

struct Shape {
    const char* name;
    std::function<std::unique_ptr<CGO_GeoObject>()> make;
    double pickX, pickY; // a point on the shape, in read-back world units
};

const Shape kShapes[] = {
    {"line", [] { return Line(-50, -20, 60, 30.5f); }, 5, 5},
    {"line through the view", [] { return Line(-1000, 10, 1000, 10); }, 0, 10},
    {"point-like line", [] { return Line(3, 3, 3, 3); }, 3, 3},
    {"circle", [] { return Circle(10, -5, 40); }, 50, -5},
    {"tiny circle", [] { return Circle(0, 0, 0.25f); }, 0, 0},
    {"circle of radius 0", [] { return Circle(-7, 8, 0); }, -7, 8},
};

} // namespace

TEST(GO_DisplayListPadding, MesaContextsArePadded)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    EXPECT_EQ(CGO_DisplayList::PadsCurrentContext(), version.find("Mesa") != std::string::npos) << version;
}

TEST(GO_DisplayListPadding, ListsGiveTheFeedbackAndHitsOfTheirPrimitiveAlone)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        const auto object = shape.make();
        object->GenerateDisplayList();
        CompileReference(*object);
        const GLuint list = static_cast<GLuint>(object->GetDisplayList());

        const std::vector<GLfloat> feedback = RawFeedback(list);
        const std::vector<GLfloat> reference = RawFeedback(kReferenceList);
        EXPECT_FALSE(feedback.empty());
        // A circle placing the shared outline carries the rounding of its
        // matrix; tokens, colours and texture coordinates stay exact.
        ASSERT_EQ(feedback.size(), reference.size());
        for (std::size_t i = 0; i < feedback.size(); ++i)
            EXPECT_NEAR(feedback[i], reference[i], 1e-4) << i;

        const std::vector<GLuint> hit = RawSelection(list, shape.pickX, shape.pickY);
        std::vector<GLuint> referenceHit = RawSelection(kReferenceList, shape.pickX, shape.pickY);
        EXPECT_EQ(hit.back(), 1u) << "one hit record";
        referenceHit[3] = list; // the one name differs by design
        EXPECT_EQ(hit, referenceHit);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        glDeleteLists(kReferenceList, 1);
    }
}

// Picking calls the lists with the projection as the current matrix and one
// matrix pushed; an outer attribute push must still restore what it saved.
TEST(GO_DisplayListPadding, ListsLeaveMatricesStacksAndSavedStateAlone)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        const auto object = shape.make();
        object->GenerateDisplayList();
        const GLuint list = static_cast<GLuint>(object->GetDisplayList());
        for (const GLenum mode : {GL_MODELVIEW, GL_PROJECTION}) {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(-3.0, 7.0, -2.0, 9.0, -1.0, 1.0);
            glMatrixMode(mode);
            glPushMatrix();
            glTranslatef(0.5f, -0.25f, 0.0f);
            glColor3f(0.0f, 0.0f, 0.0f);
            glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT);
            glColor3f(0.25f, 0.5f, 1.0f);
            glLineWidth(2.0f);

            const GLStateSnapshot before = GLStateSnapshot::Take();
            glCallList(list);
            EXPECT_TRUE(GLStateSnapshot::Take() == before);

            glPopAttrib();
            GLfloat colour[4] = {};
            GLfloat width = 0;
            glGetFloatv(GL_CURRENT_COLOR, colour);
            glGetFloatv(GL_LINE_WIDTH, &width);
            EXPECT_EQ(colour[2], 0.0f) << "the outer push restores the colour";
            EXPECT_EQ(width, 1.0f);
            glMatrixMode(mode);
            glPopMatrix();
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        }
        glMatrixMode(GL_MODELVIEW);
    }
}
