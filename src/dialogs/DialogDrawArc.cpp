// Drawing an arc by typed values. Opened after the centre click, the dialog
// shows that centre; after the start point, the radius and the start angle
// too. Angles are degrees, counter-clockwise from the start.
#include "dialogs/DialogDrawArc.h"

#include "dialogs/CadActions.h"
#include "dialogs/DialogHost.h"
#include "edit/Editor.h"
#include "log/Logger.h"

#include <cmath>

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
    const int action = Host()->GetAction();
    if (action != ACTION_ARC_START && action != ACTION_ARC_END)
        return;
    // After the start point the last point given is that one, and the
    // centre is the first.
    const CGO_Point center = action == ACTION_ARC_START ? Host()->GetPoint() : Host()->GetFirstPoint();
    WriteCoordinate(m_editCenterX, center.GetX());
    WriteCoordinate(m_editCenterY, center.GetY());
    SetInitialFocus(m_editRadius);
    if (action != ACTION_ARC_END)
        return;
    const CGO_Point start = Host()->GetPoint();
    const double dx = static_cast<double>(start.GetX()) - center.GetX();
    const double dy = static_cast<double>(start.GetY()) - center.GetY();
    WriteCoordinate(m_editRadius, static_cast<float>(std::hypot(dx, dy)));
    WriteCoordinate(m_editStart, static_cast<float>(std::atan2(dy, dx) * 180.0 / M_PI));
    SetInitialFocus(m_editEnd);
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
