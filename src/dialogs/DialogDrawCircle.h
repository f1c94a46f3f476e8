// The circle dialog: a new circle from centre and peripheral point, or from
// centre and radius; each group has its own "OK".
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogDrawCircle : public COperationDialog {
    Q_OBJECT
public:
    explicit CDialogDrawCircle(IDialogHost& host);

protected:
    void OnInitDialog() override;

private:
    void OnButtonOkTwoPoints();
    void OnButtonOkCenterRadius();

    QLineEdit* m_editCenterX;
    QLineEdit* m_editCenterY;
    QLineEdit* m_editCenterRadiusX;
    QLineEdit* m_editCenterRadiusY;
    QLineEdit* m_editPointX;
    QLineEdit* m_editPointY;
    QLineEdit* m_editRadius;
};
