// The mapping between the drawing window's pixels and the world.
#include "view/scene/PixelMapping.h"

#include <algorithm>

CPixelMapping::CPixelMapping(const WorldCoordinates& range, int side, double ratio, int height)
    : m_range(range), m_nSide(std::max(1, side)), m_dRatio(ratio > 0.0 ? ratio : 1.0), m_nHeight(height)
{
}

double CPixelMapping::WorldX(double x) const
{
    return m_range.xMin + DeviceX(x) / m_nSide * (m_range.xMax - m_range.xMin);
}

double CPixelMapping::WorldY(double y) const
{
    return m_range.yMin + DeviceY(y) / m_nSide * (m_range.yMax - m_range.yMin);
}

CGO_Point CPixelMapping::PixelCorner(int x, int y) const
{
    // Window rows grow downwards: the lower left corner of a pixel lies on
    // the upper edge of the row below it.
    return CGO_Point(static_cast<float>(WorldX(x)), static_cast<float>(WorldY(y + 1.0)));
}

void CPixelMapping::Viewport(int out[4]) const
{
    out[0] = 0;
    out[1] = 0;
    out[2] = m_nSide;
    out[3] = m_nSide;
}
