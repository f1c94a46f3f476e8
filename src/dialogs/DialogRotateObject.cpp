// Rotating by typed values. Opened after the pick it shows the id, and after
// the base-point click also the base point.
#include "dialogs/DialogRotateObject.h"

#include "control/lumen7dlg.h"
#include "database/GO_Database.h"
#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "geometry/GO_GeoObject.h"
#include "log/Logger.h"

CDialogRotateObject::CDialogRotateObject()
    : COperationDialog(133),
      m_editObjectId(BindField(1016)),
      m_editAngle(BindField(1024)),
      m_editBaseX(BindField(1025)),
      m_editBaseY(BindField(1026))
{
    ConnectButton(1, &CDialogRotateObject::OnButtonOk);
}

void CDialogRotateObject::OnInitDialog()
{
    const int action = Host()->GetAction();
    if (action >= ACTION_ROTATE_BASE)
        WriteObjectId(m_editObjectId, Host()->GetPickedId());
    if (action >= ACTION_ROTATE_DIALOG) {
        const CGO_Point base = Host()->GetPoint();
        WriteCoordinate(m_editBaseX, base.GetX());
        WriteCoordinate(m_editBaseY, base.GetY());
        SetInitialFocus(m_editAngle);
    }
}

void CDialogRotateObject::OnButtonOk()
{
    int id = -1;
    float angle = 0.0f;
    float baseX = 0.0f;
    float baseY = 0.0f;
    ReadInt(m_editObjectId, id);
    ReadFloat(m_editAngle, angle);
    ReadFloat(m_editBaseX, baseX);
    ReadFloat(m_editBaseY, baseY);

    LogDebug("Dialog 'CDialogRotateObject' is trying to rotate object #%i by %4.1f degree...", id, angle);
    CGO_GeoObject* object = GetDatabase()->Find(id);
    if (!object) {
        done(RESULT_CANCEL);
        return;
    }
    // A base point of (0, 0), typed or left empty, means the origin.
    if (baseX == 0.0f && baseY == 0.0f)
        object->Rotate(angle);
    else
        object->RotateAbout(CGO_Point(baseX, baseY), angle);
    // A refused transform changed nothing: it ends like an unknown id.
    if (object->LastTransformRefused()) {
        done(RESULT_CANCEL);
        return;
    }
    object->GenerateDisplayList();
    done(RESULT_OK);
}
