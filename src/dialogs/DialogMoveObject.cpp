// Moving by typed values; opened after the pick, it shows the picked id.
#include "dialogs/DialogMoveObject.h"

#include "dialogs/CadActions.h"
#include "dialogs/DialogHost.h"
#include "edit/Editor.h"
#include "log/Logger.h"

CDialogMoveObject::CDialogMoveObject(IDialogHost& host)
    : COperationDialog(132, host),
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
    FinishTransform(GetEditor().Transform(Host()->TargetsOf(id), CTransform::Move(v)));
}
