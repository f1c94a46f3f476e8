// Where the two windows go at the start: the control center beside the
// drawing window, to its right when the screen is wide enough, else below
// it, and never over it; on a screen too small for both side by side, the
// drawing window gives up some of its size.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;
class QWindow;

struct CWindowLayout {
    QRect drawingFrame;   // the drawing window's frame, decorations included
    QPoint controlFrame;  // the top left corner of the control center's frame
};

// screen: the available area; drawingFrame: where the drawing window was
// opened; controlFrame: the size of the control center's frame.
CWindowLayout PlaceWindows(const QRect& screen, const QRect& drawingFrame, const QSize& controlFrame);

// Moves controlCenter, not yet shown, beside drawingWindow, which is, by
// PlaceWindows on the drawing window's screen. The control center is not
// framed yet; its decorations are taken to be those of the drawing window.
void PlaceBeside(QWidget& controlCenter, QWindow& drawingWindow);
