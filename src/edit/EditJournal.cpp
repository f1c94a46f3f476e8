// The journal records through the database's notifications, so every path
// that changes the drawing (mouse or dialog) is recorded alike.
#include "edit/EditJournal.h"

#include "database/GO_Database.h"

#include <algorithm>

CEditJournal::CEditJournal(CGO_Database& database) : m_database(database)
{
    m_database.AddObserver(this);
}

CEditJournal::~CEditJournal()
{
    m_database.RemoveObserver(this);
}

void CEditJournal::Begin(EditKind kind)
{
    m_pStep = std::make_unique<CEditStep>(kind);
    m_recorded.clear();
    m_bReplaced = false;
}

void CEditJournal::SetKind(EditKind kind)
{
    if (m_pStep)
        m_pStep->SetKind(kind);
}

std::unique_ptr<CEditStep> CEditJournal::End()
{
    std::unique_ptr<CEditStep> step = std::move(m_pStep);
    m_recorded.clear();
    // After a load the slots belong to another drawing; nothing recorded
    // before it could be put back.
    if (!step || m_bReplaced || !step->RecordAfter(m_database))
        return nullptr;
    return step;
}

void CEditJournal::OnSlotChanging(int slot)
{
    if (!m_pStep || slot < 0)
        return;
    const std::size_t at = static_cast<std::size_t>(slot);
    if (at >= m_recorded.size())
        m_recorded.resize(std::max<std::size_t>(at + 1, m_recorded.size() * 2), 0);
    if (m_recorded[at] != 0)
        return;
    m_recorded[at] = 1;
    m_pStep->RecordBefore(slot, m_database.GetAt(slot));
}

void CEditJournal::OnDrawingReplaced()
{
    if (m_pStep)
        m_bReplaced = true;
}
