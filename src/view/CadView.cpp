// The drawing window: the largest square viewport that fits, and a full
// redraw of the scene that is kept as the picture feedback is drawn over.
#include "view/CadView.h"

#include "view/scene/FeedbackPainter.h"

#include <GL/gl.h>

void CCadView::Resize(int width, int height)
{
    // Anchored at the lower left; the strip beside or above stays background.
    const int side = width > height ? height : width;
    glViewport(0, 0, side, side);
}

void CCadView::Render()
{
    if (!MakeCurrent())
        return;
    m_graphics.SetPixelRatio(devicePixelRatio());
    m_graphics.RenderScene();
    DrawHighlights();
    StoreScene();
    Present();
}

bool CCadView::PictureIsCurrent()
{
    return !m_graphics.HasChangedSinceRender() && m_selection.Revision() == m_nRenderedRevision &&
           m_nWorkedOn == m_nRenderedWorkedOn;
}

void CCadView::SetWorkedOnId(int id)
{
    m_nWorkedOn = id;
}

void CCadView::DrawHighlights()
{
    // Orange and two pixels wide: neither the black of the drawing nor the
    // blue of the hover and the feedback.
    const std::vector<int> ids = m_selection.Ids();
    m_nRenderedRevision = m_selection.Revision();
    m_nRenderedWorkedOn = m_nWorkedOn;
    if (ids.empty() && m_nWorkedOn < 0)
        return;
    glColor3f(1.0f, 0.45f, 0.0f);
    glLineWidth(2.0f);
    for (int id : ids)
        feedback::DrawList(id + CGO_GeoObject::DISPLAY_LIST_OFFSET);
    if (m_nWorkedOn >= 0 && m_graphics.GetDatabase()->Lookup(m_nWorkedOn) != nullptr)
        feedback::DrawList(m_nWorkedOn + CGO_GeoObject::DISPLAY_LIST_OFFSET);
    glLineWidth(1.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
}
