// "Stutzen" and "Versetzen" with the mouse. Both stay chosen for the next
// object until Escape, as in other drawing programs.
//
// Stutzen: every click on a piece of a line, circle or arc cuts that piece
// away, between the nearest crossings with other objects on either side of
// the click.
//
// Versetzen: without a distance, the object picked is copied through the
// point clicked next. A plain number typed into "Eingabe" at any step sets
// the distance; from then on the object picked is copied that far away on
// the side clicked next, and the distance stays for the next object.
#include "control/lumen7dlg.h"

#include "log/Logger.h"

namespace {

const char* const TEXT_CROSSES_NOTHING =
    "Das Objekt schneidet kein anderes und bleibt, wie es ist. Nächstes Stück anklicken | Ende: Esc";
const char* const TEXT_RADIUS_NOT_POSITIVE = "Nicht versetzt: der Radius der Kopie wäre 0 oder kleiner.";
const char* const TEXT_THROUGH_THE_OBJECT = "Nicht versetzt: der Punkt liegt auf dem Objekt.";
const char* const TEXT_NOT_FINITE =
    "Nicht versetzt: die Linie hat keine Länge, oder die Kopie hätte keine endlichen Koordinaten.";
const char* const TEXT_DISTANCE = "Der Abstand muss größer als 0 sein.";

QString RefusalText(const CEditOutcome& outcome)
{
    if (outcome.reason == OFFSET_RADIUS_NOT_POSITIVE)
        return QString::fromUtf8(TEXT_RADIUS_NOT_POSITIVE);
    if (outcome.reason == OFFSET_THROUGH_THE_OBJECT)
        return QString::fromUtf8(TEXT_THROUGH_THE_OBJECT);
    return QString::fromUtf8(TEXT_NOT_FINITE);
}

// The status of a step of "Versetzen" with the distance it uses.
QString WithDistance(const QString& status, double distance)
{
    return status + QString::fromUtf8(" | Abstand: %1").arg(distance);
}

} // namespace

bool CCadDlg::ModifyObjectPicked(int id)
{
    switch (m_nAction) {
    case ACTION_TRIM_PICK:
    case ACTION_TRIM_NEXT: {
        const CGO_Point at = m_view.GetPickPoint();
        LogDebug("Mouse Event: Trimming object #%i at (%4.1f, %4.1f).", id, static_cast<double>(at.GetX()),
                 static_cast<double>(at.GetY()));
        const CEditOutcome outcome = m_editor.Trim(id, at);
        if (!outcome.created.empty()) {
            EnterStep(ACTION_TRIM_NEXT);
        } else {
            EnterStep(m_nAction);
            SetStatusText(QString::fromUtf8(TEXT_CROSSES_NOTHING));
        }
        return true;
    }
    case ACTION_OFFSET_PICK_THROUGH:
        EnterStep(ACTION_OFFSET_THROUGH);
        return true;
    case ACTION_OFFSET_PICK:
        EnterStep(ACTION_OFFSET_SIDE);
        SetStatusText(WithDistance(GetStatusText(), m_dOffsetDistance));
        return true;
    default:
        return false;
    }
}

void CCadDlg::OffsetPointSet(CGO_Point p)
{
    const int id = m_view.GetPickedId();
    const bool through = m_nAction == ACTION_OFFSET_THROUGH;
    LogDebug("Mouse Event: Offset %s point located at (%4.1f, %4.1f).", through ? "through" : "side",
             static_cast<double>(p.GetX()), static_cast<double>(p.GetY()));
    const CEditOutcome outcome =
        through ? m_editor.OffsetThrough(id, p) : m_editor.Offset(id, static_cast<float>(m_dOffsetDistance), p);
    EnterStep(through ? ACTION_OFFSET_PICK_THROUGH : ACTION_OFFSET_PICK);
    if (outcome.refused > 0)
        SetStatusText(RefusalText(outcome));
    else if (!through)
        SetStatusText(WithDistance(GetStatusText(), m_dOffsetDistance));
    Render();
}

// A plain number typed at any step of "Versetzen" is the distance; after a
// pick, the side is what is wanted next.
bool CCadDlg::TakeOffsetDistance(double distance, const QString& text)
{
    if (!(distance > 0)) {
        RefuseTypedEntry(text, TEXT_DISTANCE);
        return false;
    }
    m_dOffsetDistance = distance;
    LogDebug("Offset distance set to %g.", distance);
    if (m_nAction == ACTION_OFFSET_PICK_THROUGH)
        EnterStep(ACTION_OFFSET_PICK);
    else if (m_nAction == ACTION_OFFSET_THROUGH)
        EnterStep(ACTION_OFFSET_SIDE);
    SetStatusText(WithDistance(GetStatusText(), distance));
    return true;
}
