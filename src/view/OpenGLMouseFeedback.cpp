// The feedback of the drawing window's mouse layer: what is drawn over the
// last scene for the cursor (hover highlight, band, previews, snap marker),
// the point a click gives with snapping and Shift, and the cursor's text for
// the status bar.
#include "view/OpenGLMouse.h"

#include "edit/TypedEntry.h"
#include "log/Logger.h"
#include "snap/SnapGeometry.h"
#include "view/scene/FeedbackPainter.h"
#include "view/scene/Graphics.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

double DegreesTowards(CGO_Point center, CGO_Point point)
{
    return std::atan2(static_cast<double>(point.y) - center.y, static_cast<double>(point.x) - center.x) * 180.0 /
           M_PI;
}

// The arc about center from start, counter-clockwise to the direction of end.
CGO_Primitive ArcThrough(CGO_Point center, CGO_Point start, CGO_Point end)
{
    const double radius = std::hypot(static_cast<double>(start.x) - center.x, static_cast<double>(start.y) - center.y);
    const double from = DegreesTowards(center, start);
    double sweep = std::fmod(DegreesTowards(center, end) - from, 360.0);
    if (sweep <= 0.0)
        sweep += 360.0;
    return CGO_Primitive::Arc(center, static_cast<float>(radius), static_cast<float>(from), static_cast<float>(sweep));
}

} // namespace

void COpenGLMouse::DrawBand(int shape)
{
    if (shape != BAND_LINE)
        return;
    glColor3f(0.0f, 0.0f, 1.0f);
    feedback::DrawSegment(m_ptBandFrom, m_ptBandTo);
    glFlush();
}

void COpenGLMouse::DrawPreview(CGO_Point cursor)
{
    glColor3f(0.0f, 0.0f, 1.0f);
    if (!m_groupLists.empty() || m_nPreview == PREVIEW_PASTE) {
        DrawGroupPreview(cursor);
    } else if (m_nMode == MODE_DRAG) {
        feedback::DrawListMoved(m_nPicked, CGO_Vector(cursor.x - m_ptDown.x, cursor.y - m_ptDown.y));
    } else if (m_nPreview == PREVIEW_CIRCLE) {
        const double radius = std::hypot(static_cast<double>(cursor.x) - m_ptAnchor.x,
                                         static_cast<double>(cursor.y) - m_ptAnchor.y);
        feedback::DrawPrimitive(CGO_Primitive::Circle(m_ptAnchor, static_cast<float>(radius)));
    } else if (m_nPreview == PREVIEW_ARC) {
        feedback::DrawPrimitive(ArcThrough(m_ptAnchor, m_ptArcStart, cursor));
    } else if (m_nPreview == PREVIEW_MIRROR) {
        feedback::DrawListMirrored(m_nPicked, m_ptAnchor, cursor);
    }
    glFlush();
}

void COpenGLMouse::EraseFeedback()
{
    // Putting the last scene back removes the feedback without a trace,
    // whatever lay under it.
    RestoreScene();
}

void COpenGLMouse::SetSnapKinds(unsigned kinds)
{
    m_probe.SetSnapKinds(kinds);
}

CGO_Point COpenGLMouse::ProbePoint(int x, int y, bool dragEnd, CSnapResult& snap)
{
    const CPixelMapping mapping = PixelMapping();
    const CGO_Point raw = mapping.PixelCorner(x, y);
    // The object being dragged offers nothing to drop it on.
    CGO_Point point = m_probe.Snap(raw, mapping, dragEnd ? GetPickedId() : -1, snap);
    const bool secondPointOfALine = m_nMode == MODE_POINT && m_nBand == BAND_LINE && m_nPreview != PREVIEW_CIRCLE &&
                                    m_nPreview != PREVIEW_ARC;
    if (m_bClosingPoint && !dragEnd && SnapToClosingPoint(raw, mapping, snap))
        point = m_ptClosing;
    if (m_bFixedAngle && secondPointOfALine) {
        const CTypedPoint foot = PointProjected(m_ptAnchor.x, m_ptAnchor.y, point.x, point.y, m_dFixedAngle);
        if (foot.valid)
            point = CGO_Point(static_cast<float>(foot.x), static_cast<float>(foot.y));
    } else if (m_bShiftDown && secondPointOfALine) {
        point = snapgeo::ProjectOrthogonal(m_ptAnchor, point, mapping.WorldPerPixelX(), mapping.WorldPerPixelY());
    }
    return point;
}

bool COpenGLMouse::SnapToClosingPoint(CGO_Point raw, const CPixelMapping& mapping, CSnapResult& snap)
{
    const double pixels = std::hypot((static_cast<double>(raw.x) - m_ptClosing.x) / mapping.WorldPerPixelX(),
                                     (static_cast<double>(raw.y) - m_ptClosing.y) / mapping.WorldPerPixelY());
    if (pixels > kSnapTolerancePixels || (snap.IsSnapped() && snap.m_dDistancePixels < pixels))
        return false;
    snap = CSnapResult();
    snap.m_nKind = SNAP_ENDPOINT;
    snap.m_pt = m_ptClosing;
    snap.m_nId = m_nClosingId;
    snap.m_dDistancePixels = pixels;
    return true;
}

