// A full circle: centre, one point on its periphery, and the radius. The
// peripheral point lets every point transform work on the circle; scaling
// measures the radius anew from it.
#pragma once

#include "geometry/GO_GeoObject.h"

class CGO_Circle : public CGO_GeoObject {
public:
    CGO_Circle();
    // The object under an id it had before, for undo and redo; logs nothing.
    static CGO_Circle* Restore(int id);

    void SetCenterAndPoint(CGO_Point center, CGO_Point point);
    void SetCenterAndRadius(CGO_Point center, float radius);
    float GetRadius() const { return m_fRadius; }
    CGO_Point GetCenter() const { return m_ptCenter; }
    CGO_Point GetPeripheralPoint() const { return m_ptPeripheral; }
    void UpdateRadius();

    // The outline is a closed strip of this many vertices, one per degree,
    // the last repeating the first.
    static constexpr int OUTLINE_VERTICES = 361;
    // Vertex i of the outline of a circle, exactly as its display list holds
    // it; whatever predicts what a circle draws uses this.
    static CGO_Point OutlineVertex(CGO_Point center, float radius, int i);

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

protected:
    // The peripheral point, which the file does not keep.
    void StoreExtraState(CGO_Archive& archive) const override;
    void LoadExtraState(CGO_Archive& archive) override;

private:
    explicit CGO_Circle(RestoredId restored) : CGO_GeoObject(restored) {}
    // Applies one point operation to copies of the centre and the peripheral
    // point, measures the radius anew if asked, and keeps the result if it is
    // finite; false, and a warning, otherwise.
    template <class PointOperation>
    bool TransformPoints(PointOperation operation, bool remeasure, const char* done);

    CGO_Point m_ptCenter;
    CGO_Point m_ptPeripheral;
    float m_fRadius = 0.0f; // until a setter or a load gives the circle its size
};
