#include "control/HistoryControls.h"

#include "control/UndoHistory.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>

CHistoryControls::CHistoryControls(CUndoHistory& history, QWidget* keyWindow, QAbstractButton* undoButton,
                                   QAbstractButton* redoButton, std::function<void()> beforeStep,
                                   std::function<void()> afterStep)
    : QObject(keyWindow), m_history(history), m_undoButton(undoButton), m_redoButton(redoButton),
      m_beforeStep(std::move(beforeStep)), m_afterStep(std::move(afterStep))
{
    const struct {
        const char* keys;
        void (CHistoryControls::*handler)();
    } shortcuts[] = {
        {"Ctrl+Z", &CHistoryControls::Undo},
        {"Ctrl+Y", &CHistoryControls::Redo},
        {"Ctrl+Shift+Z", &CHistoryControls::Redo},
    };
    for (const auto& shortcut : shortcuts)
        connect(new QShortcut(QKeySequence(QString::fromLatin1(shortcut.keys)), keyWindow), &QShortcut::activated,
                this, shortcut.handler);
    if (m_undoButton != nullptr)
        connect(m_undoButton, &QAbstractButton::clicked, this, &CHistoryControls::Undo);
    if (m_redoButton != nullptr)
        connect(m_redoButton, &QAbstractButton::clicked, this, &CHistoryControls::Redo);
    connect(&m_history, &CUndoHistory::Changed, this, &CHistoryControls::UpdateButtons);
    UpdateButtons();
}

void CHistoryControls::Undo()
{
    StepThroughHistory(true);
}

void CHistoryControls::Redo()
{
    StepThroughHistory(false);
}

void CHistoryControls::UpdateButtons()
{
    if (m_undoButton != nullptr) {
        m_undoButton->setEnabled(m_history.CanUndo());
        m_undoButton->setToolTip(m_history.UndoToolTip());
    }
    if (m_redoButton != nullptr) {
        m_redoButton->setEnabled(m_history.CanRedo());
        m_redoButton->setToolTip(m_history.RedoToolTip());
    }
}

void CHistoryControls::StepThroughHistory(bool undo)
{
    if (m_history.IsBusy() || !(undo ? m_history.CanUndo() : m_history.CanRedo()))
        return;
    m_beforeStep();
    if (undo ? m_history.Undo() : m_history.Redo())
        m_afterStep();
}
