// The rotate and the scale dialog, which differ only in their template, the
// value they take (angle or factor) and the transform they make of it: the
// object whose id is typed turns or scales about the origin, or about the
// optional base point.
#pragma once

#include "dialogs/OperationDialog.h"
#include "edit/Transform.h"

class CBaseTransformDialog : public COperationDialog {
    Q_OBJECT
public:
    struct CKind {
        int templateId;
        int valueField;
        float valuePreset;   // what an empty value field means
        int pickedAction;    // from this action on, the id is filled in
        int basePointAction; // from this action on, the base point too
        void (*announce)(int id, float value);
        CTransform (*aboutOrigin)(float value);
        CTransform (*aboutBase)(CGO_Point base, float value);
    };

protected:
    CBaseTransformDialog(const CKind& kind, IDialogHost& host);
    void OnInitDialog() override;

private:
    void OnButtonOk();

    const CKind& m_kind;
    QLineEdit* m_editObjectId;
    QLineEdit* m_editValue;
    QLineEdit* m_editBaseX;
    QLineEdit* m_editBaseY;
};
