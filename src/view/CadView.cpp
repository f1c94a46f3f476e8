// The drawing window: the largest square viewport that fits, and a full
// redraw of the scene that is kept as the picture feedback is drawn over.
#include "view/CadView.h"

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
    StoreScene();
    Present();
}
