// The control center's actions: the operation buttons start one, and every
// result the drawing window reports (a pick, a point, a drag, the menu click)
// advances it, down to the edit layer's change of the drawing or the
// operation's dialog. What each step shows is in the operation table.
#include "control/lumen7dlg.h"

#include "control/OperationTable.h"
#include "dialogs/DialogResult.h"
#include "log/Logger.h"

#include <cmath>

namespace {

const char* const TEXT_NOT_CREATED =
    "Das Objekt wurde nicht erstellt: seine Koordinaten oder sein Radius wären keine endlichen Zahlen.";

// The runner answers 0 when the action has no dialog; only a dialog that was
// not cancelled may have changed the drawing.
bool DialogChangedDrawing(int result)
{
    return result != 0 && result != RESULT_CANCEL;
}

// The mouse has always built a new object's display list before handing the
// object to the drawing, which builds it again.
void CompileAhead(CGO_GeoObject& object)
{
    object.GenerateDisplayList();
}

} // namespace

// ---------------------------------------------------------------------------
// The seven operation buttons start an action; whatever was under way is
// dropped as it stands.

void CCadDlg::StartOperation(int button)
{
    m_nLastOperation = button;
    if (StartGroupOperation(button)) {
        m_view.requestActivate();
        return;
    }
    const COperation* operation = OperationOfButton(button);
    if (operation == nullptr)
        return;
    EnterStep(operation->firstAction);
    // The drawing window's keys work at once: typing a point, Escape.
    m_view.requestActivate();
}

void CCadDlg::OnDrawLine() { StartOperation(IDC_DRAW_LINE); }
void CCadDlg::OnDrawCircle() { StartOperation(IDC_DRAW_CIRCLE); }
void CCadDlg::OnDeleteObject() { StartOperation(IDC_DELETE_OBJECT); }
void CCadDlg::OnMoveObject() { StartOperation(IDC_MOVE_OBJECT); }
void CCadDlg::OnRotateObject() { StartOperation(IDC_ROTATE_OBJECT); }
void CCadDlg::OnScaleObject() { StartOperation(IDC_SCALE_OBJECT); }
void CCadDlg::OnFlipObject() { StartOperation(IDC_FLIP_OBJECT); }

void CCadDlg::EnterStep(int action, CGO_Point anchor)
{
    const COperationStep* step = StepOfAction(action);
    if (step == nullptr) {
        EndAction();
        return;
    }
    m_nAction = action;
    m_bTypedAngle = false;
    if (step->band) {
        m_view.SetMode(step->mode, anchor, BAND_LINE);
        m_view.SetPreview(step->preview);
    } else {
        m_view.SetMode(step->mode);
    }
    m_view.SetValueWanted(step->takesValue);
    ShowGroupLists();
    SetStatusText(QString::fromUtf8(step->statusText));
}

void CCadDlg::EndAction()
{
    m_nAction = ACTION_IDLE;
    m_groupIds.clear();
    m_view.SetMode(MODE_IDLE);
    m_view.SetWorkedOnId(-1);
    SetStatusText(IdleText());
}

// ---------------------------------------------------------------------------
// Results from the drawing window

long CCadDlg::OnObjectPicked(std::uintptr_t, std::intptr_t)
{
    const int id = m_view.GetPickedId();
    LogDebug("Object #%i picked!", id);
    if (ModifyObjectPicked(id)) {
        Render();
        return 0;
    }
    const COperation* operation = OperationOfAction(m_nAction);
    if (m_nAction == ACTION_DELETE_PICK) {
        m_editor.Delete({id});
        EndAction();
    } else if (operation != nullptr && operation->needsPick && m_nAction == operation->firstAction) {
        // The pick is kept by the drawing window; the step after it waits.
        EnterStep(m_nAction + 1);
    }
    Render();
    return 0;
}

long CCadDlg::OnPointSet(std::uintptr_t, std::intptr_t)
{
    const CGO_Point p = m_view.GetPoint();
    const double x = p.GetX();
    const double y = p.GetY();
    switch (m_nAction) {
    case ACTION_LINE_START:
        LogDebug("Mouse Event: Line start point located at (%4.1f, %4.1f).", x, y);
        m_ptFirst = p;
        EnterStep(ACTION_LINE_END, p);
        break;
    case ACTION_LINE_END:
        LogDebug("Mouse Event: Line end point located at (%4.1f, %4.1f). Drawing line...", x, y);
        EndAction();
        ReportCreation(m_editor.CreateLine(m_ptFirst, p, CompileAhead));
        Render();
        break;
    case ACTION_CIRCLE_CENTER:
        LogDebug("Mouse Event: Circle center located at (%4.1f, %4.1f).", x, y);
        m_ptFirst = p;
        EnterStep(ACTION_CIRCLE_POINT, p);
        break;
    case ACTION_CIRCLE_POINT:
        LogDebug("Mouse Event: Circle peripheral point located at (%4.1f, %4.1f). Drawing circle...", x, y);
        EndAction();
        ReportCreation(m_editor.CreateCircle(m_ptFirst, p, CompileAhead));
        Render();
        break;
    case ACTION_ARC_CENTER:
    case ACTION_ARC_START:
    case ACTION_ARC_END:
        ArcPointSet(p);
        break;
    case ACTION_ROTATE_BASE:
        LogDebug("Mouse Event: Base point for rotation located at (%4.1f, %4.1f).", x, y);
        RunBaseDialog(ACTION_ROTATE_DIALOG);
        break;
    case ACTION_SCALE_BASE:
        LogDebug("Mouse Event: Base point for scaling located at (%4.1f, %4.1f).", x, y);
        RunBaseDialog(ACTION_SCALE_DIALOG);
        break;
    case ACTION_FLIP_START:
        LogDebug("Mouse Event: Start point for flip straight located at (%4.1f, %4.1f).", x, y);
        m_ptFirst = p;
        EnterStep(ACTION_FLIP_END, p);
        break;
    case ACTION_FLIP_END:
        LogDebug("Mouse Event: End point for flip straight set: (%4.1f, %4.1f). Flipping...", x, y);
        // A missing object (the look-up logs its id) or a refused mirror
        // leaves the drawing as it is; the action ends all the same.
    {
        const bool group = !m_groupIds.empty();
        const CEditOutcome outcome = m_editor.Transform(ActionTargets(), CTransform::FlipOnStraight(m_ptFirst, p));
        EndAction();
        if (group)
            ReportGroupRefusal(outcome);
        Render();
        break;
    }
    case ACTION_PASTE_PLACE:
        PlacePaste(p);
        break;
    case ACTION_POLYLINE_START:
    case ACTION_POLYLINE_NEXT:
        ChainPointSet(p);
        break;
    case ACTION_MEASURE_START:
    case ACTION_MEASURE_END:
        MeasurePointSet(p);
        break;
    case ACTION_OFFSET_THROUGH:
    case ACTION_OFFSET_SIDE:
        OffsetPointSet(p);
        break;
    default:
        ShowIllegalOperation();
        break;
    }
    return 0;
}

