// A circular arc: centre, radius, and a start and an end angle in degrees,
// counter-clockwise from the start to the end. Transforms move the centre as
// a point and turn the angles with it; a mirror reverses the direction, so
// the start and the end change places.
#pragma once

#include "geometry/GO_GeoObject.h"

class CGO_Arc : public CGO_GeoObject {
public:
    CGO_Arc();
    // The object under an id it had before, for undo and redo; logs nothing.
    static CGO_Arc* Restore(int id);

    // Angles in degrees; both are kept in [0, 360). Equal angles give a
    // full turn, as DXF has it.
    void SetArc(CGO_Point center, float radius, float startDegrees, float endDegrees);
    CGO_Point GetCenter() const { return m_ptCenter; }
    float GetRadius() const { return m_fRadius; }
    float GetStartAngle() const { return m_fStart; }
    float GetEndAngle() const { return m_fEnd; }
    // Counter-clockwise from start to end, in (0, 360].
    float GetSweep() const;

    // The outline primitive and the box of an arc with these values.
    static CGO_Primitive PrimitiveOf(CGO_Point center, float radius, float startDegrees, float endDegrees);
    static CGO_Box BoundsOf(const CGO_Primitive& arc);
    // Counter-clockwise from start to end, in (0, 360].
    static float SweepOf(float startDegrees, float endDegrees);

    // An angle in degrees brought into [0, 360); non-finite stays as it is.
    static float NormalizeDegrees(double degrees);

    const CGO_RuntimeClass* GetRuntimeClass() const override;
    void Serialize(CGO_Archive& archive) override;
    void DeleteDisplayList() override;
    void GenerateDisplayList() override;
    void Move(const CGO_Vector& v) override;
    void Rotate(float angle) override;
    void RotateAbout(CGO_Point base, float angle) override;
    void Scale(float factor) override;
    void ScaleAbout(CGO_Point base, float factor) override;
    void FlipHorizontal() override;
    void FlipVertical() override;
    void FlipOnOrigin() override;
    void FlipOnStraight(CGO_Point p1, CGO_Point p2) override;
    bool GetBounds(CGO_Box& box) const override;
    void GetOutline(CGO_Outline& outline) const override;
    void StoreRecord(CGO_Archive& archive) const override;
    void LoadRecord(CGO_Archive& archive) override;

    static const CGO_RuntimeClass s_runtimeClass;

private:
    explicit CGO_Arc(RestoredId restored) : CGO_GeoObject(restored) {}
    // The new geometry of a transform, kept only if all of it is finite.
    struct Shape {
        CGO_Point center;
        double radius;
        double start;
        double end;
    };
    Shape Current() const { return {m_ptCenter, m_fRadius, m_fStart, m_fEnd}; }
    bool Accept(const Shape& shape, const char* done);
    // A mirror: each angle a becomes axis2 - a, and start and end swap.
    static void Mirror(Shape& shape, double twiceAxisDegrees);

    CGO_Point m_ptCenter;
    float m_fRadius = 0.0f;
    float m_fStart = 0.0f;
    float m_fEnd = 0.0f;
};
