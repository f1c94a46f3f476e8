// The QUndoStack front end of the edit journal: each command holds one edit
// step; the operation it records has already run when the command is pushed.
#include "control/UndoHistory.h"

#include "database/GO_Database.h"
#include "edit/Selection.h"
#include "log/Logger.h"

#include <QUndoCommand>

namespace {

// Kept small: one of these lives for every step of an unlimited history.
class CEditCommand : public QUndoCommand {
public:
    CEditCommand(CEditStep step, CUndoHistory& history) : m_step(std::move(step)), m_history(history)
    {
        // The shared name: a command must not cost a string of its own.
        setText(CUndoHistory::StepName(m_step.GetKind()));
    }

    void undo() override
    {
        m_history.Apply(m_step, true);
        RestoreSelection(true);
    }
    void redo() override
    {
        m_history.Apply(m_step, false);
        RestoreSelection(false);
    }

    // Only steps taken with something selected pay for remembering it.
    void KeepSelection(CSelection* selection, std::vector<int> before, std::vector<int> after)
    {
        m_pSelection = selection;
        if (before.empty() && after.empty())
            m_pSelected.reset();
        else
            m_pSelected = std::make_unique<Selected>(Selected{std::move(before), std::move(after)});
    }
    const std::vector<int>* Before() const { return m_pSelected ? &m_pSelected->before : nullptr; }

private:
    struct Selected {
        std::vector<int> before;
        std::vector<int> after;
    };

    void RestoreSelection(bool undo)
    {
        if (m_pSelection == nullptr)
            return;
        if (m_pSelected)
            m_pSelection->Set(undo ? m_pSelected->before : m_pSelected->after);
        else
            m_pSelection->Clear();
    }

    CEditStep m_step;
    CUndoHistory& m_history;
    CSelection* m_pSelection = nullptr;
    std::unique_ptr<Selected> m_pSelected;
};

} // namespace

CUndoHistory::CUndoHistory(CGO_Database& database) : m_database(database)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &CUndoHistory::Changed);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &CUndoHistory::Changed);
    connect(&m_stack, &QUndoStack::indexChanged, this, &CUndoHistory::StepTaken);
}

const QString& CUndoHistory::StepName(EditKind kind)
{
    static const QString names[] = {
        QString::fromUtf8("Linie erstellen"),     QString::fromUtf8("Kreis erstellen"),
        QString::fromUtf8("Objekt löschen"),      QString::fromUtf8("Objekt verschieben"),
        QString::fromUtf8("Objekt drehen"),       QString::fromUtf8("Objekt skalieren"),
        QString::fromUtf8("Horizontal spiegeln"), QString::fromUtf8("Vertikal spiegeln"),
        QString::fromUtf8("Am Ursprung spiegeln"), QString::fromUtf8("An Gerade spiegeln"),
        QString::fromUtf8("Einfügen"),
        QString::fromUtf8("Bogen erstellen"),     QString::fromUtf8("Stutzen"),
        QString::fromUtf8("Versetzen"),
    };
    return names[kind];
}

void CUndoHistory::PushStep(std::unique_ptr<CEditStep> step)
{
    if (!step)
        return;
    // push() redoes the command at once, but the operation has already run.
    auto* command = new CEditCommand(std::move(*step), *this);
    if (m_pSelection != nullptr) {
        // Read before the selection lets go of what the step removed.
        std::vector<int> before = m_pSelection->IdsBeforeRemoval();
        command->KeepSelection(m_pSelection, std::move(before), m_pSelection->Ids());
    }
    m_bPushing = true;
    m_stack.push(command);
    m_bPushing = false;
}

void CUndoHistory::NoteSelectionAfterLastStep()
{
    if (m_pSelection == nullptr || m_stack.index() == 0)
        return;
    auto* command = static_cast<CEditCommand*>(const_cast<QUndoCommand*>(m_stack.command(m_stack.index() - 1)));
    const std::vector<int>* before = command->Before();
    command->KeepSelection(m_pSelection, before ? *before : std::vector<int>(), m_pSelection->Ids());
}

void CUndoHistory::Apply(const CEditStep& step, bool undo)
{
    if (m_bPushing)
        return;
    if (!(undo ? step.Undo(m_database) : step.Redo(m_database)))
        m_bStepFailed = true;
}

bool CUndoHistory::Undo()
{
    return Step(true);
}

bool CUndoHistory::Redo()
{
    return Step(false);
}

bool CUndoHistory::Step(bool undo)
{
    if (IsBusy() || !(undo ? m_stack.canUndo() : m_stack.canRedo()))
        return false;
    m_bStepFailed = false;
    if (undo)
        m_stack.undo();
    else
        m_stack.redo();
    if (m_bStepFailed) {
        // The drawing no longer matches the history; the step changed nothing,
        // and no other step could be trusted either.
        LogWarn("The history does not fit the drawing any more and was cleared.");
        Clear();
        return false;
    }
    return true;
}

void CUndoHistory::Clear()
{
    m_stack.clear();
    emit Changed();
}

QString CUndoHistory::UndoToolTip() const
{
    const QString undo = QString::fromUtf8("Rückgängig");
    return m_stack.canUndo() ? undo + QStringLiteral(": ") + m_stack.undoText() : undo;
}

QString CUndoHistory::RedoToolTip() const
{
    const QString redo = QString::fromUtf8("Wiederholen");
    return m_stack.canRedo() ? redo + QStringLiteral(": ") + m_stack.redoText() : redo;
}