// Centre, start point (the radius and the start angle), then a point in the
// direction of the end angle.
void CCadDlg::ArcPointSet(CGO_Point p)
{
    LogDebug("Mouse Event: Arc point %i located at (%4.1f, %4.1f).", m_nAction - ACTION_ARC_CENTER + 1,
             static_cast<double>(p.GetX()), static_cast<double>(p.GetY()));
    if (m_nAction == ACTION_ARC_CENTER) {
        m_ptFirst = p;
        EnterStep(ACTION_ARC_START, p);
    } else if (m_nAction == ACTION_ARC_START) {
        m_ptArcStart = p;
        EnterStep(ACTION_ARC_END, m_ptFirst);
        m_view.SetArcStart(p);
    } else {
        const double dx = static_cast<double>(m_ptArcStart.x) - m_ptFirst.x;
        const double dy = static_cast<double>(m_ptArcStart.y) - m_ptFirst.y;
        const double start = std::atan2(dy, dx) * 180.0 / M_PI;
        const double end = std::atan2(static_cast<double>(p.y) - m_ptFirst.y, static_cast<double>(p.x) - m_ptFirst.x) *
                           180.0 / M_PI;
        EndAction();
        ReportCreation(m_editor.CreateArc(m_ptFirst, static_cast<float>(std::hypot(dx, dy)), static_cast<float>(start),
                                          static_cast<float>(end), CompileAhead));
        Render();
    }
}

void CCadDlg::ReportCreation(const CEditOutcome& outcome)
{
    if (outcome.refused > 0)
        SetStatusText(QString::fromUtf8(TEXT_NOT_CREATED));
}

// The base point of a rotation or scaling is in; the dialog reads it and the
// picked object from the drawing window and asks for the angle or factor.
void CCadDlg::RunBaseDialog(int dialogAction)
{
    EnterStep(dialogAction);
    const int result = RunActionDialog(dialogAction, *this);
    m_groupIds.clear();
    m_view.SetWorkedOnId(-1);
    if (DialogChangedDrawing(result))
        Render();
    m_nAction = ACTION_IDLE;
    SetStatusText(IdleText());
}

void CCadDlg::ShowIllegalOperation()
{
    ShowError(QStringLiteral("Illegal operation!"));
    EndAction();
}

long CCadDlg::OnDragDone(std::uintptr_t, std::intptr_t)
{
    const std::vector<int> ids = ActionTargets();
    const bool group = !m_groupIds.empty();
    const CGO_Vector v = m_view.GetVector();
    bool clickOnly = false;
    const CEditOutcome outcome = m_editor.Transform(ids, CTransform::Move(v), [&] {
        // A click without movement: the move is still wanted.
        clickOnly = v.Length() == 0.0f;
        if (!clickOnly && m_nAction == ACTION_MOVE_DRAG) {
            for (int id : ids)
                LogDebug("Mouse Event: Moving picked object #%i by vector (%4.1f, %4.1f).", id,
                         static_cast<double>(v.GetX()), static_cast<double>(v.GetY()));
        }
        return !clickOnly && m_nAction == ACTION_MOVE_DRAG;
    });
    if (clickOnly) {
        // The drawing window must wait for a drag again rather than stay idle.
        m_view.SetMode(MODE_DRAG);
        ShowGroupLists();
        return 0;
    }
    // Moved, refused (logged), or nothing left to move (the look-up logged
    // the missing id).
    EndAction();
    if (group)
        ReportGroupRefusal(outcome);
    Render();
    return 0;
}

long CCadDlg::OnMenuClick(std::uintptr_t, std::intptr_t)
{
    SetStatusText(QString::fromUtf8("Bitte geben Sie die gewünschten Daten ein."));
    const int result = RunActionDialog(m_nAction, *this);
    m_groupIds.clear();
    m_view.SetWorkedOnId(-1);
    if (DialogChangedDrawing(result))
        Render();
    m_nAction = ACTION_IDLE;
    SetStatusText(IdleText());
    return 0;
}