void COpenGLMouse::FixBandAngle(double degrees)
{
    m_bFixedAngle = true;
    m_dFixedAngle = degrees;
    if (m_bCursorInside)
        ShowFeedbackAgain();
}

void COpenGLMouse::SetClosingPoint(CGO_Point point, int id)
{
    m_bClosingPoint = true;
    m_ptClosing = point;
    m_nClosingId = id;
}

CGO_Point COpenGLMouse::ClickPoint(int x, int y, bool dragEnd)
{
    CSnapResult snap;
    CGO_Point point = ProbePoint(x, y, dragEnd, snap);
    // A grid line at 0 may give -0, which would be stored and shown as such.
    point.Set(point.x == 0 ? 0.0f : point.x, point.y == 0 ? 0.0f : point.y);
    if (snap.IsSnapped())
        LogDebug("Snapped to %s at (%4.1f, %4.1f).", SnapKindName(snap.m_nKind), snap.m_pt.x, snap.m_pt.y);
    return point;
}

void COpenGLMouse::ShowFeedbackAt(bool leftDown, int x, int y)
{
    if (m_bBandShown || m_bMarksShown)
        EraseFeedback();
    m_bMarksShown = false;
    const bool showBand =
        (m_nBand != BAND_NONE || m_nPreview == PREVIEW_PASTE) && m_nMode == MODE_POINT && !leftDown;
    const bool dragging = leftDown && m_nMode == MODE_DRAG;
    if (!showBand && !dragging)
        m_bBandShown = false;

    m_hover = m_bCursorInside ? m_probe.Hover(x, y, PixelMapping()) : hittest::CHit();
    if (m_nMode == MODE_PICK && m_hover.IsHit()) {
        glColor3f(0.0f, 0.0f, 1.0f);
        feedback::DrawList(m_hover.m_pObject->GetDisplayList());
        m_bMarksShown = true;
    }
    CSnapResult snap;
    CGO_Point point;
    if (m_nMode == MODE_POINT || m_nMode == MODE_DRAG) {
        point = ProbePoint(x, y, dragging, snap);
    } else {
        WindowToWorld(x, y, &point);
    }
    if (showBand || dragging) {
        m_ptCurrent = point;
        m_ptBandFrom = showBand ? m_ptAnchor : m_ptDown;
        m_ptBandTo = m_ptCurrent;
        DrawBand(showBand ? m_nBand : BAND_LINE);
        DrawPreview(m_ptCurrent);
        m_bBandShown = true;
    }
    if (snap.IsSnapped() && m_bCursorInside) {
        DrawSnapMarker(snap);
        m_bMarksShown = true;
    }
    if (m_bCursorInside)
        ReportCursor(point, snap);
}

void COpenGLMouse::ShowFeedbackAgain()
{
    if (!MakeCurrent())
        return;
    ShowFeedbackAt(m_bLastLeftDown, m_ptLastPixel.x(), m_ptLastPixel.y());
    Present();
}

void COpenGLMouse::DrawSnapMarker(const CSnapResult& snap)
{
    // Five logical pixels each way, whatever the zoom and ratio.
    const CPixelMapping mapping = PixelMapping();
    glColor3f(0.0f, 0.0f, 1.0f);
    feedback::DrawSnapMarker(snap.m_nKind, snap.m_pt, 5.0 * mapping.WorldPerPixelX(), 5.0 * mapping.WorldPerPixelY());
    glFlush();
}

void COpenGLMouse::ReportCursor(CGO_Point point, const CSnapResult& snap)
{
    QString text = QString::fromStdString(CCursorProbe::StatusText(point, snap, m_hover));
    // The band's length and direction, or the drag's offset, from where it started.
    if (m_nMode == MODE_POINT && m_nBand != BAND_NONE) {
        const double dx = double(point.x) - m_ptAnchor.x;
        const double dy = double(point.y) - m_ptAnchor.y;
        double angle = std::atan2(dy, dx) * 180.0 / M_PI;
        if (angle < 0)
            angle += 360.0;
        text += QString::fromUtf8("  Länge: %1  Winkel: %2°")
                    .arg(std::hypot(dx, dy), 0, 'f', 2)
                    .arg(angle, 0, 'f', 1);
    } else if (m_nMode == MODE_DRAG && m_bLastLeftDown) {
        text += QString::fromUtf8("  Versatz: %1, %2")
                    .arg(double(point.x) - m_ptDown.x, 0, 'f', 2)
                    .arg(double(point.y) - m_ptDown.y, 0, 'f', 2);
    }
    emit CursorTextChanged(text);
}

void COpenGLMouse::AfterPaintRender()
{
    // After a zoom or pan the feedback follows the cursor, which stood still
    // while the drawing moved under it. The scene under it is new.
    if (!m_bFeedbackAfterPaint)
        return;
    m_bFeedbackAfterPaint = false;
    if (m_bCursorInside) {
        m_bBandShown = false;
        m_bMarksShown = false;
        ShowFeedbackAt(m_bLastLeftDown, m_ptLastPixel.x(), m_ptLastPixel.y());
    }
}
