// The line dialog: a new line from two typed points.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogDrawLine : public COperationDialog {
    Q_OBJECT
public:
    explicit CDialogDrawLine(IDialogHost& host);

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();

    QLineEdit* m_editStartX;
    QLineEdit* m_editStartY;
    QLineEdit* m_editEndX;
    QLineEdit* m_editEndY;
};
