// Compiling the unit circle's outline once per context, and placing it.
#include "geometry/GO_SharedOutline.h"

#include "geometry/GO_DisplayList.h"
#include "geometry/GO_OutlineAngles.h"

#include <GL/gl.h>

#include <cmath>

bool CGO_SharedOutline::EnsureInCurrentContext()
{
    if (glIsList(LIST))
        return true;
    // Without a current context every GL call does nothing.
    if (glGetString(GL_VERSION) == nullptr)
        return true;
    // Padded like every object's list: an unpadded list here would stop
    // Mesa's allocator at its word for good, and every list compiled after
    // it would scan all those before it.
    const CGO_OutlineAngles& angles = CGO_OutlineAngles::Get();
    CGO_DisplayList::Begin(static_cast<int>(LIST));
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i)
        glVertex2f(static_cast<float>(angles.cosine[i]), static_cast<float>(angles.sine[i]));
    glEnd();
    CGO_DisplayList::End();
    return glIsList(LIST) == GL_TRUE;
}

bool CGO_SharedOutline::CanPlace(CGO_Point center, float radius)
{
    const float reach = kMaxCentreInRadii * std::fabs(radius);
    return std::isfinite(reach) && std::fabs(center.x) <= reach && std::fabs(center.y) <= reach;
}

void CGO_SharedOutline::EmitPlacement(CGO_Point center, float radius)
{
    // The placement multiplies whichever matrix is current: the model view
    // while drawing, the projection while picking. Picking runs with an
    // identity model view, where P * (T * S) * I = P * I * (T * S). Saving
    // the matrix mode (glPushAttrib(GL_TRANSFORM_BIT)) to switch to the model
    // view made every redraw 7 % slower: restoring the transform state
    // revalidates Mesa's state before each circle's strip.
    glPushMatrix();
    glTranslatef(center.x, center.y, 0.0f);
    glScalef(radius, radius, 1.0f);
    glCallList(LIST);
    glPopMatrix();
}
