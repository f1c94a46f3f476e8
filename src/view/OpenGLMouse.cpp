// The mouse layer: turns presses, moves and releases into a picked object, a
// world point or a drag vector, and reports each result to the receiver.
// What it draws over the scene meanwhile is in OpenGLMouseFeedback.cpp.
#include "view/OpenGLMouse.h"

#include "log/Logger.h"
#include "view/CadMessages.h"
#include "view/CommandKeys.h"
#include "view/scene/Graphics.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

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
    m_probe.Attach(*GetGraphics());
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
    m_bFixedAngle = false;
    m_bClosingPoint = false;
    m_groupLists.clear();
    m_bValueWanted = false;
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
    m_bFixedAngle = false;
    m_bClosingPoint = false;
    m_groupLists.clear();
    m_bValueWanted = false;
    UpdateCursor();
}

void COpenGLMouse::WindowToWorld(int x, int y, CGO_Point* out)
{
    if (out != nullptr)
        *out = PixelMapping().PixelCorner(x, y);
}

CPixelMapping COpenGLMouse::PixelMapping()
{
    return CPixelMapping(GetGraphics()->GetWorldCoordinates(), std::min(BufferWidth(), BufferHeight()),
                         devicePixelRatio(), height());
}

void COpenGLMouse::Pick(int x, int y)
{
    m_nCandidate = 0;
    m_nPicked = 0;
    if (!MakeCurrent())
        return;
    // The region is centred on the pixel's upper left corner and scaled to
    // device pixels, so it covers the same world area at any ratio.
    const CPixelMapping mapping = PixelMapping();
    GLint viewport[4];
    mapping.Viewport(viewport);
    m_nCandidate = GetGraphics()->Pick(mapping.DeviceX(x), mapping.DeviceY(y),
                                       CCursorProbe::kPickSize * mapping.Ratio(), viewport);
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
        WindowToWorld(x, y, &m_ptPickPoint);
        Pick(x, y);
        break;
    case MODE_POINT:
        m_ptDown = ClickPoint(x, y, false);
        break;
    case MODE_DRAG:
        m_ptDown = ClickPoint(x, y, false);
        m_bBandShown = false;
        break;
    case MODE_IDLE:
        BeginSelectGesture(x, y);
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
    if (!MoveSelectGesture(leftDown, x, y))
        ShowFeedbackAt(leftDown, x, y);
    Present();
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
        TakeTypedPoint(m_ptDown);
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
    case MODE_IDLE:
        EndSelectGesture(x, y);
        break;
    default:
        break;
    }
    // The receiver may have set a new mode.
    UpdateCursor();
    Present();
}

void COpenGLMouse::OnRButtonDown(bool, int x, int y)
{
    const bool nothingUnderWay = m_nMode == MODE_IDLE && !m_bBandShown;
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
    if (nothingUnderWay)
        SendContextMenu(x, y);
    else
        emit MouseDropped();
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

void COpenGLMouse::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        m_bShiftDown = false;
        if (m_bCursorInside)
            ShowFeedbackAgain();
    }
    COpenGL::keyReleaseEvent(event);
}

bool COpenGLMouse::TakeTypedPoint(CGO_Point point)
{
    if (m_nMode != MODE_POINT)
        return false;
    m_ptPoint = point;
    m_nMode = MODE_IDLE;
    if (m_nBand != BAND_NONE && m_bBandShown)
        EraseFeedback();
    m_bBandShown = false;
    m_nBand = BAND_NONE;
    UpdateCursor();
    Send(WM_CAD_POINT_SET, 0);
    return true;
}

void COpenGLMouse::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        // The band turns horizontal or vertical at once, not at the next move.
        m_bShiftDown = true;
        if (m_bCursorInside)
            ShowFeedbackAgain();
    }
    // While a point is wanted, "-" starts a negative number rather than zooming.
    const QString text = event->text();
    const bool typing = m_nMode == MODE_POINT || (m_nMode == MODE_PICK && m_bValueWanted);
    if (typing && text.size() == 1 && QStringLiteral("0123456789@<.,-+").contains(text)) {
        event->accept();
        emit EntryTyped(text);
        return;
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
