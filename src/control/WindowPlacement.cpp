// The placement rule, on rectangles only, so it can be checked for any screen.
#include "control/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// Room between the two windows.
constexpr int kGap = 8;
// Smaller than this, a drawing window is no use; the control center then
// keeps to the screen even if it must cover part of the drawing.
constexpr int kSmallestDrawing = 120;

} // namespace

CWindowLayout PlaceWindows(const QRect& screen, const QRect& drawingFrame, const QSize& controlFrame)
{
    CWindowLayout layout{drawingFrame, QPoint()};
    const QPoint right(drawingFrame.right() + 1 + kGap, drawingFrame.top());
    const QPoint below(drawingFrame.left(), drawingFrame.bottom() + 1 + kGap);
    if (right.x() + controlFrame.width() - 1 <= screen.right()) {
        layout.controlFrame = right;
        return layout;
    }
    if (below.y() + controlFrame.height() - 1 <= screen.bottom()) {
        layout.controlFrame = below;
        return layout;
    }
    // Neither fits: narrow the drawing window for the control center on its
    // right, or lower it for one below, whichever leaves the larger square
    // of drawing.
    const int widthBeside = screen.right() + 1 - kGap - controlFrame.width() - drawingFrame.left();
    const int heightAbove = screen.bottom() + 1 - kGap - controlFrame.height() - drawingFrame.top();
    const int sideBeside = std::min(widthBeside, drawingFrame.height());
    const int sideAbove = std::min(drawingFrame.width(), heightAbove);
    if (std::max(sideBeside, sideAbove) < kSmallestDrawing) {
        layout.controlFrame = QPoint(std::max(screen.left(), screen.right() + 1 - controlFrame.width()), screen.top());
        return layout;
    }
    if (sideBeside >= sideAbove) {
        layout.drawingFrame.setWidth(widthBeside);
        layout.controlFrame = QPoint(layout.drawingFrame.right() + 1 + kGap, drawingFrame.top());
    } else {
        layout.drawingFrame.setHeight(heightAbove);
        layout.controlFrame = QPoint(drawingFrame.left(), layout.drawingFrame.bottom() + 1 + kGap);
    }
    return layout;
}

void PlaceBeside(QWidget& controlCenter, QWindow& drawingWindow)
{
    const QScreen* screen = drawingWindow.screen();
    if (screen == nullptr)
        return;
    const QMargins frame = drawingWindow.frameMargins();
    const QSize controlFrame = controlCenter.size().grownBy(frame);
    const CWindowLayout layout = PlaceWindows(screen->availableGeometry(), drawingWindow.frameGeometry(), controlFrame);
    if (layout.drawingFrame != drawingWindow.frameGeometry())
        drawingWindow.resize(layout.drawingFrame.size().shrunkBy(frame));
    controlCenter.move(layout.controlFrame);
}
