// Moving around the drawing in the drawing window: the wheel zooms about the
// cursor, the middle button drags the drawing along, keys pan, zoom and fit.
// Every change goes through the scene's SetWorldCoordinates, renames the
// window after the range, and asks for one redraw per displayed frame, so a
// burst of wheel events on a large drawing costs one or two redraws.
#pragma once

#include "view/scene/ViewRange.h"

#include <QPointF>

class COpenGLMouse;
class QKeyEvent;
class QWheelEvent;

class CViewNavigator {
public:
    explicit CViewNavigator(COpenGLMouse& view) : m_view(view) {}

    void OnWheel(const QWheelEvent& event);
    // Arrows, + and -, Home. False for any other key.
    bool OnKey(const QKeyEvent& event);

    // The middle button pans once it has moved by the platform's drag
    // distance; short of that, its press and release are a click.
    void BeginMiddleDrag(QPointF at);
    // True while the middle button pans (the move belongs to the pan).
    bool MoveMiddleDrag(QPointF at);
    // True when the press and release were a click, not a pan.
    bool EndMiddleDrag(QPointF at);
    bool IsPanning() const { return m_bPanning; }

    // The range that shows the whole drawing, and taking it.
    WorldCoordinates FitRange() const;
    void FitToDrawing();
    // Takes a range if it is drawable; false (and nothing changes) otherwise.
    bool SetRange(const WorldCoordinates& range);

    // The world point at a position in the window (logical pixels, y
    // downwards, fractions allowed), in double precision.
    double WorldXAt(double x) const;
    double WorldYAt(double y) const;

private:
    int Side() const;
    WorldCoordinates Range() const;
    void ZoomAbout(double x, double y, double factor);
    void PanByPixels(double dx, double dy);

    COpenGLMouse& m_view;
    bool m_bMiddleDown = false;
    bool m_bPanning = false;
    QPointF m_ptMiddlePress;
    WorldCoordinates m_rangeAtPress{};
};
