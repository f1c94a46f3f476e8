// Rotating or scaling by typed values. Opened after the pick it shows the id,
// and after the base-point click also the base point.
#include "dialogs/BaseTransformDialog.h"

#include "dialogs/DialogHost.h"
#include "edit/Editor.h"

CBaseTransformDialog::CBaseTransformDialog(const CKind& kind, IDialogHost& host)
    : COperationDialog(kind.templateId, host),
      m_kind(kind),
      m_editObjectId(BindField(1016)),
      m_editValue(BindField(kind.valueField)),
      m_editBaseX(BindField(1025)),
      m_editBaseY(BindField(1026))
{
    ConnectButton(1, &CBaseTransformDialog::OnButtonOk);
}

void CBaseTransformDialog::OnInitDialog()
{
    const int action = Host()->GetAction();
    if (action >= m_kind.pickedAction)
        WriteObjectId(m_editObjectId, Host()->GetPickedId());
    if (action >= m_kind.basePointAction) {
        const CGO_Point base = Host()->GetPoint();
        WriteCoordinate(m_editBaseX, base.GetX());
        WriteCoordinate(m_editBaseY, base.GetY());
        SetInitialFocus(m_editValue);
    }
}

void CBaseTransformDialog::OnButtonOk()
{
    int id = -1;
    float value = m_kind.valuePreset;
    float baseX = 0.0f;
    float baseY = 0.0f;
    ReadInt(m_editObjectId, id);
    ReadFloat(m_editValue, value);
    ReadFloat(m_editBaseX, baseX);
    ReadFloat(m_editBaseY, baseY);

    m_kind.announce(id, value);
    // A base point of (0, 0), typed or left empty, means the origin.
    const CTransform transform = baseX == 0.0f && baseY == 0.0f ? m_kind.aboutOrigin(value)
                                                                : m_kind.aboutBase(CGO_Point(baseX, baseY), value);
    FinishTransform(GetEditor().Transform(Host()->TargetsOf(id), transform));
}
