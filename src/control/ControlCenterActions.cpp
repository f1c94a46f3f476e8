// The control center's actions: the operation buttons start one, and every
// result the drawing window reports (a pick, a point, a drag, the menu click)
// advances it, down to the change of the drawing or the operation's dialog.
#include "control/lumen7dlg.h"

#include "database/GO_Database.h"
#include "dialogs/DialogResult.h"
#include "dialogs/DialogRunner.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"

namespace {

// The status texts; each hint ends in how to open the action's dialog instead.
const char* const TEXT_LINE_STARTED = "Aktion: 1. Punkt wählen | Menü: mittlere Maustaste";
const char* const TEXT_SECOND_POINT = "Aktion: 2. Punkt wählen | Menü: mittlere Maustaste";
const char* const TEXT_CIRCLE_STARTED = "Aktion: Mittelpunkt wählen | Menü: mittlere Maustaste";
const char* const TEXT_CIRCLE_RADIUS = "Aktion: Radius wählen | Menü: mittlere Maustaste";
const char* const TEXT_SELECT_OBJECT = "Aktion: Objekt auswählen | Menü: mittlere Maustaste";
const char* const TEXT_DRAG = "Aktion: Verschieben bei gedrückter Maustaste | Menü: mittlere Maustaste";
const char* const TEXT_BASE_POINT = "Aktion: Basispunkt lokalisieren | Menü: mittlere Maustaste";
const char* const TEXT_FLIP_LINE = "Aktion: Spiegelgerade zeichnen | Menü: mittlere Maustaste";
const char* const TEXT_ENTER_DATA = "Bitte geben Sie die gewünschten Daten ein.";

// The runner answers 0 when the action has no dialog; only a dialog that was
// not cancelled may have changed the drawing.
bool DialogChangedDrawing(int result)
{
    return result != 0 && result != RESULT_CANCEL;
}

} // namespace

// ---------------------------------------------------------------------------
// The seven operation buttons start an action; whatever was under way is
// dropped as it stands.

void CCadDlg::StartAction(int action, int mode, const char* text)
{
    m_nAction = action;
    m_view.SetMode(mode);
    SetStatusText(QString::fromUtf8(text));
}

void CCadDlg::OnDrawLine()
{
    StartAction(ACTION_LINE_START, MODE_POINT, TEXT_LINE_STARTED);
}

void CCadDlg::OnDrawCircle()
{
    StartAction(ACTION_CIRCLE_CENTER, MODE_POINT, TEXT_CIRCLE_STARTED);
}

