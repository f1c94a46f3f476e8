// Recording an edit step and putting its states back. Every slot is checked
// before anything is changed, so a step that no longer fits the drawing
// changes nothing at all.
#include "edit/EditStep.h"

#include "database/GO_Database.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <iterator>

static_assert(sizeof(CEditStep) <= 64, "the history keeps one step per operation; keep it small");

namespace {

// A bare base object is not drawn and has no id to come back under: it is
// not recorded.
bool IsRestorable(const CGO_GeoObject& object)
{
    return object.GetRuntimeClass()->m_pfnRestoreObject != nullptr && object.GetId() >= 0;
}

void Append(std::vector<float>& states, const CGO_ObjectState& state)
{
    states.insert(states.end(), state.values.begin(), state.values.end());
}

} // namespace

CGO_ObjectState CEditStep::Change::Before() const
{
    CGO_ObjectState state;
    state.values.assign(states.begin(), states.begin() + beforeCount);
    return state;
}

CGO_ObjectState CEditStep::Change::After() const
{
    CGO_ObjectState state;
    state.values.assign(states.begin() + beforeCount, states.end());
    return state;
}

bool CEditStep::Change::IsNoChange() const
{
    if (hasBefore != hasAfter)
        return false;
    return !hasBefore || Before() == After();
}

int CEditStep::ChangeCount() const
{
    if (m_first.slot < 0)
        return 0;
    return 1 + (m_pMore ? static_cast<int>(m_pMore->size()) : 0);
}

const CEditStep::Change& CEditStep::GetChange(int i) const
{
    return i == 0 ? m_first : (*m_pMore)[static_cast<std::size_t>(i - 1)];
}

void CEditStep::RecordBefore(int slot, const CGO_GeoObject* object)
{
    // The journal asks once per slot: a search here would make a step of n
    // objects cost n squared.
    const int count = ChangeCount();
    Change change;
    change.slot = slot;
    if (object != nullptr) {
        if (!IsRestorable(*object))
            return;
        change.id = object->GetId();
        change.runtimeClass = object->GetRuntimeClass();
        change.hasBefore = true;
        Append(change.states, object->SaveState());
        change.beforeCount = static_cast<unsigned short>(change.states.size());
    }
    if (count == 0) {
        m_first = std::move(change);
    } else {
        if (!m_pMore)
            m_pMore = std::make_unique<std::vector<Change>>();
        m_pMore->push_back(std::move(change));
    }
}

bool CEditStep::RecordAfter(const CGO_Database& database)
{
    std::vector<Change> kept;
    const int count = ChangeCount();
    for (int i = 0; i < count; ++i) {
        Change change = GetChange(i);
        const CGO_GeoObject* object = database.GetAt(change.slot);
        if (object != nullptr) {
            if (!IsRestorable(*object))
                return false;
            // A slot holds one object for its whole life; anything else is
            // no change this history could put back.
            if (change.hasBefore && (object->GetId() != change.id || object->GetRuntimeClass() != change.runtimeClass))
                return false;
            change.id = object->GetId();
            change.runtimeClass = object->GetRuntimeClass();
            change.hasAfter = true;
            Append(change.states, object->SaveState());
        }
        if (!change.IsNoChange())
            kept.push_back(std::move(change));
    }
    m_pMore.reset();
    m_first = Change();
    if (kept.empty())
        return false;
    m_first = std::move(kept.front());
    if (kept.size() > 1)
        m_pMore = std::make_unique<std::vector<Change>>(std::make_move_iterator(kept.begin() + 1),
                                                        std::make_move_iterator(kept.end()));
    return true;
}

bool CEditStep::Undo(CGO_Database& database) const
{
    return Apply(database, true);
}

bool CEditStep::Redo(CGO_Database& database) const
{
    return Apply(database, false);
}

bool CEditStep::Apply(CGO_Database& database, bool undo) const
{
    // The drawing must hold exactly what the step left (or found): the same
    // object in each slot, or the slot empty.
    const int count = ChangeCount();
    for (int i = 0; i < count; ++i) {
        const Change& change = GetChange(i);
        const bool expected = undo ? change.hasAfter : change.hasBefore;
        const CGO_GeoObject* current = database.GetAt(change.slot);
        if (change.slot < 0 || change.slot >= database.GetSize() || (current != nullptr) != expected ||
            (current != nullptr && current->GetId() != change.id) ||
            (current == nullptr && database.SlotOf(change.id) >= 0)) {
            LogWarn("%s of the step on object #%i refused: slot %i no longer holds what the step left there.",
                    undo ? "Undo" : "Redo", change.id, change.slot);
            return false;
        }
    }
    Log(undo);
    for (int n = 0; n < count; ++n) {
        const Change& change = GetChange(undo ? count - 1 - n : n);
        const bool present = undo ? change.hasBefore : change.hasAfter;
        const CGO_ObjectState state = undo ? change.Before() : change.After();
        if (!present) {
            database.RemoveAt(change.slot);
        } else if (CGO_GeoObject* object = database.Modify(change.slot)) {
            object->RestoreState(state);
            object->GenerateDisplayList();
        } else {
            CGO_GeoObject* restored = change.runtimeClass->RestoreObject(change.id);
            restored->RestoreState(state);
            database.PutAt(change.slot, restored);
        }
    }
    return true;
}

void CEditStep::Log(bool undo) const
{
    const char* subject = "object";
    if (m_kind == EDIT_CREATE_LINE)
        subject = "line";
    else if (m_kind == EDIT_CREATE_CIRCLE)
        subject = "circle";
    else if (m_kind == EDIT_CREATE_ARC)
        subject = "arc";
    LogInfo("%s: %s #%i %s.", undo ? "Undo" : "Redo", subject, m_first.id, EditVerb(m_kind));
}
