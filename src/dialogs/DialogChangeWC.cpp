// Changing the world range: shows the current range, takes the typed one if
// it increases on both axes, and keeps the drawing window's caption in step.
#include "dialogs/DialogChangeWC.h"

#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "log/CFormat.h"
#include "log/Logger.h"
#include "view/scene/Graphics.h"

#include <QLineEdit>

CDialogChangeWC::CDialogChangeWC(IDialogHost& host)
    : COperationDialog(136, host),
      m_editXFrom(BindField(1030)),
      m_editXTo(BindField(1031)),
      m_editYFrom(BindField(1032)),
      m_editYTo(BindField(1033))
{
    ConnectButton(1, &CDialogChangeWC::OnButtonOk);
}

void CDialogChangeWC::OnInitDialog()
{
    const WorldCoordinates range = Host()->GetGraphics()->GetWorldCoordinates();
    WriteCoordinate(m_editXFrom, static_cast<float>(range.xMin));
    WriteCoordinate(m_editXTo, static_cast<float>(range.xMax));
    WriteCoordinate(m_editYFrom, static_cast<float>(range.yMin));
    WriteCoordinate(m_editYTo, static_cast<float>(range.yMax));
}

void CDialogChangeWC::OnButtonOk()
{
    // Empty fields fall back to the default range, not to the current one.
    float x0 = -500.0f;
    float x1 = 500.0f;
    float y0 = -500.0f;
    float y1 = 500.0f;
    ReadFloat(m_editXFrom, x0);
    ReadFloat(m_editXTo, x1);
    ReadFloat(m_editYFrom, y0);
    ReadFloat(m_editYTo, y1);

    LogDebug("Dialog 'CDialogChangeWC' is trying to change world coordinates to X(%4.1f, %4.1f), Y(%4.1f, %4.1f)...",
             x0, x1, y0, y1);
    // The caption names the range the drawing shows, so it changes only
    // together with the range.
    if (Host()->GetGraphics()->SetWorldCoordinates(x0, x1, y0, y1)) {
        Host()->SetCaption(QString::fromStdString(
            StringFormatC("CAD-Programm (%3.1f, %3.1f | %3.1f, %3.1f)", x0, x1, y0, y1)));
    } else {
        LogWarn("World coordinates X(%4.1f, %4.1f), Y(%4.1f, %4.1f) rejected: the range must increase on both axes.",
                x0, x1, y0, y1);
    }
    done(RESULT_OK);
}
