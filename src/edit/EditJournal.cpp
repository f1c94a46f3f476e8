// The journal records through the database's notifications, so every path
// that changes the drawing (mouse or dialog) is recorded alike.
#include "edit/EditJournal.h"

#include "database/GO_Database.h"

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
    // After a load the slots belong to another drawing; nothing recorded
    // before it could be put back.
    if (!step || m_bReplaced || !step->RecordAfter(m_database))
        return nullptr;
    return step;
}

void CEditJournal::OnSlotChanging(int slot)
{
    if (m_pStep)
        m_pStep->RecordBefore(slot, m_database.GetAt(slot));
}

void CEditJournal::OnDrawingReplaced()
{
    if (m_pStep)
        m_bReplaced = true;
}
