// Reads back what a display list really draws: its line segments through
// GL_FEEDBACK, and the selection names it leaves through GL_SELECT. Needs a
// current context of 256 x 256 pixels (testsupport::HeadlessGL).
#pragma once

#include <GL/gl.h>

#include <vector>

namespace testsupport {

struct FeedbackVertex {
    float x, y;
};

struct FeedbackSegment {
    FeedbackVertex from, to;
};

struct ListFeedback {
    std::vector<FeedbackSegment> segments;
    int otherPrimitives = 0; // points, polygons, pixels: a line or circle list has none
    bool complete = true;    // false when the buffer overflowed or held an unknown token
};

// The projection used for reading back: world -128..128 on both axes fills
// the 256 x 256 viewport, so a window coordinate is the world coordinate + 128.
constexpr double kReadBackHalfRange = 128.0;

inline void SetUpReadBackProjection()
{
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kReadBackHalfRange, kReadBackHalfRange, -kReadBackHalfRange, kReadBackHalfRange, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Calls the list in feedback mode and returns its segments in world coordinates.
inline ListFeedback FeedbackOfList(GLuint list)
{
    SetUpReadBackProjection();
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint count = glRenderMode(GL_RENDER);

    ListFeedback result;
    if (count < 0) {
        result.complete = false;
        return result;
    }
    const auto world = [&](GLint i) {
        return FeedbackVertex{static_cast<float>(buffer[i] - kReadBackHalfRange),
                              static_cast<float>(buffer[i + 1] - kReadBackHalfRange)};
    };
    for (GLint i = 0; i < count;) {
        const GLint token = static_cast<GLint>(buffer[i]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            result.segments.push_back({world(i + 1), world(i + 3)});
            i += 5;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            ++result.otherPrimitives;
            i += 3;
        } else if (token == GL_POLYGON_TOKEN) {
            ++result.otherPrimitives;
            i += 2 + 2 * static_cast<GLint>(buffer[i + 1]);
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 2;
        } else {
            result.complete = false;
            break;
        }
    }
    return result;
}

// Calls the list in selection mode under the single name `name` and returns
// the name stacks of all hit records, so a list that loads or pushes names of
// its own shows up.
inline std::vector<std::vector<GLuint>> SelectionNamesOfList(GLuint list, GLuint name)
{
    SetUpReadBackProjection();
    std::vector<GLuint> buffer(512);
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(name);
    glCallList(list);
    glPopName();
    const GLint hits = glRenderMode(GL_RENDER);

    std::vector<std::vector<GLuint>> stacks;
    std::size_t i = 0;
    for (GLint hit = 0; hit < hits; ++hit) {
        const GLuint depth = buffer[i];
        stacks.emplace_back(buffer.begin() + static_cast<long>(i + 3),
                            buffer.begin() + static_cast<long>(i + 3 + depth));
        i += 3 + depth;
    }
    return stacks;
}

} // namespace testsupport
