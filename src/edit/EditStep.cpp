// Recording an edit step and putting its states back. Every slot is checked
// before anything is changed, so a step that no longer fits the drawing
// changes nothing at all.
#include "edit/EditStep.h"

#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <cstring>

static_assert(sizeof(CEditStep) <= 64, "the history keeps one step per operation; keep it small");

namespace {

const CGO_RuntimeClass* const kRestorableClasses[] = {&CGO_Line::s_runtimeClass, &CGO_Circle::s_runtimeClass};
constexpr unsigned char kRestorableClassCount = sizeof kRestorableClasses / sizeof kRestorableClasses[0];

void Store(const CGO_GeoObject& object, float (&values)[5])
{
    const CGO_ObjectState state = object.SaveState();
    std::memcpy(values, state.values.data(), sizeof values);
}

CGO_ObjectState StateOf(const float (&values)[5], unsigned char count)
{
    CGO_ObjectState state;
    std::memcpy(state.values.data(), values, sizeof values);
    state.count = count;
    return state;
}

unsigned char StateCount(unsigned char classIndex)
{
    return EditClassAt(classIndex) == &CGO_Circle::s_runtimeClass ? 5 : 4;
}

} // namespace

const CGO_RuntimeClass* EditClassAt(unsigned char index)
{
    return index < kRestorableClassCount ? kRestorableClasses[index] : nullptr;
}

bool EditClassIndex(const CGO_RuntimeClass* runtimeClass, unsigned char& index)
{
    for (unsigned char i = 0; i < kRestorableClassCount; ++i) {
        if (kRestorableClasses[i] == runtimeClass) {
            index = i;
            return true;
        }
    }
    return false;
}

bool CEditStep::Change::IsNoChange() const
{
    if (hasBefore != hasAfter)
        return false;
    return !hasBefore || std::memcmp(before, after, sizeof before) == 0;
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

CEditStep::Change& CEditStep::At(int i)
{
    return i == 0 ? m_first : (*m_pMore)[static_cast<std::size_t>(i - 1)];
}

void CEditStep::RecordBefore(int slot, const CGO_GeoObject* object)
{
    const int count = ChangeCount();
    for (int i = 0; i < count; ++i) {
        if (GetChange(i).slot == slot)
            return;
    }
    Change change;
    change.slot = slot;
    if (object != nullptr) {
        // Only lines and circles can be brought back; a bare base object is
        // not drawn and not recorded.
        if (!EditClassIndex(object->GetRuntimeClass(), change.classIndex))
            return;
        change.id = object->GetId();
        change.hasBefore = true;
        Store(*object, change.before);
    }
    if (count == 0) {
        m_first = change;
    } else {
        if (!m_pMore)
            m_pMore = std::make_unique<std::vector<Change>>();
        m_pMore->push_back(change);
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
            unsigned char classIndex = 0;
            if (!EditClassIndex(object->GetRuntimeClass(), classIndex))
                return false;
            // A slot holds one object for its whole life; anything else is
            // no change this history could put back.
            if (change.hasBefore && (object->GetId() != change.id || classIndex != change.classIndex))
                return false;
            change.id = object->GetId();
            change.classIndex = classIndex;
            change.hasAfter = true;
            Store(*object, change.after);
        }
        if (!change.IsNoChange())
            kept.push_back(change);
    }
    m_pMore.reset();
    m_first = Change();
    if (kept.empty())
        return false;
    m_first = kept.front();
    if (kept.size() > 1)
        m_pMore = std::make_unique<std::vector<Change>>(kept.begin() + 1, kept.end());
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
        const CGO_ObjectState state = StateOf(undo ? change.before : change.after, StateCount(change.classIndex));
        if (!present) {
            database.RemoveAt(change.slot);
        } else if (CGO_GeoObject* object = database.Modify(change.slot)) {
            object->RestoreState(state);
            object->GenerateDisplayList();
        } else {
            CGO_GeoObject* restored = EditClassAt(change.classIndex)->RestoreObject(change.id);
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
    LogInfo("%s: %s #%i %s.", undo ? "Undo" : "Redo", subject, m_first.id, EditVerb(m_kind));
}
