// "Linienzug" draws lines end to end, each its own object and its own undo
// step, until the right button, Escape, Enter or the first point again;
// "Messen" reports two points' distance and changes nothing. Enter or Space
// in the drawing window, with nothing under way, starts the last operation
// again.
#include "control/lumen7dlg.h"

#include "geometry/GO_GeoObject.h"
#include "geometry/GO_Measurement.h"
#include "log/Logger.h"

namespace {

bool SamePoint(CGO_Point a, CGO_Point b) { return a.x == b.x && a.y == b.y; }

bool IsChainAction(int action) { return action == ACTION_POLYLINE_START || action == ACTION_POLYLINE_NEXT; }

// As for every line drawn by the mouse: its display list is built before the
// drawing takes it.
void CompileAhead(CGO_GeoObject& object) { object.GenerateDisplayList(); }

} // namespace

void CCadDlg::ChainPointSet(CGO_Point p)
{
    const double x = p.GetX();
    const double y = p.GetY();
    if (m_nAction == ACTION_POLYLINE_START) {
        LogDebug("Mouse Event: Polyline start point located at (%4.1f, %4.1f).", x, y);
        m_ptChainStart = p;
        m_nChainStartId = -1;
        m_nChainLines = 0;
        ContinueChain(p);
        return;
    }
    // A second click on the last point would only add a line of no length.
    if (SamePoint(p, m_ptFirst)) {
        ContinueChain(p);
        return;
    }
    LogDebug("Mouse Event: Polyline point %i located at (%4.1f, %4.1f). Drawing line...", m_nChainLines + 2, x, y);
    const CEditOutcome outcome = m_editor.CreateLine(m_ptFirst, p, CompileAhead);
    if (outcome.created.empty()) {
        ContinueChain(m_ptFirst);
        ReportCreation(outcome);
        return;
    }
    if (m_nChainLines == 0)
        m_nChainStartId = outcome.created.front();
    const bool closes = m_nChainLines >= 2 && SamePoint(p, m_ptChainStart);
    ++m_nChainLines;
    if (closes) {
        LogDebug("Polyline closed after %i lines.", m_nChainLines);
        EndAction();
    } else {
        ContinueChain(p);
    }
    Render();
}

// The next line starts at last; once two lines stand, a click near the first
// point lands on it exactly and closes the chain.
void CCadDlg::ContinueChain(CGO_Point last)
{
    m_ptFirst = last;
    EnterStep(ACTION_POLYLINE_NEXT, last);
    if (m_nChainLines >= 2)
        m_view.SetClosingPoint(m_ptChainStart, m_nChainStartId);
}

void CCadDlg::MeasurePointSet(CGO_Point p)
{
    if (m_nAction == ACTION_MEASURE_START) {
        LogDebug("Mouse Event: First point to measure from located at (%4.1f, %4.1f).", static_cast<double>(p.x),
                 static_cast<double>(p.y));
        m_ptFirst = p;
        EnterStep(ACTION_MEASURE_END, p);
        return;
    }
    const CGO_Measurement measurement = CGO_Measurement::Between(m_ptFirst, p);
    LogInfo("%s", measurement.LogText(m_ptFirst, p).c_str());
    EndAction();
    SetStatusText(QString::fromStdString(measurement.StatusText()));
    Render();
}

// The right button drops a chain or a measurement altogether; the lines drawn
// so far stay. Every other operation stays chosen, as it always has.
void CCadDlg::OnMouseDropped()
{
    if (IsChainAction(m_nAction) || m_nAction == ACTION_MEASURE_START || m_nAction == ACTION_MEASURE_END) {
        LogDebug("Right button: operation %i ended.", m_nAction);
        EndAction();
        Render();
    }
}

// Enter ends a chain as the right button does. With the mouse waiting for
// nothing, it presses the last operation's button again.
void CCadDlg::OnEnterKey()
{
    if (IsChainAction(m_nAction)) {
        EndAction();
        Render();
        return;
    }
    if (m_view.GetMode() != MODE_IDLE || m_nLastOperation == 0)
        return;
    LogDebug("Enter: the last operation (button %i) once more.", m_nLastOperation);
    StartOperation(m_nLastOperation);
}
