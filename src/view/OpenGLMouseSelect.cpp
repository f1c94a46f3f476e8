// Selecting with the mouse when no mode is under way: a click reports the
// object under the cursor, a drag from there draws a selection rectangle
// (solid from left to right for a window, dashed the other way for a
// crossing) and reports it on release; the right button reports what it
// was pressed on, for the context menu. The previews of a selection being
// moved, mirrored or pasted are drawn here as well.
#include "view/OpenGLMouse.h"

#include "view/CadMessages.h"
#include "view/scene/FeedbackPainter.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

namespace {

// A press that moves no further than this (logical pixels) is a click.
constexpr int kClickSlop = 3;

unsigned ShiftFlag(bool shift)
{
    return shift ? SELECT_SHIFT : 0u;
}

} // namespace

void COpenGLMouse::SetPastePreview(std::vector<CGO_Primitive> outline, CGO_Point reference)
{
    m_pasteOutline = std::move(outline);
    m_ptPasteReference = reference;
}

void COpenGLMouse::BeginSelectGesture(int x, int y)
{
    m_bSelectPressed = true;
    m_bSelectBand = false;
    m_ptSelectFrom = QPoint(x, y);
    m_ptSelectTo = m_ptSelectFrom;
}

bool COpenGLMouse::MoveSelectGesture(bool leftDown, int x, int y)
{
    if (!m_bSelectPressed || m_nMode != MODE_IDLE)
        return false;
    if (!leftDown) {
        m_bSelectPressed = false;
        return false;
    }
    m_ptSelectTo = QPoint(x, y);
    if (!m_bSelectBand && std::abs(x - m_ptSelectFrom.x()) <= kClickSlop &&
        std::abs(y - m_ptSelectFrom.y()) <= kClickSlop)
        return false;
    m_bSelectBand = true;
    EraseFeedback();
    m_bMarksShown = false;
    DrawSelectionRectangle();
    return true;
}

void COpenGLMouse::DrawSelectionRectangle()
{
    const CPixelMapping mapping = PixelMapping();
    const double x1 = mapping.WorldX(m_ptSelectFrom.x());
    const double y1 = mapping.WorldY(m_ptSelectFrom.y());
    const double x2 = mapping.WorldX(m_ptSelectTo.x());
    const double y2 = mapping.WorldY(m_ptSelectTo.y());
    const bool crossing = m_ptSelectTo.x() < m_ptSelectFrom.x();
    glColor3f(0.0f, 0.0f, 1.0f);
    if (crossing) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, 0x0F0F);
    }
    glBegin(GL_LINE_LOOP);
    glVertex2d(x1, y1);
    glVertex2d(x2, y1);
    glVertex2d(x2, y2);
    glVertex2d(x1, y2);
    glEnd();
    if (crossing)
        glDisable(GL_LINE_STIPPLE);
    glFlush();
}

void COpenGLMouse::EndSelectGesture(int x, int y)
{
    if (!m_bSelectPressed)
        return;
    m_bSelectPressed = false;
    const unsigned shift = ShiftFlag(m_bShiftDown);
    if (!m_bSelectBand) {
        const hittest::CHit hit = m_probe.Hover(m_ptSelectFrom.x(), m_ptSelectFrom.y(), PixelMapping());
        const std::uintptr_t name = hit.IsHit() ? static_cast<std::uintptr_t>(hit.m_nId + 100) : 0u;
        if (m_pReceiver != nullptr)
            m_pReceiver->SendCadMessage(WM_CAD_SELECT_CLICK, name, static_cast<std::intptr_t>(shift));
        return;
    }
    m_bSelectBand = false;
    EraseFeedback();
    m_ptSelectTo = QPoint(x, y);
    const CPixelMapping mapping = PixelMapping();
    const double x1 = mapping.WorldX(m_ptSelectFrom.x());
    const double y1 = mapping.WorldY(m_ptSelectFrom.y());
    const double x2 = mapping.WorldX(x);
    const double y2 = mapping.WorldY(y);
    m_selectBox = CGO_Box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    const unsigned window = x >= m_ptSelectFrom.x() ? SELECT_WINDOW : 0u;
    if (m_pReceiver != nullptr)
        m_pReceiver->SendCadMessage(WM_CAD_SELECT_RECT, 0, static_cast<std::intptr_t>(shift | window));
}

void COpenGLMouse::SendContextMenu(int x, int y)
{
    m_ptContextPixel = QPoint(x, y);
    const hittest::CHit hit = m_probe.Hover(x, y, PixelMapping());
    const std::uintptr_t name = hit.IsHit() ? static_cast<std::uintptr_t>(hit.m_nId + 100) : 0u;
    if (m_pReceiver != nullptr)
        m_pReceiver->SendCadMessage(WM_CAD_CONTEXT_MENU, name, 0);
}

void COpenGLMouse::DrawGroupPreview(CGO_Point cursor)
{
    if (m_nPreview == PREVIEW_PASTE) {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glTranslated(static_cast<double>(cursor.x) - m_ptPasteReference.x,
                     static_cast<double>(cursor.y) - m_ptPasteReference.y, 0.0);
        for (const CGO_Primitive& primitive : m_pasteOutline)
            feedback::DrawPrimitive(primitive);
        glPopMatrix();
        return;
    }
    for (int list : m_groupLists) {
        if (m_nMode == MODE_DRAG)
            feedback::DrawListMoved(list, CGO_Vector(cursor.x - m_ptDown.x, cursor.y - m_ptDown.y));
        else if (m_nPreview == PREVIEW_MIRROR)
            feedback::DrawListMirrored(list, m_ptAnchor, cursor);
    }
}
