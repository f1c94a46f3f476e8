// Drawing a line by typed points; opened after the first click, it shows that
// click as the start point.
#include "dialogs/DialogDrawLine.h"

#include "dialogs/CadActions.h"
#include "dialogs/DialogHost.h"
#include "edit/Editor.h"
#include "log/Logger.h"

CDialogDrawLine::CDialogDrawLine(IDialogHost& host)
    : COperationDialog(130, host),
      m_editStartX(BindField(1017)),
      m_editStartY(BindField(1019)),
      m_editEndX(BindField(1018)),
      m_editEndY(BindField(1020))
{
    ConnectButton(1, &CDialogDrawLine::OnButtonOk);
}

void CDialogDrawLine::OnInitDialog()
{
    if (Host()->GetAction() != ACTION_LINE_END)
        return;
    const CGO_Point start = Host()->GetPoint();
    WriteCoordinate(m_editStartX, start.GetX());
    WriteCoordinate(m_editStartY, start.GetY());
}

void CDialogDrawLine::OnButtonOk()
{
    // Both points are read through the same pair of variables, so an empty
    // end field repeats the start point's coordinate.
    float x = 0.0f;
    float y = 0.0f;
    ReadFloat(m_editStartX, x);
    ReadFloat(m_editStartY, y);
    CGO_Point p1;
    p1.Set(x, y);
    ReadFloat(m_editEndX, x);
    ReadFloat(m_editEndY, y);
    CGO_Point p2;
    p2.Set(x, y);

    FinishCreation(GetEditor().CreateLine(p1, p2, [p1, p2](CGO_GeoObject&) {
        LogDebug("Dialog 'CDialogDrawLine' is trying to add line from P1(%4.1f,%4.1f) to P2(%4.1f,%4.1f)...",
                 p1.GetX(), p1.GetY(), p2.GetX(), p2.GetY());
    }));
}
