// Watches the database while one user operation runs and turns what it did
// into an edit step: the first time a slot is about to change, its content is
// recorded; when the operation ends, the slots' new content completes the step.
#pragma once

#include "database/GO_DatabaseObserver.h"
#include "edit/EditStep.h"

#include <memory>
#include <vector>

class CGO_Database;

class CEditJournal : public IGO_DatabaseObserver {
public:
    explicit CEditJournal(CGO_Database& database);
    ~CEditJournal() override;

    // Starts recording an operation of this kind. A step already open is
    // dropped: operations do not nest.
    void Begin(EditKind kind);
    // Names the operation more precisely once it is known (the mirror dialog
    // knows which of its four mirrors the user chose).
    void SetKind(EditKind kind);
    bool IsOpen() const { return m_pStep != nullptr; }
    // Ends recording. Returns the step, or null when the operation changed
    // nothing or the drawing was replaced while it ran.
    std::unique_ptr<CEditStep> End();

    void OnSlotChanging(int slot) override;
    void OnDrawingReplaced() override;

    CEditJournal(const CEditJournal&) = delete;
    CEditJournal& operator=(const CEditJournal&) = delete;

private:
    CGO_Database& m_database;
    std::unique_ptr<CEditStep> m_pStep;
    // Per slot: recorded in the open step already.
    std::vector<unsigned char> m_recorded;
    bool m_bReplaced = false;
};
