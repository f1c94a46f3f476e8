// Changing the world range: shows the current range, takes the typed one if
// the view can show it as zooming could, and keeps the drawing window's
// caption in step.
#include "dialogs/DialogChangeWC.h"

#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "log/CFormat.h"
#include "log/Logger.h"
#include "view/scene/Graphics.h"
#include "view/scene/ViewRange.h"

#include <QLineEdit>

namespace {

// Why a range was not taken: English for the log, German for the status
// line. A reversed range keeps its one log line and the usual status text.
struct CRangeRefusal {
    const char* logged;
    const char* shown;
};

CRangeRefusal RefusalOf(viewrange::RangeFault fault)
{
    switch (fault) {
    case viewrange::RangeFault::kNotFinite:
        return {"an edge is not a finite number",
                "Der Bereich wurde nicht übernommen: eine Grenze ist keine endliche Zahl."};
    case viewrange::RangeFault::kTooFine:
        return {"it is finer than the float resolution there lets the view tell points apart",
                "Der Bereich wurde nicht übernommen: er ist zu klein, um an dieser Stelle Punkte zu unterscheiden."};
    case viewrange::RangeFault::kTooWide:
        return {"it is wider than zooming out may go",
                "Der Bereich wurde nicht übernommen: er ist größer, als das Herauszoomen erlaubt."};
    case viewrange::RangeFault::kReversed:
    case viewrange::RangeFault::kNone: break;
    }
    return {"the range must increase on both axes", nullptr};
}

} // namespace

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
    const WorldCoordinates typed{x0, x1, y0, y1};
    const viewrange::RangeFault fault = viewrange::CheckTypedRange(typed, Host()->ViewSide());
    // The caption names the range the drawing shows, so it changes only
    // together with the range.
    if (fault == viewrange::RangeFault::kNone && Host()->GetGraphics()->SetWorldCoordinates(x0, x1, y0, y1)) {
        Host()->SetCaption(QString::fromStdString(viewrange::Caption(typed)));
    } else {
        const CRangeRefusal refusal = RefusalOf(fault);
        LogWarn("World coordinates X(%4.1f, %4.1f), Y(%4.1f, %4.1f) rejected: %s.", x0, x1, y0, y1, refusal.logged);
        if (refusal.shown != nullptr)
            Host()->ShowRefusal(QString::fromUtf8(refusal.shown));
    }
    done(RESULT_OK);
}
