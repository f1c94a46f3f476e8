// The nine transforms as values, and the one place that maps them onto the
// objects' transform operations.
#include "edit/Transform.h"

#include "geometry/GO_GeoObject.h"

CTransform CTransform::Move(CGO_Vector v)
{
    CTransform t(MOVE, EDIT_MOVE);
    t.m_v = v;
    return t;
}

CTransform CTransform::Rotate(float angle)
{
    CTransform t(ROTATE, EDIT_ROTATE);
    t.m_fValue = angle;
    return t;
}

CTransform CTransform::RotateAbout(CGO_Point base, float angle)
{
    CTransform t(ROTATE_ABOUT, EDIT_ROTATE);
    t.m_pt1 = base;
    t.m_fValue = angle;
    return t;
}

CTransform CTransform::Scale(float factor)
{
    CTransform t(SCALE, EDIT_SCALE);
    t.m_fValue = factor;
    return t;
}

CTransform CTransform::ScaleAbout(CGO_Point base, float factor)
{
    CTransform t(SCALE_ABOUT, EDIT_SCALE);
    t.m_pt1 = base;
    t.m_fValue = factor;
    return t;
}

CTransform CTransform::FlipHorizontal() { return CTransform(FLIP_HORIZONTAL, EDIT_FLIP_HORIZONTAL); }
CTransform CTransform::FlipVertical() { return CTransform(FLIP_VERTICAL, EDIT_FLIP_VERTICAL); }
CTransform CTransform::FlipOnOrigin() { return CTransform(FLIP_ON_ORIGIN, EDIT_FLIP_ON_ORIGIN); }

CTransform CTransform::FlipOnStraight(CGO_Point p1, CGO_Point p2)
{
    CTransform t(FLIP_ON_STRAIGHT, EDIT_FLIP_ON_STRAIGHT);
    t.m_pt1 = p1;
    t.m_pt2 = p2;
    return t;
}

void CTransform::ApplyTo(CGO_GeoObject& object) const
{
    switch (m_call) {
    case MOVE: object.Move(m_v); break;
    case ROTATE: object.Rotate(m_fValue); break;
    case ROTATE_ABOUT: object.RotateAbout(m_pt1, m_fValue); break;
    case SCALE: object.Scale(m_fValue); break;
    case SCALE_ABOUT: object.ScaleAbout(m_pt1, m_fValue); break;
    case FLIP_HORIZONTAL: object.FlipHorizontal(); break;
    case FLIP_VERTICAL: object.FlipVertical(); break;
    case FLIP_ON_ORIGIN: object.FlipOnOrigin(); break;
    case FLIP_ON_STRAIGHT: object.FlipOnStraight(m_pt1, m_pt2); break;
    }
}
