// The move dialog: moves the object whose id is typed by a typed vector.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogMoveObject : public COperationDialog {
    Q_OBJECT
public:
    explicit CDialogMoveObject(IDialogHost& host);

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();

    QLineEdit* m_editObjectId;
    QLineEdit* m_editDx;
    QLineEdit* m_editDy;
};
