// One of the nine transforms with its arguments, as a value: what the mouse
// flows and the dialogs ask the edit layer to do to objects.
#pragma once

#include "edit/EditKind.h"
#include "geometry/GO_Point.h"
#include "geometry/GO_Vector.h"

class CGO_GeoObject;

class CTransform {
public:
    static CTransform Move(CGO_Vector v);
    static CTransform Rotate(float angle);
    static CTransform RotateAbout(CGO_Point base, float angle);
    static CTransform Scale(float factor);
    static CTransform ScaleAbout(CGO_Point base, float factor);
    static CTransform FlipHorizontal();
    static CTransform FlipVertical();
    static CTransform FlipOnOrigin();
    static CTransform FlipOnStraight(CGO_Point p1, CGO_Point p2);

    // The kind of history step it makes.
    EditKind GetKind() const { return m_kind; }
    // Calls the object's transform of the same name; the object logs it, or
    // refuses a result that would not be finite (LastTransformRefused).
    void ApplyTo(CGO_GeoObject& object) const;

private:
    enum Call { MOVE, ROTATE, ROTATE_ABOUT, SCALE, SCALE_ABOUT, FLIP_HORIZONTAL, FLIP_VERTICAL, FLIP_ON_ORIGIN,
                FLIP_ON_STRAIGHT };
    CTransform(Call call, EditKind kind) : m_call(call), m_kind(kind) {}

    Call m_call;
    EditKind m_kind;
    CGO_Vector m_v;
    CGO_Point m_pt1;
    CGO_Point m_pt2;
    float m_fValue = 0.0f;
};
