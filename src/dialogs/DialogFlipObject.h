// The mirror dialog: mirrors the object whose id is typed horizontally,
// vertically, at the origin, or at the straight line through two typed points.
#pragma once

#include "dialogs/OperationDialog.h"

class CDialogFlipObject : public COperationDialog {
    Q_OBJECT
public:
    explicit CDialogFlipObject(IDialogHost& host);

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();
    void OnFlipHorizontal();
    void OnFlipVertical();
    void OnFlipOnOrigin();
    void OnFlipOnStraight();

    int ReadObjectId() const;

    QLineEdit* m_editObjectId;
    QLineEdit* m_editP1X;
    QLineEdit* m_editP2X;
    QLineEdit* m_editP1Y;
    QLineEdit* m_editP2Y;
};
