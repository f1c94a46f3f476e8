// One finished change of the drawing, as the history keeps it: for each
// object it touched, its slot and id and its exact geometry before and after
// (or none, where the slot was empty). Undo and redo put those states back;
// they never apply an inverse transform, so nothing drifts.
#pragma once

#include "edit/EditKind.h"
#include "geometry/GO_ObjectState.h"

#include <memory>
#include <vector>

class CGO_Database;
class CGO_GeoObject;
struct CGO_RuntimeClass;

class CEditStep {
public:
    // Compact on purpose: an unlimited history holds one of these per step.
    struct Change {
        int slot = -1;
        int id = -1;
        const CGO_RuntimeClass* runtimeClass = nullptr;
        // The state before, then the state after, each as long as the
        // object's kind makes it.
        std::vector<float> states;
        unsigned short beforeCount = 0;
        bool hasBefore = false;
        bool hasAfter = false;

        CGO_ObjectState Before() const;
        CGO_ObjectState After() const;
        bool IsNoChange() const;
    };

    explicit CEditStep(EditKind kind) : m_kind(kind) {}

    EditKind GetKind() const { return m_kind; }
    void SetKind(EditKind kind) { m_kind = kind; }

    // Records slot as the journal saw it before its first change.
    void RecordBefore(int slot, const CGO_GeoObject* object);
    // Completes every record with the slot's content now; drops the records
    // of slots that ended as they began. False when nothing is left.
    bool RecordAfter(const CGO_Database& database);

    bool Undo(CGO_Database& database) const;
    bool Redo(CGO_Database& database) const;

    int ChangeCount() const;
    const Change& GetChange(int i) const;
    // The object the step is about, for its log line: the first one touched.
    int GetSubjectId() const { return m_first.id; }

private:
    bool Apply(CGO_Database& database, bool undo) const;
    void Log(bool undo) const;

    // The first change is kept in place and the kind in its padding: most
    // steps touch one object, and the history holds one step per operation.
    Change m_first;
    EditKind m_kind;
    std::unique_ptr<std::vector<Change>> m_pMore;
};
