// The drawing window: a square viewport over the world range and a full
// redraw of the scene's display lists, with the selected objects and the
// object an operation works on drawn highlighted.
#pragma once

#include "edit/Selection.h"
#include "view/scene/Graphics.h"
#include "view/OpenGLMouse.h"

class CCadView : public COpenGLMouse {
    Q_OBJECT
public:
    CGraphics* GetGraphics() override { return &m_graphics; }
    CSelection* GetSelection() override { return &m_selection; }

    void Resize(int width, int height) override;
    void Render() override;
    bool PictureIsCurrent() override;

    // The object an operation has picked and works on; -1 for none.
    void SetWorkedOnId(int id);

private:
    void DrawHighlights();

    CGraphics m_graphics;
    CSelection m_selection{*m_graphics.GetDatabase()};
    int m_nWorkedOn = -1;
    // What the picture last drawn showed highlighted.
    unsigned m_nRenderedRevision = ~0u;
    int m_nRenderedWorkedOn = -1;
};
