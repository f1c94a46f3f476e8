// The edit layer: every change a user makes to the drawing, whether by mouse
// or in a dialog, is one of these operations. Each takes the ids it acts on
// and its points or values as arguments, looks the objects up, applies the
// change, refuses a result that is not finite, rebuilds each touched display
// list once, writes the log lines, and hands the history one step.
#pragma once

#include "edit/EditStep.h"
#include "edit/Transform.h"
#include "geometry/GO_Point.h"

#include <functional>
#include <memory>
#include <vector>

class CGO_Database;
class CGO_GeoObject;

// Where the finished steps go: the program's undo history.
class IEditStepSink {
public:
    virtual ~IEditStepSink() = default;
    virtual void PushStep(std::unique_ptr<CEditStep> step) = 0;
};

// What an operation did.
struct CEditOutcome {
    int found = 0;   // of the ids asked for, how many named an object
    int missing = 0; // how many named none (the look-up logged each)
    int refused = 0; // objects left as they were because a result was not finite
    bool held = false; // the caller stopped the operation after the look-up
    const char* reason = nullptr; // why it was refused, as the log says it
    std::vector<int> created;

    // Whether the drawing changed.
    bool Changed() const { return !created.empty() || (found > 0 && refused == 0 && !held); }
};

// Reasons an offset is refused with (CEditOutcome::reason), for callers
// that tell the user in their own words.
extern const char* const OFFSET_RADIUS_NOT_POSITIVE;
extern const char* const OFFSET_THROUGH_THE_OBJECT;

class CEditor {
public:
    // Runs between setting up a new object and adding it to the drawing;
    // callers log there what they are about to add.
    using BeforeAdd = std::function<void(CGO_GeoObject&)>;
    // Runs once every object of a transform is found; false leaves them as
    // they are.
    using Proceed = std::function<bool()>;

    CEditor(CGO_Database& database, IEditStepSink* sink) : m_database(database), m_pSink(sink) {}

    // A creation whose coordinates or radius would not be finite is refused
    // with a warning, before any object (or id) is made.
    CEditOutcome CreateLine(CGO_Point p1, CGO_Point p2, const BeforeAdd& beforeAdd = {});
    CEditOutcome CreateCircle(CGO_Point center, CGO_Point onCircle, const BeforeAdd& beforeAdd = {});
    CEditOutcome CreateCircle(CGO_Point center, float radius, const BeforeAdd& beforeAdd = {});
    // Angles in degrees, counter-clockwise from start to end.
    CEditOutcome CreateArc(CGO_Point center, float radius, float startDegrees, float endDegrees,
                           const BeforeAdd& beforeAdd = {});

    CEditOutcome Delete(const std::vector<int>& ids);

    // "Stutzen": removes the piece of the object between the nearest
    // crossings with other objects on either side of click. A line becomes
    // one or two lines, a circle an arc, an arc one or two arcs, all with
    // fresh ids; an object that crosses nothing is left alone (held).
    CEditOutcome Trim(int id, CGO_Point click);
    // "Versetzen": a parallel line, or a concentric circle or arc, distance
    // away on the side of the point side. A radius of 0 or less is refused.
    CEditOutcome Offset(int id, float distance, CGO_Point side);
    // The offset whose copy runs through the point: its distance is the
    // point's from the line's straight or from the circle. A point on the
    // object itself is refused.
    CEditOutcome OffsetThrough(int id, CGO_Point through);

    // All or nothing: when the result would not be finite for one object of
    // several, none of them changes, and each refused one warns.
    CEditOutcome Transform(const std::vector<int>& ids, const CTransform& transform, const Proceed& proceed = {});

    CGO_Database& GetDatabase() { return m_database; }

    CEditor(const CEditor&) = delete;
    CEditor& operator=(const CEditor&) = delete;

private:
    CEditOutcome Add(CGO_GeoObject* object, EditKind kind, const BeforeAdd& beforeAdd);
    // Which of the objects the transform would refuse, found without
    // changing or logging anything.
    std::vector<CGO_GeoObject*> WouldRefuse(const std::vector<CGO_GeoObject*>& objects,
                                            const CTransform& transform) const;
    void Push(std::unique_ptr<CEditStep> step);
    static CEditOutcome Refused(const char* operation, const char* why);

    CGO_Database& m_database;
    IEditStepSink* m_pSink;
};
