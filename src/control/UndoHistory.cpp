// The QUndoStack front end of the edit journal: each command holds one edit
// step; the operation it records has already run when the command is pushed.
#include "control/UndoHistory.h"

#include "database/GO_Database.h"
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

    void undo() override { m_history.Apply(m_step, true); }
    void redo() override { m_history.Apply(m_step, false); }

private:
    CEditStep m_step;
    CUndoHistory& m_history;
};

} // namespace

CUndoHistory::CUndoHistory(CGO_Database& database) : m_database(database)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &CUndoHistory::Changed);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &CUndoHistory::Changed);
}

const QString& CUndoHistory::StepName(EditKind kind)
{
    static const QString names[] = {
        QString::fromUtf8("Linie erstellen"),     QString::fromUtf8("Kreis erstellen"),
        QString::fromUtf8("Objekt löschen"),      QString::fromUtf8("Objekt verschieben"),
        QString::fromUtf8("Objekt drehen"),       QString::fromUtf8("Objekt skalieren"),
        QString::fromUtf8("Horizontal spiegeln"), QString::fromUtf8("Vertikal spiegeln"),
        QString::fromUtf8("Am Ursprung spiegeln"), QString::fromUtf8("An Gerade spiegeln"),
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
    m_bPushing = true;
    m_stack.push(new CEditCommand(std::move(*step), *this));
    m_bPushing = false;
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
