// The rotate dialog: rotates the object whose id is typed by a typed angle,
// about the origin or about an optional base point.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogRotateObject : public COperationDialog {
    Q_OBJECT
public:
    CDialogRotateObject();

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();

    QLineEdit* m_editObjectId;
    QLineEdit* m_editAngle;
    QLineEdit* m_editBaseX;
    QLineEdit* m_editBaseY;
};
