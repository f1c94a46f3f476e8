// The delete dialog: removes the object whose id is typed.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogDelObject : public COperationDialog {
    Q_OBJECT
public:
    explicit CDialogDelObject(IDialogHost& host);

private:
    void OnButtonOk();

    QLineEdit* m_editObjectId;
};
