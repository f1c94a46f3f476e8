// The arithmetic of moving around the drawing: zooming about a point, panning
// by pixels, fitting a box, the limits a range must keep, and how the drawing
// window's caption names a range. Plain functions, no window and no OpenGL.
#pragma once

#include "geometry/GO_Box.h"

#include <string>

// The visible world range: x from, x to, y from, y to.
struct WorldCoordinates {
    double xMin;
    double xMax;
    double yMin;
    double yMax;
};

namespace viewrange {

// The range a new drawing window shows, and an empty drawing is fitted to.
constexpr WorldCoordinates kDefaultRange{-500.0, 500.0, -500.0, 500.0};
// One wheel notch or key press zooms by this factor.
constexpr double kZoomStep = 1.25;
// Zooming out stops at this span.
constexpr double kMaxZoomSpan = 1e8;
// The margin a fit leaves on each side, as a share of the drawing's size.
constexpr double kFitMargin = 0.05;

// The range as the scene stores it: every edge rounded to a float.
WorldCoordinates AsFloats(const WorldCoordinates& range);

// True when the range can be drawn: finite, increasing on both axes, and not
// so fine that one of side pixels is below the float resolution of the
// coordinates in view.
bool IsDrawable(const WorldCoordinates& range, int side);

// Why a typed range cannot be shown: not finite, not increasing on both
// axes, finer than the float resolution lets side pixels tell apart, or wider
// than zooming out may go.
enum class RangeFault { kNone, kNotFinite, kReversed, kTooFine, kTooWide };

// The same limits zooming keeps, for a range given whole (the world-range
// dialog); side 0 or less stands for the largest viewport a screen has.
RangeFault CheckTypedRange(const WorldCoordinates& range, int side);

// Zooms by factor (above 1 zooms in) so that the world point (x, y) keeps its
// place in the view. The factor is cut back where zooming in would pass the
// float resolution or zooming out the largest span; returns range itself
// when no step at all is possible.
WorldCoordinates ZoomAbout(const WorldCoordinates& range, double x, double y, double factor, int side);

// Moves the range so that the drawing follows the cursor by (dx, dy) pixels
// of a square viewport of side pixels (dx to the right, dy upwards).
WorldCoordinates PanByPixels(const WorldCoordinates& range, double dx, double dy, int side);

// The range that shows box with a margin on every side, with one world unit
// as long on both axes. An empty drawing gets the default range; a drawing
// with no extent on an axis gets a span around it all the same.
WorldCoordinates FitToBox(const CGO_Box& box);
WorldCoordinates FitToNothing();

// "CAD-Programm (x from, x to | y from, y to)" with one decimal, or as many
// more as it takes to tell the edges of each axis apart.
std::string Caption(const WorldCoordinates& range);

} // namespace viewrange
