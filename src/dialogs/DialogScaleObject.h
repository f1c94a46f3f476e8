// The scale dialog: scales the object whose id is typed by a typed factor,
// about the origin or about an optional base point.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogScaleObject : public COperationDialog {
    Q_OBJECT
public:
    CDialogScaleObject();

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();

    QLineEdit* m_editObjectId;
    QLineEdit* m_editFactor;
    QLineEdit* m_editBaseX;
    QLineEdit* m_editBaseY;
};
