// Where the drawing window's pixels lie in the world: the visible range on
// a square viewport of side device pixels at the window's lower left, at a
// device pixel ratio, in a window of a height in logical pixels. The mouse,
// the navigator and the cursor probe all convert through this one mapping.
#pragma once

#include "geometry/GO_Point.h"
#include "view/scene/ViewRange.h"

class CPixelMapping {
public:
    CPixelMapping(const WorldCoordinates& range, int side, double ratio, int height);

    // The world at a position in the window: logical pixels, y downwards,
    // fractions allowed; in double.
    double WorldX(double x) const;
    double WorldY(double y) const;
    // The point a click on the pixel (x, y) gives: its lower left corner, so
    // that the same pixel gives the same point at any ratio.
    CGO_Point PixelCorner(int x, int y) const;

    // A logical position in the GL's window coordinates (device pixels, y
    // upwards), where picking works.
    double DeviceX(double x) const { return x * m_dRatio; }
    double DeviceY(double y) const { return (m_nHeight - y) * m_dRatio; }

    // World units per logical pixel on each axis; they differ when the range
    // is not square.
    double WorldPerPixelX() const { return (m_range.xMax - m_range.xMin) / m_nSide * m_dRatio; }
    double WorldPerPixelY() const { return (m_range.yMax - m_range.yMin) / m_nSide * m_dRatio; }

    // The viewport as the view sets it: x, y, width, height in device pixels.
    void Viewport(int out[4]) const;
    int Side() const { return m_nSide; }
    double Ratio() const { return m_dRatio; }
    const WorldCoordinates& Range() const { return m_range; }

private:
    WorldCoordinates m_range;
    int m_nSide;
    double m_dRatio;
    int m_nHeight;
};
