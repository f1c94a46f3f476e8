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
    // Called directly as well as from a paint (a load right after the start,
    // before any paint): the viewport must be the window's as it is now.
    Resize(BufferWidth(), BufferHeight());
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
    std::vector<int> lists = m_selection.Ids();
    m_nRenderedRevision = m_selection.Revision();
    m_nRenderedWorkedOn = m_nWorkedOn;
    if (m_nWorkedOn >= 0 && m_graphics.GetDatabase()->Lookup(m_nWorkedOn) != nullptr)
        lists.push_back(m_nWorkedOn);
    for (int& list : lists)
        list += CGO_GeoObject::DISPLAY_LIST_OFFSET;
    feedback::DrawHighlighted(lists);
}
