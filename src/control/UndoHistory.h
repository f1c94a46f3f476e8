// The drawing's history for the program: every finished user operation that
// changed the drawing becomes one step on a QUndoStack, which gives the
// enabled states and the names the buttons show. Views of the drawing
// (world range, zoom) are no part of it.
#pragma once

#include "edit/EditJournal.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

class CGO_Database;

class CUndoHistory : public QObject {
    Q_OBJECT
public:
    explicit CUndoHistory(CGO_Database& database);

    // Everything the database does between these two calls is one step, if
    // it changed anything.
    void BeginStep(EditKind kind);
    void NameStep(EditKind kind);
    void EndStep();
    bool IsRecording() const { return m_journal.IsOpen(); }

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
    int StepCount() const { return m_stack.count(); }

    // Undoes or redoes one step of the stack; its commands call it.
    void Apply(const CEditStep& step, bool undo);

    // The German name of a kind of step, as the buttons show it.
    static const QString& StepName(EditKind kind);

    // Opens a step for the lifetime of the scope.
    class Scope {
    public:
        Scope(CUndoHistory& history, EditKind kind) : m_history(history) { m_history.BeginStep(kind); }
        ~Scope() { m_history.EndStep(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CUndoHistory& m_history;
    };

signals:
    // The enabled states or the names of what undo and redo would do changed.
    void Changed();

private:
    bool Step(bool undo);

    CGO_Database& m_database;
    CEditJournal m_journal;
    QUndoStack m_stack;
    bool m_bStepFailed = false;
    bool m_bPushing = false;
};
