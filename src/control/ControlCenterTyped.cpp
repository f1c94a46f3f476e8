// Coordinates and values typed into "Eingabe": a point goes to the drawing
// window as if clicked there (unsnapped), a plain number is the value the
// step under way wants, and anything else is refused with the text kept.
#include "control/lumen7dlg.h"

#include "control/OperationTable.h"
#include "edit/TypedEntry.h"
#include "log/Logger.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

const char* const TEXT_NOT_UNDERSTOOD =
    "Die Eingabe wurde nicht verstanden. Erwartet: x,y  @dx,dy  @Abstand<Winkel  <Winkel  oder eine Zahl.";
const char* const TEXT_NO_POINT_WANTED = "Im Moment wird kein Punkt und kein Wert erwartet.";
const char* const TEXT_OUT_OF_RANGE = "Der eingegebene Punkt läge außerhalb des darstellbaren Bereichs.";
const char* const TEXT_NO_VALUE_HERE = "Hier wird ein Punkt erwartet, keine einzelne Zahl.";
const char* const TEXT_RADIUS = "Der Radius muss größer als 0 sein.";
const char* const TEXT_ANGLE_ONLY_FOR_LINES = "Ein Winkel mit \"<\" gilt nur für das Ende einer Linie.";
const char* const TEXT_ANGLE_AFTER_BASE =
    "Erst den Basispunkt angeben: danach öffnet sich der Dialog, der Winkel wird dort eingegeben.";
const char* const TEXT_FACTOR_AFTER_BASE =
    "Erst den Basispunkt angeben: danach öffnet sich der Dialog, der Faktor wird dort eingegeben.";

// The steps whose next point ends a line from the anchor.
bool EndsALine(int action) { return action == ACTION_LINE_END || action == ACTION_POLYLINE_NEXT; }

} // namespace

void CCadDlg::ConnectTypedEntry()
{
    auto* field = qobject_cast<QLineEdit*>(m_controls.value(IDC_ENTRY));
    if (field == nullptr)
        return;
    connect(field, &QLineEdit::returnPressed, this, [this, field] {
        // Enter on an empty field is Enter in the drawing window: it ends a
        // chain, or repeats the last operation.
        if (field->text().trimmed().isEmpty()) {
            OnEnterKey();
            return;
        }
        if (OnTypedEntry(field->text()))
            field->clear();
    });
    // What is typed in the drawing window while a point is wanted continues
    // in the field, which takes the keys from then on.
    connect(&m_view, &COpenGLMouse::EntryTyped, this, [this, field](const QString& text) {
        field->insert(text);
        activateWindow();
        field->setFocus();
    });
}

// Escape ends the operation under way, as in the drawing window; only with
// nothing under way does it close the control center.
void CCadDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && m_nAction != ACTION_IDLE) {
        event->accept();
        EndAction();
        Render();
        return;
    }
    // Enter in "Eingabe" is the field's own; no button of the window fires.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == m_controls.value(IDC_ENTRY)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CCadDlg::RefuseTypedEntry(const QString& text, const char* germanReason)
{
    LogWarn("Typed entry '%s' refused.", text.toUtf8().constData());
    SetStatusText(QString::fromUtf8(germanReason));
}

bool CCadDlg::OnTypedEntry(const QString& text)
{
    const CTypedEntry entry = ParseTypedEntry(text.toUtf8().toStdString());
    if (entry.kind == ENTRY_REFUSED) {
        RefuseTypedEntry(text, TEXT_NOT_UNDERSTOOD);
        return false;
    }
    if (entry.kind == ENTRY_VALUE && StepTakesValue(m_nAction))
        return TakeOffsetDistance(entry.first, text);
    // A paste, a drag or a pick waits for the mouse; nothing typed applies.
    if (m_view.GetMode() != MODE_POINT) {
        RefuseTypedEntry(text, TEXT_NO_POINT_WANTED);
        return false;
    }
    if (entry.kind == ENTRY_VALUE)
        return TakeTypedValue(entry.first, text);
    if (entry.kind == ENTRY_ANGLE) {
        if (!EndsALine(m_nAction)) {
            RefuseTypedEntry(text, TEXT_ANGLE_ONLY_FOR_LINES);
            return false;
        }
        m_bTypedAngle = true;
        m_dTypedAngle = entry.first;
        m_view.FixBandAngle(entry.first);
        LogDebug("Typed angle for the line's end: %g degrees.", entry.first);
        return true;
    }
    const CGO_Point last = m_view.GetPoint();
    const CTypedPoint point = ResolveTypedPoint(entry, last.GetX(), last.GetY());
    if (!point.valid) {
        RefuseTypedEntry(text, TEXT_OUT_OF_RANGE);
        return false;
    }
    m_bTypedAngle = false;
    return m_view.TakeTypedPoint(CGO_Point(static_cast<float>(point.x), static_cast<float>(point.y)));
}

// A plain number: the circle's radius, or the length of the line's band
// (along a typed angle, or towards the cursor), also in a chain.
bool CCadDlg::TakeTypedValue(double value, const QString& text)
{
    const CGO_Point from = m_view.GetAnchor();
    CTypedPoint point;
    if (m_nAction == ACTION_CIRCLE_POINT) {
        if (!(value > 0)) {
            RefuseTypedEntry(text, TEXT_RADIUS);
            return false;
        }
        point = PointAtAngle(from.GetX(), from.GetY(), value, 0);
    } else if (EndsALine(m_nAction)) {
        const CGO_Point toward = m_view.GetCursorPoint();
        point = m_bTypedAngle ? PointAtAngle(from.GetX(), from.GetY(), value, m_dTypedAngle)
                              : PointAlong(from.GetX(), from.GetY(), toward.GetX(), toward.GetY(), value);
    } else {
        // The angle or factor goes into the dialog that the base point opens,
        // with the cursor already in its field.
        const bool rotate = m_nAction == ACTION_ROTATE_BASE;
        const bool scale = m_nAction == ACTION_SCALE_BASE;
        RefuseTypedEntry(text, rotate ? TEXT_ANGLE_AFTER_BASE : scale ? TEXT_FACTOR_AFTER_BASE : TEXT_NO_VALUE_HERE);
        return false;
    }
    if (!point.valid) {
        RefuseTypedEntry(text, TEXT_OUT_OF_RANGE);
        return false;
    }
    m_bTypedAngle = false;
    return m_view.TakeTypedPoint(CGO_Point(static_cast<float>(point.x), static_cast<float>(point.y)));
}
