// The delete dialog: removes the object whose id is typed.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogDelObject : public COperationDialog {
    Q_OBJECT
public:
    CDialogDelObject();

private:
    void OnButtonOk();

    QLineEdit* m_editObjectId;
};