void CCadDlg::OnDeleteObject()
{
    StartAction(ACTION_DELETE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnMoveObject()
{
    StartAction(ACTION_MOVE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnRotateObject()
{
    StartAction(ACTION_ROTATE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnScaleObject()
{
    StartAction(ACTION_SCALE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnFlipObject()
{
    StartAction(ACTION_FLIP_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::EndAction()
{
    m_nAction = ACTION_IDLE;
    m_view.SetMode(MODE_IDLE);
    SetStatusText(m_szIdle);
}

// ---------------------------------------------------------------------------
// Results from the drawing window

long CCadDlg::OnObjectPicked(std::uintptr_t, std::intptr_t)
{
    const int id = m_view.GetPickedId();
    LogDebug("Object #%i picked!", id);
    switch (m_nAction) {
    case ACTION_DELETE_PICK:
        GetDatabase()->RemoveById(id);
        EndAction();
        break;
    case ACTION_MOVE_PICK:
        SetStatusText(QString::fromUtf8(TEXT_DRAG));
        m_view.SetMode(MODE_DRAG);
        m_nAction = ACTION_MOVE_DRAG;
        break;
    case ACTION_ROTATE_PICK:
        SetStatusText(QString::fromUtf8(TEXT_BASE_POINT));
        m_view.SetMode(MODE_POINT);
        m_nAction = ACTION_ROTATE_BASE;
        break;
    case ACTION_SCALE_PICK:
        SetStatusText(QString::fromUtf8(TEXT_BASE_POINT));
        m_view.SetMode(MODE_POINT);
        m_nAction = ACTION_SCALE_BASE;
        break;
    case ACTION_FLIP_PICK:
        SetStatusText(QString::fromUtf8(TEXT_FLIP_LINE));
        m_view.SetMode(MODE_POINT);
        m_nAction = ACTION_FLIP_START;
        break;
    default:
        break;
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
        m_nAction = ACTION_LINE_END;
        m_view.SetMode(MODE_POINT, p, BAND_LINE);
        SetStatusText(QString::fromUtf8(TEXT_SECOND_POINT));
        break;
    case ACTION_LINE_END: {
        LogDebug("Mouse Event: Line end point located at (%4.1f, %4.1f). Drawing line...", x, y);
        EndAction();
        auto* line = new CGO_Line();
        line->SetPoints(m_ptFirst, p);
        line->GenerateDisplayList();
        GetDatabase()->Add(line);
        Render();
        break;
    }
    case ACTION_CIRCLE_CENTER:
        LogDebug("Mouse Event: Circle center located at (%4.1f, %4.1f).", x, y);
        m_ptFirst = p;
        m_nAction = ACTION_CIRCLE_POINT;
        m_view.SetMode(MODE_POINT, p, BAND_LINE);
        m_view.SetPreview(PREVIEW_CIRCLE);
        SetStatusText(QString::fromUtf8(TEXT_CIRCLE_RADIUS));
        break;
    case ACTION_CIRCLE_POINT: {
        LogDebug("Mouse Event: Circle peripheral point located at (%4.1f, %4.1f). Drawing circle...", x, y);
        EndAction();
        auto* circle = new CGO_Circle();
        circle->SetCenterAndPoint(m_ptFirst, p);
        circle->GenerateDisplayList();
        GetDatabase()->Add(circle);
        Render();
        break;
    }
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
        m_view.SetMode(MODE_POINT, p, BAND_LINE);
        m_view.SetPreview(PREVIEW_MIRROR);
        m_nAction = ACTION_FLIP_END;
        SetStatusText(QString::fromUtf8(TEXT_SECOND_POINT));
        break;
    case ACTION_FLIP_END: {
        LogDebug("Mouse Event: End point for flip straight set: (%4.1f, %4.1f). Flipping...", x, y);
        // A missing object (its id was logged by the look-up) leaves the
        // drawing as it is; the action ends all the same.
        CGO_GeoObject* object = GetDatabase()->Find(m_view.GetPickedId());
        if (object != nullptr) {
            object->FlipOnStraight(m_ptFirst, p);
            // A refused mirror (it was logged) leaves the object as it was.
            if (!object->LastTransformRefused())
                object->GenerateDisplayList();
        }
        EndAction();
        Render();
        break;
    }
    default:
        ShowIllegalOperation();
        break;
    }
    return 0;
}

// The base point of a rotation or scaling is in; the dialog reads it and the
// picked object from the drawing window and asks for the angle or factor.
void CCadDlg::RunBaseDialog(int dialogAction)
{
    m_nAction = dialogAction;
    SetStatusText(QString::fromUtf8(TEXT_ENTER_DATA));
    if (DialogChangedDrawing(RunActionDialog(dialogAction)))
        Render();
    m_nAction = ACTION_IDLE;
    SetStatusText(m_szIdle);
}

void CCadDlg::ShowIllegalOperation()
{
    ShowError(QStringLiteral("Illegal operation!"));
    EndAction();
}

long CCadDlg::OnDragDone(std::uintptr_t, std::intptr_t)
{
    const int id = m_view.GetPickedId();
    CGO_GeoObject* object = GetDatabase()->Find(id);
    const CGO_Vector v = m_view.GetVector();

    if (object == nullptr) {
        // Nothing left to move; the look-up has logged the missing id.
        EndAction();
        Render();
        return 0;
    }
    if (v.Length() == 0.0f) {
        // A click without movement: the move is still wanted, so the drawing
        // window must wait for a drag again rather than stay idle.
        m_view.SetMode(MODE_DRAG);
        return 0;
    }
    if (m_nAction == ACTION_MOVE_DRAG) {
        LogDebug("Mouse Event: Moving picked object #%i by vector (%4.1f, %4.1f).", id,
                 static_cast<double>(v.GetX()), static_cast<double>(v.GetY()));
        object->Move(v);
    }
    EndAction();
    if (!object->LastTransformRefused())
        object->GenerateDisplayList();
    Render();
    return 0;
}

long CCadDlg::OnMenuClick(std::uintptr_t, std::intptr_t)
{
    SetStatusText(QString::fromUtf8(TEXT_ENTER_DATA));
    if (DialogChangedDrawing(RunActionDialog(m_nAction)))
        Render();
    m_nAction = ACTION_IDLE;
    SetStatusText(m_szIdle);
    return 0;
}
