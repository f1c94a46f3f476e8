// The undo and redo controls of the control center: the buttons
// "Rückgängig" and "Wiederholen", enabled and named after the step they
// would take, and the keys Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z.
#pragma once

#include <QObject>

#include <functional>

class CUndoHistory;
class QAbstractButton;
class QWidget;

class CHistoryControls : public QObject {
    Q_OBJECT
public:
    // The keys work wherever keyWindow (and the windows forwarding to it)
    // has the focus. beforeStep runs before any step is taken, so that an
    // operation under way can end; afterStep runs after one was taken.
    CHistoryControls(CUndoHistory& history, QWidget* keyWindow, QAbstractButton* undoButton,
                     QAbstractButton* redoButton, std::function<void()> beforeStep, std::function<void()> afterStep);

    // Takes one step back or forward, if there is one and no step is being
    // recorded (a dialog is open).
    void Undo();
    void Redo();

private:
    void UpdateButtons();
    void StepThroughHistory(bool undo);

    CUndoHistory& m_history;
    QAbstractButton* m_undoButton;
    QAbstractButton* m_redoButton;
    std::function<void()> m_beforeStep;
    std::function<void()> m_afterStep;
};
