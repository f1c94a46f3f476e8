// A straight line segment between two end points.
#pragma once

#include "geometry/GO_GeoObject.h"

class CGO_Line : public CGO_GeoObject {
public:
    CGO_Line();

    void SetPoints(CGO_Point p1, CGO_Point p2);
    CGO_Point GetP1() const { return m_p1; }
    CGO_Point GetP2() const { return m_p2; }

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

    static const CGO_RuntimeClass s_runtimeClass;

private:
    CGO_Point m_p1;
    CGO_Point m_p2;
};
