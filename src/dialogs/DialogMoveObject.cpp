// Moving by typed values; opened after the pick, it shows the picked id.
#include "dialogs/DialogMoveObject.h"

#include "control/lumen7dlg.h"
#include "database/GO_Database.h"
#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "geometry/GO_GeoObject.h"
#include "log/Logger.h"

CDialogMoveObject::CDialogMoveObject()
    : COperationDialog(132),
      m_editObjectId(BindField(1016)),
      m_editDx(BindField(1022)),
      m_editDy(BindField(1023))
{
    ConnectButton(1, &CDialogMoveObject::OnButtonOk);
}

void CDialogMoveObject::OnInitDialog()
{
    if (Host()->GetAction() == ACTION_MOVE_DRAG)
        WriteObjectId(m_editObjectId, Host()->GetPickedId());
}

void CDialogMoveObject::OnButtonOk()
{
    int id = -1;
    float dx = 0.0f;
    float dy = 0.0f;
    ReadInt(m_editObjectId, id);
    ReadFloat(m_editDx, dx);
    ReadFloat(m_editDy, dy);
    const CGO_Vector v(dx, dy);

    LogDebug("Dialog 'CDialogMoveObject' is trying to move object #%i by (%4.1f,%4.1f)...", id, v.GetX(), v.GetY());
    CGO_GeoObject* object = GetDatabase()->Find(id);
    if (!object) {
        done(RESULT_CANCEL);
        return;
    }
    object->Move(v);
    // A refused transform changed nothing: it ends like an unknown id.
    if (object->LastTransformRefused()) {
        done(RESULT_CANCEL);
        return;
    }
    object->GenerateDisplayList();
    done(RESULT_OK);
}
