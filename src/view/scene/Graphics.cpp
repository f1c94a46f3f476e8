// The scene: drawing every display list, the full redraw and selection-mode
// picking. Plain OpenGL and GLU; whoever calls it keeps a context current.
#include "view/scene/Graphics.h"

#include "geometry/GO_GeoObject.h"
#include "geometry/GO_VisibleBox.h"
#include "log/Logger.h"
#include "snap/GridSnap.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A hit record holds the name count, the two depths and the one name each
// object loads, so four entries per slot can never overflow the buffer.
constexpr int kSelectEntriesPerSlot = 4;
constexpr int kSelectBufferMinimum = 100;

} // namespace

CGraphics::CGraphics()
{
    CGO_VisibleBox::Set(VisibleBox());
    m_database.AddObserver(this);
}

CGraphics::~CGraphics()
{
    m_database.RemoveObserver(this);
}

void CGraphics::SetGridShown(bool shown)
{
    m_bChanged = m_bChanged || shown != m_bGridShown;
    m_bGridShown = shown;
}

void CGraphics::SetPixelRatio(double ratio)
{
    const double taken = ratio > 0.0 ? ratio : 1.0;
    m_bChanged = m_bChanged || taken != m_dGridRatio;
    m_dGridRatio = taken;
}

void CGraphics::Init()
{
    LogInfo("Initializing graphics...");
}

void CGraphics::Draw(GLenum mode)
{
    // A run of missing lists gives one line, so that the log grows with the
    // objects drawn, not with the emptied slots a drawing may hold by the
    // million.
    int firstMissing = -1;
    int lastMissing = -1;
    const auto reportMissing = [&firstMissing, &lastMissing] {
        if (firstMissing < 0)
            return;
        if (firstMissing == lastMissing)
            LogDebug("Display list #%i not found!", firstMissing);
        else
            LogDebug("Display lists #%i to #%i not found!", firstMissing, lastMissing);
        firstMissing = -1;
    };
    // The slot count is read anew on every step: emptied slots keep their
    // place, so slot i always belongs to list i + 100.
    for (int i = 0; i < m_database.GetSize(); ++i) {
        const GLuint list = static_cast<GLuint>(i + CGO_GeoObject::DISPLAY_LIST_OFFSET);
        if (!glIsList(list)) {
            if (firstMissing < 0)
                firstMissing = i;
            lastMissing = i;
            continue;
        }
        reportMissing();
        if (mode == GL_SELECT)
            glLoadName(list);
        LogDebug("Drawing display list #%i...", i);
        glCallList(list);
    }
    reportMissing();
    glFlush();
    LogDebug("Drawn all display lists.");
}

void CGraphics::ApplyProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(m_xMin, m_xMax, m_yMin, m_yMax);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void CGraphics::RenderScene()
{
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ApplyProjection();
    if (m_bGridShown)
        DrawGrid();
    // The display lists carry no colour and no width of their own.
    glColor3f(0.0f, 0.0f, 0.0f);
    glLineWidth(1.0f);
    Draw(GL_RENDER);
    m_bChanged = false;
}

int CGraphics::Pick(double x, double y, double size, const GLint viewport[4])
{
    const int entries = std::max(kSelectBufferMinimum, kSelectEntriesPerSlot * m_database.GetSize());
    std::vector<GLuint> selectBuf(static_cast<std::size_t>(entries));
    glSelectBuffer(entries, selectBuf.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // gluPickMatrix takes a non-const viewport in older GLU headers.
    GLint region[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    gluPickMatrix(x, y, size, size, region);
    gluOrtho2D(m_xMin, m_xMax, m_yMin, m_yMax);
    // Circle lists place the shared outline on the model view; they must not
    // multiply the pick projection.
    glMatrixMode(GL_MODELVIEW);
    Draw(GL_SELECT);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glFlush();

    const GLint hits = glRenderMode(GL_RENDER);
    // Records come in drawing order, so the first one is the lowest list
    // number; a negative count would mean overflow, which the size rules out.
    if (hits > 0)
        return static_cast<int>(selectBuf[3]);
    return 0;
}

bool CGraphics::SetWorldCoordinates(float xMin, float xMax, float yMin, float yMax)
{
    // A typed "inf" or "nan" parses as a float too; neither gives a usable
    // projection, so such a range is refused like a reversed one.
    if (!(std::isfinite(xMin) && std::isfinite(xMax) && std::isfinite(yMin) && std::isfinite(yMax)))
        return false;
    if (!(xMin < xMax && yMin < yMax))
        return false;
    m_xMin = xMin;
    m_xMax = xMax;
    m_yMin = yMin;
    m_yMax = yMax;
    m_bChanged = true;
    LogDebug("World coordinates are now X(%4.1f, %4.1f), Y(%4.1f, %4.1f)", m_xMin, m_xMax, m_yMin, m_yMax);
    const CGO_Box previous = CGO_VisibleBox::Get();
    CGO_VisibleBox::Set(VisibleBox());
    RebuildClippedLists(previous, VisibleBox());
    return true;
}

void CGraphics::DrawGrid()
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0)
        return;
    // The spacing snapping rounds to, from the larger of the two pixel sizes.
    const double perPixelX = (m_xMax - m_xMin) / viewport[2] * m_dGridRatio;
    const double perPixelY = (m_yMax - m_yMin) / viewport[3] * m_dGridRatio;
    const gridsnap::CGridSpacing spacing = gridsnap::GridSpacing(std::max(perPixelX, perPixelY));
    const double step = spacing.Value();
    const double firstX = std::ceil(m_xMin / step);
    const double firstY = std::ceil(m_yMin / step);
    // Cells of at least 12 pixels: a few hundred lines at most, and none at
    // all if the spacing cannot be told apart at these coordinates.
    const double countX = std::floor(m_xMax / step) - firstX + 1;
    const double countY = std::floor(m_yMax / step) - firstY + 1;
    if (!(countX >= 0 && countY >= 0 && countX < 4096 && countY < 4096))
        return;
    glColor3f(0.85f, 0.85f, 0.85f);
    glBegin(GL_LINES);
    for (double i = 0; i < countX; ++i) {
        const double x = spacing.Multiple(firstX + i);
        glVertex2d(x, m_yMin);
        glVertex2d(x, m_yMax);
    }
    for (double i = 0; i < countY; ++i) {
        const double y = spacing.Multiple(firstY + i);
        glVertex2d(m_xMin, y);
        glVertex2d(m_xMax, y);
    }
    glEnd();
}

void CGraphics::RebuildClippedLists(const CGO_Box& previous, const CGO_Box& current)
{
    if (previous.xMin == current.xMin && previous.xMax == current.xMax && previous.yMin == current.yMin &&
        previous.yMax == current.yMax)
        return;
    for (int slot = 0; slot < m_database.GetSize(); ++slot) {
        const CGO_GeoObject* object = m_database.GetAt(slot);
        CGO_Box bounds;
        if (object == nullptr || !object->GetBounds(bounds))
            continue;
        // A list clipped to the old range, or one that needs clipping to the
        // new range. Rebuilding a list leaves the object's geometry alone, so
        // this is no change the database's observers need to hear of.
        if (CGO_VisibleBox::NeedsClipping(bounds, previous) || CGO_VisibleBox::NeedsClipping(bounds, current))
            const_cast<CGO_GeoObject*>(object)->GenerateDisplayList();
    }
}
