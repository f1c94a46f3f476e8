// Scaling by typed values. Opened after the pick it shows the id, and after
// the base-point click also the base point. An empty factor leaves the size.
#include "dialogs/DialogScaleObject.h"

#include "control/lumen7dlg.h"
#include "database/GO_Database.h"
#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "geometry/GO_GeoObject.h"
#include "log/Logger.h"

CDialogScaleObject::CDialogScaleObject()
    : COperationDialog(134),
      m_editObjectId(BindField(1016)),
      m_editFactor(BindField(1027)),
      m_editBaseX(BindField(1025)),
      m_editBaseY(BindField(1026))
{
    ConnectButton(1, &CDialogScaleObject::OnButtonOk);
}

void CDialogScaleObject::OnInitDialog()
{
    const int action = Host()->GetAction();
    if (action >= ACTION_SCALE_BASE)
        WriteObjectId(m_editObjectId, Host()->GetPickedId());
    if (action >= ACTION_SCALE_DIALOG) {
        const CGO_Point base = Host()->GetPoint();
        WriteCoordinate(m_editBaseX, base.GetX());
        WriteCoordinate(m_editBaseY, base.GetY());
        SetInitialFocus(m_editFactor);
    }
}

void CDialogScaleObject::OnButtonOk()
{
    int id = -1;
    float factor = 1.0f;
    float baseX = 0.0f;
    float baseY = 0.0f;
    ReadInt(m_editObjectId, id);
    ReadFloat(m_editFactor, factor);
    ReadFloat(m_editBaseX, baseX);
    ReadFloat(m_editBaseY, baseY);

    LogDebug("Dialog 'CDialogScaleObject' is trying to scale object #%i by %4.1f...", id, factor);
    CGO_GeoObject* object = GetDatabase()->Find(id);
    if (!object) {
        done(RESULT_CANCEL);
        return;
    }
    // A base point of (0, 0), typed or left empty, means the origin.
    if (baseX == 0.0f && baseY == 0.0f)
        object->Scale(factor);
    else
        object->ScaleAbout(CGO_Point(baseX, baseY), factor);
    // A refused transform changed nothing: it ends like an unknown id.
    if (object->LastTransformRefused()) {
        done(RESULT_CANCEL);
        return;
    }
    object->GenerateDisplayList();
    done(RESULT_OK);
}
