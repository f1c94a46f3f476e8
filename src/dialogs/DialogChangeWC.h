// The world-range dialog: the visible range of world coordinates, typed in.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogChangeWC : public COperationDialog {
    Q_OBJECT
public:
    explicit CDialogChangeWC(IDialogHost& host);

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();

    QLineEdit* m_editXFrom;
    QLineEdit* m_editXTo;
    QLineEdit* m_editYFrom;
    QLineEdit* m_editYTo;
};
