// Zoom, pan and fit in the drawing window. The arithmetic is in ViewRange;
// this class turns events into it and hands the result to the window.
#include "view/ViewNavigator.h"

#include "database/GO_Database.h"
#include "view/scene/Graphics.h"
#include "view/OpenGLMouse.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyleHints>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// A wheel reports eighths of a degree, and one notch is 15 degrees.
constexpr double kAngleDeltaPerNotch = 120.0;
// The arrow keys move the view by this share of its size.
constexpr double kArrowShare = 0.1;

} // namespace

int CViewNavigator::Side() const
{
    return m_view.PixelMapping().Side();
}

WorldCoordinates CViewNavigator::Range() const
{
    return m_view.GetGraphics()->GetWorldCoordinates();
}

double CViewNavigator::WorldXAt(double x) const
{
    return m_view.PixelMapping().WorldX(x);
}

double CViewNavigator::WorldYAt(double y) const
{
    return m_view.PixelMapping().WorldY(y);
}

bool CViewNavigator::SetRange(const WorldCoordinates& range)
{
    if (!viewrange::IsDrawable(range, Side()))
        return false;
    return m_view.TakeWorldCoordinates(range);
}

void CViewNavigator::ZoomAbout(double x, double y, double factor)
{
    SetRange(viewrange::ZoomAbout(Range(), x, y, factor, Side()));
}

void CViewNavigator::PanByPixels(double dx, double dy)
{
    SetRange(viewrange::PanByPixels(Range(), dx, dy, Side()));
}

void CViewNavigator::OnWheel(const QWheelEvent& event)
{
    const double notches = event.angleDelta().y() / kAngleDeltaPerNotch;
    if (notches == 0.0)
        return;
    // Away from the user zooms in, about the point under the cursor.
    const QPointF at = event.position();
    ZoomAbout(WorldXAt(at.x()), WorldYAt(at.y()), std::pow(viewrange::kZoomStep, notches));
}

bool CViewNavigator::OnKey(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const double step = kArrowShare * Side();
    const WorldCoordinates r = Range();
    const double cx = r.xMin / 2.0 + r.xMax / 2.0;
    const double cy = r.yMin / 2.0 + r.yMax / 2.0;
    switch (event.key()) {
    // An arrow shows more of the drawing on its side: the drawing moves the
    // other way.
    case Qt::Key_Left: PanByPixels(step, 0.0); return true;
    case Qt::Key_Right: PanByPixels(-step, 0.0); return true;
    case Qt::Key_Up: PanByPixels(0.0, -step); return true;
    case Qt::Key_Down: PanByPixels(0.0, step); return true;
    case Qt::Key_Plus: ZoomAbout(cx, cy, viewrange::kZoomStep); return true;
    case Qt::Key_Minus: ZoomAbout(cx, cy, 1.0 / viewrange::kZoomStep); return true;
    case Qt::Key_Home: FitToDrawing(); return true;
    default: return false;
    }
}

void CViewNavigator::BeginMiddleDrag(QPointF at)
{
    m_bMiddleDown = true;
    m_bPanning = false;
    m_ptMiddlePress = at;
    m_rangeAtPress = Range();
}

bool CViewNavigator::MoveMiddleDrag(QPointF at)
{
    if (!m_bMiddleDown)
        return false;
    const QPointF moved = at - m_ptMiddlePress;
    if (!m_bPanning && moved.manhattanLength() < QGuiApplication::styleHints()->startDragDistance())
        return false;
    m_bPanning = true;
    // From the range at the press, so the drawing stays glued to the cursor
    // however many moves there are.
    const double ratio = m_view.devicePixelRatio();
    SetRange(viewrange::PanByPixels(m_rangeAtPress, moved.x() * ratio, -moved.y() * ratio, Side()));
    return true;
}

bool CViewNavigator::EndMiddleDrag(QPointF at)
{
    if (!m_bMiddleDown)
        return false;
    MoveMiddleDrag(at);
    m_bMiddleDown = false;
    const bool click = !m_bPanning;
    m_bPanning = false;
    return click;
}

WorldCoordinates CViewNavigator::FitRange() const
{
    const CGO_Database& database = *m_view.GetGraphics()->GetDatabase();
    bool any = false;
    CGO_Box all;
    for (int slot = 0; slot < database.GetSize(); ++slot) {
        const CGO_GeoObject* object = database.GetAt(slot);
        CGO_Box box;
        if (object == nullptr || !object->GetBounds(box))
            continue;
        if (any)
            all.Include(box);
        else
            all = box;
        any = true;
    }
    return any ? viewrange::FitToBox(all) : viewrange::FitToNothing();
}

void CViewNavigator::FitToDrawing()
{
    SetRange(FitRange());
}
