// The drawing window: a square viewport over the world range and a full
// redraw of the scene's display lists.
#pragma once

#include "view/scene/Graphics.h"
#include "view/OpenGLMouse.h"

class CCadView : public COpenGLMouse {
    Q_OBJECT
public:
    CGraphics* GetGraphics() override { return &m_graphics; }

    void Resize(int width, int height) override;
    void Render() override;
    bool PictureIsCurrent() override { return !m_graphics.HasChangedSinceRender(); }

private:
    CGraphics m_graphics;
};
