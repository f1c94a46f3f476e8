// The arc dialog: a new arc from its centre, radius, start and end angle.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogDrawArc : public COperationDialog {
    Q_OBJECT
public:
    explicit CDialogDrawArc(IDialogHost& host);

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();

    QLineEdit* m_editCenterX;
    QLineEdit* m_editCenterY;
    QLineEdit* m_editRadius;
    QLineEdit* m_editStart;
    QLineEdit* m_editEnd;
};
