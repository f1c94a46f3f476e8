// Drawing an arc by typed values. Opened after the centre click, the dialog
// shows that centre; angles are degrees, counter-clockwise from the start.
#include "dialogs/DialogDrawArc.h"

#include "dialogs/CadActions.h"
#include "dialogs/DialogHost.h"
#include "edit/Editor.h"
#include "log/Logger.h"

CDialogDrawArc::CDialogDrawArc(IDialogHost& host)
    : COperationDialog(137, host),
      m_editCenterX(BindField(1002)),
      m_editCenterY(BindField(1012)),
      m_editRadius(BindField(1016)),
      m_editStart(BindField(1003)),
      m_editEnd(BindField(1015))
{
    ConnectButton(1, &CDialogDrawArc::OnButtonOk);
}

void CDialogDrawArc::OnInitDialog()
{
    if (Host()->GetAction() != ACTION_ARC_START)
        return;
    const CGO_Point center = Host()->GetPoint();
    WriteCoordinate(m_editCenterX, center.GetX());
    WriteCoordinate(m_editCenterY, center.GetY());
    SetInitialFocus(m_editRadius);
}

void CDialogDrawArc::OnButtonOk()
{
    float x = 0.0f, y = 0.0f, r = 0.0f, start = 0.0f, end = 0.0f;
    ReadFloat(m_editCenterX, x);
    ReadFloat(m_editCenterY, y);
    ReadFloat(m_editRadius, r);
    ReadFloat(m_editStart, start);
    ReadFloat(m_editEnd, end);
    const CGO_Point center(x, y);
    FinishCreation(GetEditor().CreateArc(center, r, start, end, [center, r, start, end](CGO_GeoObject&) {
        LogDebug("Dialog 'CDialogDrawArc' is trying to add arc with C(%4.1f,%4.1f), radius %4.1f, from %4.1f to "
                 "%4.1f degree...",
                 center.GetX(), center.GetY(), r, start, end);
    }));
}
