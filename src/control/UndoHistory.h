// The drawing's history for the program: every finished user operation that
// changed the drawing becomes one step on a QUndoStack, which gives the
// enabled states and the names the buttons show. Views of the drawing
// (world range, zoom) are no part of it.
#pragma once

#include "edit/Editor.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

class CGO_Database;
class CSelection;

class CUndoHistory : public QObject, public IEditStepSink {
    Q_OBJECT
public:
    explicit CUndoHistory(CGO_Database& database);

    // The selection each step remembers as it was before and after it, and
    // that its undo and redo set back. None at first.
    void SetSelection(CSelection* selection) { m_pSelection = selection; }
    // The last step ends with the selection as it is now (a paste selects
    // what it placed after its step was made).
    void NoteSelectionAfterLastStep();

    // A finished operation of the edit layer.
    void PushStep(std::unique_ptr<CEditStep> step) override;
    // While an operation is under way (its dialog may be open), undo and
    // redo wait.
    bool IsBusy() const { return m_nBusy > 0; }

    // False when there was nothing to undo or redo.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    // "Rückgängig: Linie erstellen", or "Rückgängig" alone with nothing to undo.
    QString UndoToolTip() const;
    QString RedoToolTip() const;

    // After a load: the ids start at 0 again, no step fits the new drawing.
    void Clear();
    void MarkSaved() { m_stack.setClean(); }
    // No state of the history is the saved one (a recovered drawing).
    void MarkUnsaved() { m_stack.resetClean(); }
    // No step done or undone since the last save, load or clear.
    bool IsClean() const { return m_stack.isClean(); }
    int StepCount() const { return m_stack.count(); }

    // Undoes or redoes one step of the stack; its commands call it.
    void Apply(const CEditStep& step, bool undo);

    // The German name of a kind of step, as the buttons show it.
    static const QString& StepName(EditKind kind);

    // Marks the history busy for the lifetime of the scope.
    class Busy {
    public:
        explicit Busy(CUndoHistory& history) : m_history(history) { ++m_history.m_nBusy; }
        ~Busy() { --m_history.m_nBusy; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        CUndoHistory& m_history;
    };

signals:
    // The enabled states or the names of what undo and redo would do changed.
    void Changed();
    // A step was done, undone or redone.
    void StepTaken();

private:
    bool Step(bool undo);

    CGO_Database& m_database;
    CSelection* m_pSelection = nullptr;
    QUndoStack m_stack;
    int m_nBusy = 0;
    bool m_bStepFailed = false;
    bool m_bPushing = false;
};
