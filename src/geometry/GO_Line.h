// A straight line segment between two end points.
#pragma once

#include "geometry/GO_GeoObject.h"

class CGO_Line : public CGO_GeoObject {
public:
    CGO_Line();
    // The object under an id it had before, for undo and redo; logs nothing.
    static CGO_Line* Restore(int id);

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
    bool GetBounds(CGO_Box& box) const override;
    void GetOutline(CGO_Outline& outline) const override;
    void StoreRecord(CGO_Archive& archive) const override;
    void LoadRecord(CGO_Archive& archive) override;

    static const CGO_RuntimeClass s_runtimeClass;

private:
    explicit CGO_Line(RestoredId restored) : CGO_GeoObject(restored) {}
    // Applies one point operation to copies of both end points and keeps
    // them if both are finite; false, and a warning, otherwise.
    template <class PointOperation>
    bool TransformPoints(PointOperation operation, const char* done);

    CGO_Point m_p1;
    CGO_Point m_p2;
};
