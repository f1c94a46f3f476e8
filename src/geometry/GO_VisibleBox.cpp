// The visible range as the objects see it, the clip box around it, and
// cutting segments to that box.
#include "geometry/GO_VisibleBox.h"

#include <algorithm>
#include <cmath>

namespace {

CGO_Box& VisibleBox()
{
    static CGO_Box box{-500.0, -500.0, 500.0, 500.0};
    return box;
}

bool IsFinite(const CGO_Box& box)
{
    return std::isfinite(box.xMin) && std::isfinite(box.yMin) && std::isfinite(box.xMax) && std::isfinite(box.yMax);
}

// The visible box grown by spans of its width (height) on each side.
CGO_Box Grown(const CGO_Box& visible, double spans)
{
    const double marginX = spans * visible.Width();
    const double marginY = spans * visible.Height();
    return {visible.xMin - marginX, visible.yMin - marginY, visible.xMax + marginX, visible.yMax + marginY};
}

bool Contains(const CGO_Box& box, double x, double y)
{
    return x >= box.xMin && x <= box.xMax && y >= box.yMin && y <= box.yMax;
}

// Where the infinite line through a segment enters and leaves a box. The
// line is dy * x - dx * y = cross: for ends that are floats the two products
// of cross are exact in double and their difference is rounded once, so the
// points where the line meets the edges come out right even when the ends
// lie 10^30 away and the box is a few units wide. Interpolating along the
// segment, or comparing its parameters at the edges, would lose them.
class CLineThroughBox {
public:
    CLineThroughBox(double x0, double y0, double x1, double y1, const CGO_Box& box)
        : m_dx(x1 - x0), m_dy(y1 - y0), m_cross(x0 * y1 - y0 * x1), m_box(box),
          m_cx((box.xMin + box.xMax) / 2), m_cy((box.yMin + box.yMax) / 2)
    {
        const double slackX = 1e-9 * box.Width();
        const double slackY = 1e-9 * box.Height();
        if (m_dx != 0.0) {
            for (const double x : {box.xMin, box.xMax})
                Offer(x, (m_dy * x - m_cross) / m_dx, slackY, false);
        }
        if (m_dy != 0.0) {
            for (const double y : {box.yMin, box.yMax})
                Offer((m_dx * y + m_cross) / m_dy, y, slackX, true);
        }
    }

    bool Meets() const { return m_bMeets; }
    // How far along the direction of the segment a point lies; only the
    // order of these values means anything.
    double Along(double x, double y) const { return (x - m_cx) * m_dx + (y - m_cy) * m_dy; }

    double m_entryX = 0, m_entryY = 0, m_exitX = 0, m_exitY = 0;

private:
    // A point of the line on one edge's line, kept if it lies on the edge;
    // rounding may carry a point at a corner a hair beyond it.
    void Offer(double x, double y, double slack, bool onHorizontalEdge)
    {
        double& free = onHorizontalEdge ? x : y;
        const double low = onHorizontalEdge ? m_box.xMin : m_box.yMin;
        const double high = onHorizontalEdge ? m_box.xMax : m_box.yMax;
        if (!(free >= low - slack && free <= high + slack))
            return;
        free = std::clamp(free, low, high);
        const double along = Along(x, y);
        if (!m_bMeets || along < Along(m_entryX, m_entryY)) {
            m_entryX = x;
            m_entryY = y;
        }
        if (!m_bMeets || along > Along(m_exitX, m_exitY)) {
            m_exitX = x;
            m_exitY = y;
        }
        m_bMeets = true;
    }

    double m_dx, m_dy, m_cross;
    const CGO_Box& m_box;
    double m_cx, m_cy;
    bool m_bMeets = false;
};

} // namespace

const CGO_Box& CGO_VisibleBox::Get()
{
    return VisibleBox();
}

void CGO_VisibleBox::Set(const CGO_Box& visible)
{
    VisibleBox() = visible;
}

CGO_Box CGO_VisibleBox::ClipBoxOf(const CGO_Box& visible)
{
    return Grown(visible, MARGIN_SPANS);
}

bool CGO_VisibleBox::NeedsClipping(const CGO_Box& bounds, const CGO_Box& visible)
{
    const CGO_Box clip = ClipBoxOf(visible);
    const CGO_Box reach = Grown(visible, REACH_SPANS);
    if (!IsFinite(bounds) || !IsFinite(reach))
        return false;
    const bool inside = bounds.xMin >= reach.xMin && bounds.xMax <= reach.xMax && bounds.yMin >= reach.yMin &&
                        bounds.yMax <= reach.yMax;
    // Wholly beyond one side of the clip box, an object lies beyond the same
    // side of the view, where the rasteriser drops it without arithmetic.
    return !inside && bounds.Intersects(clip);
}

bool CGO_VisibleBox::ClipSegment(double& x0, double& y0, double& x1, double& y1, const CGO_Box& box)
{
    const bool startInside = Contains(box, x0, y0);
    const bool endInside = Contains(box, x1, y1);
    if (startInside && endInside)
        return true;
    const CLineThroughBox line(x0, y0, x1, y1, box);
    if (!line.Meets())
        return false;
    // The kept part runs from the later of the start and the entry to the
    // earlier of the end and the exit.
    const double start = line.Along(x0, y0);
    const double end = line.Along(x1, y1);
    const double entry = line.Along(line.m_entryX, line.m_entryY);
    const double exit = line.Along(line.m_exitX, line.m_exitY);
    if ((!startInside && start > exit) || (!endInside && end < entry))
        return false;
    if (!startInside) {
        x0 = line.m_entryX;
        y0 = line.m_entryY;
    }
    if (!endInside) {
        x1 = line.m_exitX;
        y1 = line.m_exitY;
    }
    return true;
}
