// The base of every drawable object: its id, its display-list number and the
// fixed set of virtual operations through which the rest of the program acts
// on objects without knowing whether they are lines or circles.
#pragma once

#include "geometry/GO_Point.h"
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

    int GetId() const { return m_nId; }
    int GetDisplayList() const { return m_nDisplayList; }

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
    // Called by lines and circles while they are constructed: take the next id
    // and derive the list number, log the creation, then advance the factory.
    void AssignNextId();
    static void AdvanceIdFactory();

    int m_nId = -1;
    int m_nDisplayList = 0;

private:
    static int s_nNextId;
};
