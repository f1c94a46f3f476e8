// The mirror dialog: mirrors the object whose id is typed horizontally,
// vertically, at the origin, or at the straight line through two typed points.
#pragma once

#include "dialogs/OperationDialog.h"

class CGO_GeoObject;

class CDialogFlipObject : public COperationDialog {
    Q_OBJECT
public:
    CDialogFlipObject();

protected:
    void OnInitDialog() override;

private:
    void OnButtonOk();
    void OnFlipHorizontal();
    void OnFlipVertical();
    void OnFlipOnOrigin();
    void OnFlipOnStraight();

    int ReadObjectId() const;
    // The object to mirror, or null after ending the dialog with Cancel.
    CGO_GeoObject* FindOrCancel(int id);
    void Finish(CGO_GeoObject* object);

    QLineEdit* m_editObjectId;
    QLineEdit* m_editP1X;
    QLineEdit* m_editP2X;
    QLineEdit* m_editP1Y;
    QLineEdit* m_editP2Y;
};
