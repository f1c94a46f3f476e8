// Drawing a circle by typed values. Opened after the centre click, both
// groups show that centre. The top-right "OK" stays disabled: the two groups
// confirm separately.
#include "dialogs/DialogDrawCircle.h"

#include "dialogs/CadActions.h"
#include "dialogs/DialogHost.h"
#include "edit/Editor.h"
#include "log/Logger.h"

CDialogDrawCircle::CDialogDrawCircle(IDialogHost& host)
    : COperationDialog(129, host),
      m_editCenterX(BindField(1002)),
      m_editCenterY(BindField(1012)),
      m_editCenterRadiusX(BindField(1003)),
      m_editCenterRadiusY(BindField(1015)),
      m_editPointX(BindField(1013)),
      m_editPointY(BindField(1014)),
      m_editRadius(BindField(1016))
{
    ConnectButton(3, &CDialogDrawCircle::OnButtonOkTwoPoints);
    ConnectButton(1021, &CDialogDrawCircle::OnButtonOkCenterRadius);
}

void CDialogDrawCircle::OnInitDialog()
{
    if (Host()->GetAction() != ACTION_CIRCLE_POINT)
        return;
    const CGO_Point center = Host()->GetPoint();
    WriteCoordinate(m_editCenterX, center.GetX());
    WriteCoordinate(m_editCenterRadiusX, center.GetX());
    WriteCoordinate(m_editCenterY, center.GetY());
    WriteCoordinate(m_editCenterRadiusY, center.GetY());
}

void CDialogDrawCircle::OnButtonOkTwoPoints()
{
    // An empty peripheral field repeats the centre's coordinate: both points
    // are read through the same pair of variables.
    float x = 0.0f;
    float y = 0.0f;
    ReadFloat(m_editCenterX, x);
    ReadFloat(m_editCenterY, y);
    CGO_Point center;
    center.Set(x, y);
    ReadFloat(m_editPointX, x);
    ReadFloat(m_editPointY, y);
    CGO_Point point;
    point.Set(x, y);

    FinishCreation(GetEditor().CreateCircle(center, point, [center, point](CGO_GeoObject&) {
        LogDebug("Dialog 'CDialogDrawCircle' is trying to add circle with C(%4.1f,%4.1f) and P(%4.1f,%4.1f)...",
                 center.GetX(), center.GetY(), point.GetX(), point.GetY());
    }));
}

void CDialogDrawCircle::OnButtonOkCenterRadius()
{
    float x = 0.0f;
    float y = 0.0f;
    float r = 0.0f;
    ReadFloat(m_editCenterRadiusX, x);
    ReadFloat(m_editCenterRadiusY, y);
    CGO_Point center;
    center.Set(x, y);
    ReadFloat(m_editRadius, r);

    FinishCreation(GetEditor().CreateCircle(center, r, [center, r](CGO_GeoObject&) {
        LogDebug("Dialog 'CDialogDrawCircle' is trying to add circle with C(%4.1f,%4.1f) and radius %4.1f...",
                 center.GetX(), center.GetY(), r);
    }));
}
