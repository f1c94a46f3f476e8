// Feedback through the modelview matrix: a translated or reflected call of
// the object's own list shows the result without computing (and logging) the
// transform itself.
#include "view/scene/FeedbackPainter.h"

#include "snap/SnapTypes.h"

#include <GL/gl.h>

#include <cmath>

namespace feedback {

void DrawSegment(CGO_Point from, CGO_Point to)
{
    glBegin(GL_LINES);
    glVertex2f(from.x, from.y);
    glVertex2f(to.x, to.y);
    glEnd();
}

void DrawPrimitive(const CGO_Primitive& primitive)
{
    glBegin(primitive.IsSegment() ? GL_LINES : GL_LINE_STRIP);
    const int count = primitive.DrawnVertexCount();
    for (int i = 0; i < count; ++i) {
        const CGO_Point vertex = primitive.DrawnVertex(i);
        glVertex2f(vertex.x, vertex.y);
    }
    glEnd();
}

void DrawList(int list)
{
    if (list > 0 && glIsList(static_cast<GLuint>(list)))
        glCallList(static_cast<GLuint>(list));
}

void DrawHighlighted(const std::vector<int>& lists)
{
    if (lists.empty())
        return;
    glColor3f(1.0f, 0.45f, 0.0f);
    for (int list : lists)
        DrawList(list);
    glColor3f(0.0f, 0.0f, 0.0f);
}

void DrawListMoved(int list, CGO_Vector v)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(v.x, v.y, 0.0);
    DrawList(list);
    glPopMatrix();
}

void DrawListMirrored(int list, CGO_Point p1, CGO_Point p2)
{
    const double dx = static_cast<double>(p2.x) - p1.x;
    const double dy = static_cast<double>(p2.y) - p1.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0) || !std::isfinite(length)) {
        DrawList(list);
        return;
    }
    // Reflection at the line through p1 with direction (c, s):
    // x' = p1 + R (x - p1), R = [[c²-s², 2cs], [2cs, s²-c²]].
    const double c = dx / length;
    const double s = dy / length;
    const double a = c * c - s * s;
    const double b = 2.0 * c * s;
    const double tx = p1.x - a * p1.x - b * p1.y;
    const double ty = p1.y - b * p1.x + a * p1.y;
    const GLdouble matrix[16] = {a, b, 0, 0, b, -a, 0, 0, 0, 0, 1, 0, tx, ty, 0, 1};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixd(matrix);
    DrawList(list);
    glPopMatrix();
}

void DrawSnapMarker(unsigned kind, CGO_Point at, double halfX, double halfY)
{
    const double x = at.x;
    const double y = at.y;
    const auto vertex = [&](double dx, double dy) { glVertex2d(x + dx * halfX, y + dy * halfY); };
    switch (kind) {
    case SNAP_ENDPOINT:
        glBegin(GL_LINE_LOOP);
        vertex(-1, -1), vertex(1, -1), vertex(1, 1), vertex(-1, 1);
        glEnd();
        break;
    case SNAP_MIDPOINT:
        glBegin(GL_LINE_LOOP);
        vertex(-1, -0.8), vertex(1, -0.8), vertex(0, 1);
        glEnd();
        break;
    case SNAP_CENTER:
        glBegin(GL_LINE_LOOP);
        for (int i = 0; i < 24; ++i) {
            const double a = i * 3.14159265358979 / 12.0;
            vertex(std::cos(a), std::sin(a));
        }
        glEnd();
        break;
    case SNAP_QUADRANT:
        glBegin(GL_LINE_LOOP);
        vertex(0, -1), vertex(1, 0), vertex(0, 1), vertex(-1, 0);
        glEnd();
        break;
    case SNAP_INTERSECTION:
        glBegin(GL_LINES);
        vertex(-1, -1), vertex(1, 1), vertex(-1, 1), vertex(1, -1);
        glEnd();
        break;
    case SNAP_GRID:
        glBegin(GL_LINES);
        vertex(-1, 0), vertex(1, 0), vertex(0, -1), vertex(0, 1);
        glEnd();
        break;
    default:
        break;
    }
}

} // namespace feedback
