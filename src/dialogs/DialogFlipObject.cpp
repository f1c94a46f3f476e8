// Mirroring by typed values: one button per kind of mirror. "OK" closes
// without touching any object.
#include "dialogs/DialogFlipObject.h"

#include "dialogs/CadActions.h"
#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "edit/Editor.h"
#include "log/Logger.h"

CDialogFlipObject::CDialogFlipObject(IDialogHost& host)
    : COperationDialog(135, host),
      m_editObjectId(BindField(1016)),
      m_editP1X(BindField(1017)),
      m_editP2X(BindField(1018)),
      m_editP1Y(BindField(1019)),
      m_editP2Y(BindField(1020))
{
    ConnectButton(1, &CDialogFlipObject::OnButtonOk);
    ConnectButton(1029, &CDialogFlipObject::OnFlipHorizontal);
    ConnectButton(1028, &CDialogFlipObject::OnFlipVertical);
    ConnectButton(1031, &CDialogFlipObject::OnFlipOnOrigin);
    ConnectButton(1030, &CDialogFlipObject::OnFlipOnStraight);
}

void CDialogFlipObject::OnInitDialog()
{
    const int action = Host()->GetAction();
    if (action >= ACTION_FLIP_START)
        WriteObjectId(m_editObjectId, Host()->GetPickedId());
    if (action >= ACTION_FLIP_END) {
        const CGO_Point p1 = Host()->GetPoint();
        WriteCoordinate(m_editP1X, p1.GetX());
        WriteCoordinate(m_editP1Y, p1.GetY());
    }
}

void CDialogFlipObject::OnButtonOk()
{
    done(RESULT_OK);
}

void CDialogFlipObject::OnFlipHorizontal()
{
    const int id = ReadObjectId();
    LogDebug("Dialog 'CDialogFlipObject' is trying to flip object #%i horizontal...", id);
    FinishTransform(GetEditor().Transform(Host()->TargetsOf(id), CTransform::FlipHorizontal()));
}

void CDialogFlipObject::OnFlipVertical()
{
    const int id = ReadObjectId();
    LogDebug("Dialog 'CDialogFlipObject' is trying to flip object #%i vertical...", id);
    FinishTransform(GetEditor().Transform(Host()->TargetsOf(id), CTransform::FlipVertical()));
}

void CDialogFlipObject::OnFlipOnOrigin()
{
    const int id = ReadObjectId();
    LogDebug("Dialog 'CDialogFlipObject' is trying to flip object #%i on origin of ordinates...", id);
    FinishTransform(GetEditor().Transform(Host()->TargetsOf(id), CTransform::FlipOnOrigin()));
}

void CDialogFlipObject::OnFlipOnStraight()
{
    const int id = ReadObjectId();
    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
    ReadFloat(m_editP1X, x1);
    ReadFloat(m_editP1Y, y1);
    ReadFloat(m_editP2X, x2);
    ReadFloat(m_editP2Y, y2);
    const CGO_Point p1(x1, y1);
    const CGO_Point p2(x2, y2);

    LogDebug("Dialog 'CDialogFlipObject' is trying to flip object #%i on straight through P1(%4.1f,%4.1f), "
             "P2(%4.1f,%4.1f)...",
             id, p1.GetX(), p1.GetY(), p2.GetX(), p2.GetY());
    // Two equal points (empty fields give (0, 0) twice) define no line; the
    // object then stays as it is.
    FinishTransform(GetEditor().Transform(Host()->TargetsOf(id), CTransform::FlipOnStraight(p1, p2)));
}

int CDialogFlipObject::ReadObjectId() const
{
    int id = -1;
    ReadInt(m_editObjectId, id);
    return id;
}
