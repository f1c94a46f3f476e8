// The base of every drawable object: its id, its display-list number and the
// fixed set of virtual operations through which the rest of the program acts
// on objects without knowing whether they are lines or circles.
#pragma once

#include "geometry/GO_Box.h"
#include "geometry/GO_ObjectState.h"
#include "geometry/GO_Outline.h"
#include "geometry/GO_Point.h"
#include "geometry/GO_SnapPoints.h"
#include "geometry/GO_Vector.h"

#include <iosfwd>

class CGO_Archive;
struct CGO_RuntimeClass;

class CGO_GeoObject {
public:
    // Every drawable object's display list is its id plus this offset; the
    // list number doubles as the selection name when picking.
    static constexpr int DISPLAY_LIST_OFFSET = 100;

    // A bare object is never drawn: it gets id -1 and list number 0, which is
    // no valid display list, and takes no id from the factory.
    CGO_GeoObject() = default;

    // The virtual operations, in their fixed slot order.
    virtual const CGO_RuntimeClass* GetRuntimeClass() const;
    virtual ~CGO_GeoObject() = default;
    virtual void Serialize(CGO_Archive& archive);
    virtual void AssertValid() const;
    virtual void Dump(std::ostream& out) const;
    virtual void DeleteDisplayList();
    virtual void GenerateDisplayList();
    virtual void Move(const CGO_Vector& v);
    virtual void Rotate(float angle);
    virtual void RotateAbout(CGO_Point base, float angle);
    virtual void Scale(float factor);
    virtual void ScaleAbout(CGO_Point base, float factor);
    virtual void FlipHorizontal();
    virtual void FlipVertical();
    virtual void FlipOnOrigin();
    virtual void FlipOnStraight(CGO_Point p1, CGO_Point p2);

    // Beyond the fixed slots: what the rest of the program reads of an
    // object's geometry without knowing its class.
    // The box around everything the object draws; false for a bare object.
    virtual bool GetBounds(CGO_Box& box) const;
    // What the object draws, as segments and arcs; nothing for a bare object.
    virtual void GetOutline(CGO_Outline& outline) const;
    // The points it offers for snapping: by default those of its outline.
    virtual void GetSnapPoints(CGO_SnapPoints& points) const;
    // Its data record, exactly as Serialize stores and loads it, without a
    // log line: what a drawing file holds of the object.
    virtual void StoreRecord(CGO_Archive& archive) const;
    virtual void LoadRecord(CGO_Archive& archive);

    // The exact geometry, and setting it back without a log line: undo and
    // redo put an object into a state it had, they perform no transform. The
    // state is the data record followed by what else the object keeps.
    CGO_ObjectState SaveState() const;
    void RestoreState(const CGO_ObjectState& state);

    int GetId() const { return m_nId; }
    int GetDisplayList() const { return m_nDisplayList; }

    // Whether the last transform (Move to FlipOnStraight) left the object as
    // it was because its result would not have been finite; the object then
    // kept its exact coordinates and logged a warning instead of its report.
    bool LastTransformRefused() const { return m_bTransformRefused; }

    // Starts the ids at 0 again; the database does it whenever it is cleared.
    static void ResetIdFactory();
    // The id the next line or circle will get.
    static int PeekNextId() { return s_nNextId; }
    // Puts the counter back to a value read earlier with PeekNextId; used to
    // undo the ids a rejected operation would otherwise have used up.
    static void RestoreIdFactory(int nextId) { s_nNextId = nextId; }

    CGO_GeoObject(const CGO_GeoObject&) = delete;
    CGO_GeoObject& operator=(const CGO_GeoObject&) = delete;

protected:
    // Lines and circles brought back by undo or redo keep the id they had;
    // the factory is not asked, so no id is handed out twice.
    struct RestoredId {
        int id;
    };
    explicit CGO_GeoObject(RestoredId restored);

    // Called by lines and circles while they are constructed: take the next id
    // and derive the list number, log the creation, then advance the factory.
    void AssignNextId();
    static void AdvanceIdFactory();

    // Ends a transform of a line or circle whose result is computed but not
    // yet kept: notes whether it is refused, and warns with the class name
    // ("Line") and the operation done ("moved") when it is. Returns whether
    // the result may be kept.
    bool AcceptTransform(bool resultFinite, const char* className, const char* operation);

    // What the object keeps beyond its data record, for its state.
    virtual void StoreExtraState(CGO_Archive& archive) const;
    virtual void LoadExtraState(CGO_Archive& archive);

    int m_nId = -1;
    int m_nDisplayList = 0;
    bool m_bTransformRefused = false;

private:
    static int s_nNextId;
};
