// The mouse layer: turns presses, moves and releases into a picked object, a
// world point or a drag vector, draws the feedback over the last scene, and
// reports each result to the receiver.
#include "view/OpenGLMouse.h"

#include "log/CFormat.h"
#include "log/Logger.h"
#include "snap/SnapGeometry.h"
#include "view/CadMessages.h"
#include "view/CommandKeys.h"
#include "view/FeedbackPainter.h"
#include "view/Graphics.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

// Side of the square pick region around the cursor, in logical pixels.
constexpr double kPickSize = 5.0;

QPoint LogicalPixel(const QMouseEvent* event)
{
    const QPointF position = event->position();
    return QPoint(static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y())));
}

} // namespace

COpenGLMouse::COpenGLMouse() = default;

bool COpenGLMouse::Create(const char* title, int left, int top, int right, int bottom)
{
    if (!COpenGL::Create(title, left, top, right, bottom))
        return false;
    m_nPicked = 0;
    m_nBand = BAND_NONE;
    m_nMode = MODE_IDLE;
    m_ptPoint = CGO_Point();
    m_vDrag = CGO_Vector();
    m_ptDown = CGO_Point();
    m_ptCurrent = CGO_Point();
    UpdateCursor();
    return true;
}

void COpenGLMouse::SetMode(int mode)
{
    m_nMode = mode;
    m_ptAnchor = CGO_Point();
    m_nBand = BAND_NONE;
    m_nPreview = PREVIEW_NONE;
    // A new pick forgets the old one, and a release that had no press in
    // this pick cannot confirm an earlier hit.
    if (mode == MODE_PICK) {
        m_nPicked = 0;
        m_nCandidate = 0;
    }
    UpdateCursor();
}

void COpenGLMouse::SetMode(int mode, CGO_Point anchor, int band)
{
    m_nMode = mode;
    m_ptAnchor = anchor;
    m_nBand = band;
    m_nPreview = PREVIEW_NONE;
    UpdateCursor();
}

void COpenGLMouse::WindowToWorld(int x, int y, CGO_Point* out)
{
    if (out == nullptr || !MakeCurrent())
        return;
    GLint viewport[4];
    GLdouble mvmatrix[16];
    GLdouble projmatrix[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, mvmatrix);
    glGetDoublev(GL_PROJECTION_MATRIX, projmatrix);
    // Mouse positions are logical pixels, the viewport is in device pixels.
    // Flip y (window rows grow downwards) and take the pixel's lower left
    // corner, then scale: the same pixel gives the same point at any ratio.
    const double ratio = devicePixelRatio();
    const double realY = (height() - y - 1) * ratio;
    GLdouble wx = 0.0;
    GLdouble wy = 0.0;
    GLdouble wz = 0.0;
    gluUnProject(x * ratio, realY, 0.0, mvmatrix, projmatrix, viewport, &wx, &wy, &wz);
    *out = CGO_Point(static_cast<float>(wx), static_cast<float>(wy));
}

