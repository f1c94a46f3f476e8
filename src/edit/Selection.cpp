// The selection's bookkeeping: one flag per id beside the list of ids, so
// that membership is a look-up and reading the ids costs the selection's
// size, not the drawing's.
#include "edit/Selection.h"

#include "database/GO_Database.h"
#include "snap/HitTest.h"
#include "snap/SpatialIndex.h"

#include <algorithm>

CSelection::CSelection(CGO_Database& database) : m_database(database)
{
    m_database.AddObserver(this);
}

CSelection::~CSelection()
{
    m_database.RemoveObserver(this);
}

bool CSelection::Flagged(int id) const
{
    return id >= 0 && static_cast<std::size_t>(id) < m_flagOfId.size() && m_flagOfId[static_cast<std::size_t>(id)] != 0;
}

void CSelection::SetFlag(int id, bool on)
{
    if (static_cast<std::size_t>(id) >= m_flagOfId.size())
        m_flagOfId.resize(static_cast<std::size_t>(id) + 1, 0);
    m_flagOfId[static_cast<std::size_t>(id)] = on ? 1 : 0;
}

void CSelection::Clear()
{
    if (m_ids.empty())
        return;
    for (int id : m_ids)
        SetFlag(id, false);
    m_ids.clear();
    m_bMayHoldGone = false;
    ++m_nRevision;
}

void CSelection::Set(const std::vector<int>& ids)
{
    Clear();
    for (int id : ids)
        Add(id);
    ++m_nRevision;
}

void CSelection::Add(int id)
{
    if (Flagged(id) || m_database.Lookup(id) == nullptr)
        return;
    SetFlag(id, true);
    m_ids.push_back(id);
    ++m_nRevision;
}

void CSelection::Remove(int id)
{
    if (!Flagged(id))
        return;
    SetFlag(id, false);
    m_ids.erase(std::find(m_ids.begin(), m_ids.end(), id));
    ++m_nRevision;
}

void CSelection::Toggle(int id)
{
    if (Flagged(id))
        Remove(id);
    else
        Add(id);
}

void CSelection::SelectAll()
{
    Clear();
    for (int slot = 0; slot < m_database.GetSize(); ++slot) {
        if (const CGO_GeoObject* object = m_database.GetAt(slot)) {
            SetFlag(object->GetId(), true);
            m_ids.push_back(object->GetId());
        }
    }
    ++m_nRevision;
}

bool CSelection::Contains(int id)
{
    Prune();
    return Flagged(id);
}

int CSelection::Count()
{
    Prune();
    return static_cast<int>(m_ids.size());
}

std::vector<int> CSelection::Ids()
{
    Prune();
    std::vector<int> ids = m_ids;
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::vector<int> CSelection::IdsBeforeRemoval() const
{
    std::vector<int> ids = m_ids;
    std::sort(ids.begin(), ids.end());
    return ids;
}

void CSelection::Prune()
{
    if (!m_bMayHoldGone)
        return;
    m_bMayHoldGone = false;
    const std::size_t before = m_ids.size();
    m_ids.erase(std::remove_if(m_ids.begin(), m_ids.end(),
                               [this](int id) {
                                   if (m_database.Lookup(id) != nullptr)
                                       return false;
                                   SetFlag(id, false);
                                   return true;
                               }),
                m_ids.end());
    if (m_ids.size() != before)
        ++m_nRevision;
}

void CSelection::OnSlotChanging(int slot)
{
    // Told before the change: whether the object goes is known only later.
    const CGO_GeoObject* object = m_database.GetAt(slot);
    if (object != nullptr && Flagged(object->GetId()))
        m_bMayHoldGone = true;
}

void CSelection::OnDrawingReplaced()
{
    // The ids start again at 0 and would name other objects.
    m_flagOfId.clear();
    m_ids.clear();
    m_bMayHoldGone = false;
    ++m_nRevision;
}

namespace {

bool Inside(const CGO_Box& inner, const CGO_Box& outer)
{
    return inner.xMin >= outer.xMin && inner.xMax <= outer.xMax && inner.yMin >= outer.yMin && inner.yMax <= outer.yMax;
}

} // namespace

std::vector<int> ObjectsInRectangle(CSpatialIndex& index, const CGO_Box& rect, bool window)
{
    std::vector<int> slots;
    index.Query(rect, slots);
    std::vector<int> ids;
    const CGO_Database& database = index.GetDatabase();
    for (int slot : slots) {
        const CGO_GeoObject* object = database.GetAt(slot);
        CGO_Box box;
        if (object == nullptr || object->GetId() < 0 || !object->GetBounds(box))
            continue;
        if (window ? Inside(box, rect) : hittest::DrawnHitsRegion(*object, rect))
            ids.push_back(object->GetId());
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}
