// The scale of a page, as the print dialog's tab "Maßstab" and the PDF
// export ask for it: "An Seite anpassen" or a ratio, on request the page
// size and orientation, and a warning whenever the drawing would be cut off
// at what is chosen.
#pragma once

#include "output/PaperScale.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QWidget;

class CPaperScaleChoice : public QWidget {
    Q_OBJECT
public:
    // Whether a page at the scale would cut part of the drawing off.
    using CutOffTest = std::function<bool(const CPaperScale&)>;

    // withPage adds the page size and orientation (the print dialog has its
    // own).
    CPaperScaleChoice(bool withPage, CutOffTest cutsOff, QWidget* parent = nullptr);

    CPaperScale Chosen() const;
    void SetChosen(const CPaperScale& paper);
    // Whether the warning about the cut-off drawing is shown.
    bool WarnsOfCutOff() const;

    // Asks for the scale of a PDF page in a dialog of its own over owner;
    // false when cancelled, paper unchanged.
    static bool AskForPdf(QWidget* owner, CPaperScale& paper, CutOffTest cutsOff);

private:
    void UpdateWarning();

    CutOffTest m_cutsOff;
    QComboBox* m_pRatio = nullptr;
    QComboBox* m_pPage = nullptr;
    QComboBox* m_pOrientation = nullptr;
    QLabel* m_pWarning = nullptr;
};