void COpenGLMouse::Pick(int x, int y)
{
    m_nCandidate = 0;
    m_nPicked = 0;
    if (!MakeCurrent())
        return;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    // The region is centred on the pixel's upper left corner and scaled to
    // device pixels, so it covers the same world area at any ratio.
    const double ratio = devicePixelRatio();
    m_nCandidate = GetGraphics()->Pick(x * ratio, (height() - y) * ratio, kPickSize * ratio, viewport);
}

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
    if (m_nMode == MODE_DRAG) {
        feedback::DrawListMoved(m_nPicked, CGO_Vector(cursor.x - m_ptDown.x, cursor.y - m_ptDown.y));
    } else if (m_nPreview == PREVIEW_CIRCLE) {
        const double radius = std::hypot(static_cast<double>(cursor.x) - m_ptAnchor.x,
                                         static_cast<double>(cursor.y) - m_ptAnchor.y);
        feedback::DrawCircleOutline(m_ptAnchor, static_cast<float>(radius));
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

void COpenGLMouse::UpdateCursor()
{
    if (m_nMode != MODE_IDLE) {
        if (cursor().shape() != Qt::CrossCursor)
            setCursor(Qt::CrossCursor);
    } else if (cursor().shape() != Qt::ArrowCursor) {
        unsetCursor();
    }
}

void COpenGLMouse::Send(unsigned message, std::uintptr_t wParam)
{
    if (m_pReceiver != nullptr)
        m_pReceiver->SendCadMessage(message, wParam, 0);
}

void COpenGLMouse::OnLButtonDown(bool, int x, int y)
{
    MakeCurrent();
    glColor3f(0.0f, 0.0f, 1.0f);
    switch (m_nMode) {
    case MODE_PICK:
        Pick(x, y);
        break;
    case MODE_POINT:
        m_ptDown = ClickPoint(x, y, false);
        break;
    case MODE_DRAG:
        m_ptDown = ClickPoint(x, y, false);
        m_bBandShown = false;
        break;
    default:
        break;
    }
}

void COpenGLMouse::OnMouseMove(bool leftDown, int x, int y)
{
    UpdateCursor();
    if (!MakeCurrent())
        return;
    ShowFeedbackAt(leftDown, x, y);
    Present();
}

CCursorProbe::CViewGeometry COpenGLMouse::ViewGeometry()
{
    if (!m_probe.IsAttached())
        m_probe.Attach(*GetGraphics());
    CCursorProbe::CViewGeometry view;
    glGetIntegerv(GL_VIEWPORT, view.viewport);
    view.viewport[2] = std::max(1, view.viewport[2]);
    view.viewport[3] = std::max(1, view.viewport[3]);
    view.ratio = devicePixelRatio();
    view.height = height();
    return view;
}

void COpenGLMouse::SetSnapKinds(unsigned kinds)
{
    m_probe.SetSnapKinds(kinds);
}

CGO_Point COpenGLMouse::ProbePoint(int x, int y, bool dragEnd, CSnapResult& snap)
{
    CGO_Point raw;
    WindowToWorld(x, y, &raw);
    const CCursorProbe::CViewGeometry view = ViewGeometry();
    // The object being dragged offers nothing to drop it on.
    CGO_Point point = m_probe.Snap(raw, view, dragEnd ? GetPickedId() : -1, snap);
    const bool secondPointOfALine = m_nMode == MODE_POINT && m_nBand == BAND_LINE && m_nPreview != PREVIEW_CIRCLE;
    if (m_bShiftDown && secondPointOfALine) {
        const WorldCoordinates range = GetGraphics()->GetWorldCoordinates();
        point = snapgeo::ProjectOrthogonal(m_ptAnchor, point, view.WorldPerPixelX(range), view.WorldPerPixelY(range));
    }
    return point;
}

CGO_Point COpenGLMouse::ClickPoint(int x, int y, bool dragEnd)
{
    CSnapResult snap;
    const CGO_Point point = ProbePoint(x, y, dragEnd, snap);
    if (snap.IsSnapped())
        LogDebug("Snapped to %s at (%4.1f, %4.1f).", SnapKindName(snap.m_nKind), snap.m_pt.x, snap.m_pt.y);
    return point;
}

void COpenGLMouse::ShowFeedbackAt(bool leftDown, int x, int y)
{
    if (m_bBandShown || m_bMarksShown)
        EraseFeedback();
    m_bMarksShown = false;
    const bool showBand = m_nBand != BAND_NONE && m_nMode == MODE_POINT && !leftDown;
    const bool dragging = leftDown && m_nMode == MODE_DRAG;
    if (!showBand && !dragging)
        m_bBandShown = false;

    const CCursorProbe::CViewGeometry view = ViewGeometry();
    m_hover = m_bCursorInside ? m_probe.Hover(x, y, view) : hittest::CHit();
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
        DrawBand(BAND_LINE);
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
    const CCursorProbe::CViewGeometry view = ViewGeometry();
    const WorldCoordinates range = GetGraphics()->GetWorldCoordinates();
    glColor3f(0.0f, 0.0f, 1.0f);
    feedback::DrawSnapMarker(snap.m_nKind, snap.m_pt, 5.0 * view.WorldPerPixelX(range), 5.0 * view.WorldPerPixelY(range));
    glFlush();
}

void COpenGLMouse::ReportCursor(CGO_Point point, const CSnapResult& snap)
{
    emit CursorTextChanged(QString::fromStdString(CCursorProbe::StatusText(point, snap, m_hover)));
}

void COpenGLMouse::OnLButtonUp(bool, int x, int y)
{
    // A drag ends on a snap point as it began on one.
    if (m_nMode == MODE_DRAG)
        m_ptCurrent = ClickPoint(x, y, true);
    else
        WindowToWorld(x, y, &m_ptCurrent);
    switch (m_nMode) {
    case MODE_PICK:
        if (m_nCandidate != 0) {
            m_nPicked = m_nCandidate;
            m_nMode = MODE_IDLE;
            m_nBand = BAND_NONE;
            UpdateCursor();
            Send(WM_CAD_OBJECT_PICKED, static_cast<std::uintptr_t>(m_nPicked));
        }
        break;
    case MODE_POINT:
        m_ptPoint = m_ptDown;
        m_nMode = MODE_IDLE;
        if (m_nBand != BAND_NONE && m_bBandShown)
            EraseFeedback();
        m_bBandShown = false;
        m_nBand = BAND_NONE;
        UpdateCursor();
        Send(WM_CAD_POINT_SET, 0);
        break;
    case MODE_DRAG:
        if (m_bBandShown) {
            EraseFeedback();
            m_bBandShown = false;
        }
        m_ptPoint = m_ptDown;
        m_vDrag.SetFromPoints(m_ptDown, m_ptCurrent);
        m_nMode = MODE_IDLE;
        m_nBand = BAND_NONE;
        UpdateCursor();
        Send(WM_CAD_DRAG_DONE, 0);
        break;
    default:
        break;
    }
    // The receiver may have set a new mode.
    UpdateCursor();
    Present();
}

void COpenGLMouse::OnRButtonDown(bool, int, int)
{
    // Cancels without telling the receiver. Whatever feedback is on screen
    // goes, the drag line as well as the band.
    if (m_bBandShown) {
        EraseFeedback();
        m_bBandShown = false;
    }
    m_nMode = MODE_IDLE;
    m_nBand = BAND_NONE;
    UpdateCursor();
    Present();
}

void COpenGLMouse::OnMButtonDown(bool, int, int)
{
    // The receiver opens a dialog for the rest of the input; a band left on
    // screen would stay there if the dialog is cancelled.
    if (m_bBandShown) {
        EraseFeedback();
        m_bBandShown = false;
        Present();
    }
    m_nMode = MODE_IDLE;
    m_nBand = BAND_NONE;
    UpdateCursor();
}

void COpenGLMouse::OnMButtonUp(bool, int, int)
{
    Send(WM_CAD_MENU_CLICK, 0);
    UpdateCursor();
    Present();
}

void COpenGLMouse::mousePressEvent(QMouseEvent* event)
{
    m_bShiftDown = event->modifiers().testFlag(Qt::ShiftModifier);
    const QPoint at = LogicalPixel(event);
    const bool leftDown = event->buttons().testFlag(Qt::LeftButton);
    switch (event->button()) {
    case Qt::LeftButton:
        OnLButtonDown(leftDown, at.x(), at.y());
        break;
    case Qt::RightButton:
        OnRButtonDown(leftDown, at.x(), at.y());
        break;
    case Qt::MiddleButton:
        // A click or the start of a pan: which one, the release tells.
        m_navigator.BeginMiddleDrag(event->position());
        break;
    default:
        break;
    }
    event->accept();
}

void COpenGLMouse::mouseReleaseEvent(QMouseEvent* event)
{
    m_bShiftDown = event->modifiers().testFlag(Qt::ShiftModifier);
    const QPoint at = LogicalPixel(event);
    const bool leftDown = event->buttons().testFlag(Qt::LeftButton);
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(leftDown, at.x(), at.y());
    } else if (event->button() == Qt::MiddleButton && m_navigator.EndMiddleDrag(event->position())) {
        // Not moved beyond the drag distance: the menu click, press and all.
        OnMButtonDown(leftDown, at.x(), at.y());
        OnMButtonUp(leftDown, at.x(), at.y());
    }
    event->accept();
}

void COpenGLMouse::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = LogicalPixel(event);
    m_ptLastPixel = at;
    m_bLastLeftDown = event->buttons().testFlag(Qt::LeftButton);
    m_bCursorInside = true;
    m_bShiftDown = event->modifiers().testFlag(Qt::ShiftModifier);
    // While the middle button pans, the feedback waits for the redraw.
    if (!m_navigator.MoveMiddleDrag(event->position()))
        OnMouseMove(m_bLastLeftDown, at.x(), at.y());
    event->accept();
}

void COpenGLMouse::wheelEvent(QWheelEvent* event)
{
    m_navigator.OnWheel(*event);
    event->accept();
}

bool COpenGLMouse::event(QEvent* event)
{
    if (event->type() == QEvent::Leave) {
        // The highlight and the snap marker belong to a cursor over the window.
        m_bCursorInside = false;
        if (m_bMarksShown)
            ShowFeedbackAgain();
        emit CursorTextChanged(QString());
    }
    return COpenGL::event(event);
}

bool COpenGLMouse::TakeWorldCoordinates(const WorldCoordinates& range)
{
    // The scene may rebuild lists that depend on the range: the context must
    // be current.
    MakeCurrent();
    CGraphics* graphics = GetGraphics();
    if (!graphics->SetWorldCoordinates(static_cast<float>(range.xMin), static_cast<float>(range.xMax),
                                       static_cast<float>(range.yMin), static_cast<float>(range.yMax)))
        return false;
    setTitle(QString::fromStdString(viewrange::Caption(graphics->GetWorldCoordinates())));
    // The next click is converted with the new range at once, before the
    // redraw has happened.
    graphics->ApplyProjection();
    m_bFeedbackAfterPaint = true;
    requestUpdate();
    return true;
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

void COpenGLMouse::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        m_bShiftDown = false;
        if (m_bCursorInside)
            ShowFeedbackAgain();
    }
    COpenGL::keyReleaseEvent(event);
}

void COpenGLMouse::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        // The band turns horizontal or vertical at once, not at the next move.
        m_bShiftDown = true;
        if (m_bCursorInside)
            ShowFeedbackAgain();
    }
    if (m_navigator.OnKey(*event)) {
        event->accept();
        return;
    }
    // Keys that act on the drawing or the operation under way belong to the
    // control center; it treats them as its own shortcuts.
    const unsigned command = CadCommandForKey(event->key(), event->modifiers());
    if (command == 0) {
        COpenGL::keyPressEvent(event);
        return;
    }
    event->accept();
    Send(WM_CAD_COMMAND, command);
}
