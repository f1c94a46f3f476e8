// The CPU pick: each segment clipped against the region in double as the
// selection clips it, a circle's strip only where it comes near the region.
#include "snap/HitTest.h"

#include "database/GO_Database.h"
#include "geometry/GO_GeoObject.h"
#include "snap/SpatialIndex.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace hittest {

namespace {

bool IsValid(const CGO_Box& box)
{
    return box.xMin <= box.xMax && box.yMin <= box.yMax; // false for NaN as well
}

// Whether the drawn strip of an arc comes into the box: only the segments
// near it are clipped exactly, the others are passed by their estimates.
bool ArcHitsRegion(const CGO_Primitive& arc, const CGO_Box& box)
{
    if (!std::isfinite(arc.center.x) || !std::isfinite(arc.center.y) || !std::isfinite(arc.radius))
        return false;
    const double r = arc.radius;
    const double cx = arc.center.x;
    const double cy = arc.center.y;
    // The exact vertices differ from the estimates by the float angle's
    // rounding (a few 1e-7 radians) and the float rounding of the vertex.
    const double margin = std::fabs(r) * 4e-6 + (std::fabs(cx) + std::fabs(cy) + std::fabs(r)) * 0x1p-22;
    const int count = arc.DrawnVertexCount();
    const double start = arc.IsFullCircle() ? 0.0 : arc.startDegrees;
    const double step = (arc.IsFullCircle() ? 360.0 : arc.sweepDegrees) / (count - 1);
    double c0 = std::cos(start * M_PI / 180.0);
    double s0 = std::sin(start * M_PI / 180.0);
    for (int i = 0; i + 1 < count; ++i) {
        const double a1 = (start + step * (i + 1)) * M_PI / 180.0;
        const double c1 = std::cos(a1);
        const double s1 = std::sin(a1);
        const double x0 = cx + r * c0, y0 = cy + r * s0;
        const double x1 = cx + r * c1, y1 = cy + r * s1;
        c0 = c1;
        s0 = s1;
        if (std::max(x0, x1) + margin < box.xMin || std::min(x0, x1) - margin > box.xMax ||
            std::max(y0, y1) + margin < box.yMin || std::min(y0, y1) - margin > box.yMax)
            continue;
        const CGO_Point a = arc.DrawnVertex(i);
        const CGO_Point b = arc.DrawnVertex(i + 1);
        if (SegmentHitsRegion(a.x, a.y, b.x, b.y, box))
            return true;
    }
    return false;
}

} // namespace

CGO_Box PickRegion(const WorldCoordinates& range, const int viewport[4], double x, double y, double size)
{
    const double spanX = range.xMax - range.xMin;
    const double spanY = range.yMax - range.yMin;
    const double half = size / 2.0;
    CGO_Box region;
    region.xMin = range.xMin + (x - half - viewport[0]) * spanX / viewport[2];
    region.xMax = range.xMin + (x + half - viewport[0]) * spanX / viewport[2];
    region.yMin = range.yMin + (y - half - viewport[1]) * spanY / viewport[3];
    region.yMax = range.yMin + (y + half - viewport[1]) * spanY / viewport[3];
    return region;
}

bool SegmentHitsRegion(double ax, double ay, double bx, double by, const CGO_Box& region)
{
    if (!IsValid(region) || !std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by))
        return false;
    // Signed distances inside each of the four sides; a point on a side is in.
    const double a[4] = {ax - region.xMin, region.xMax - ax, ay - region.yMin, region.yMax - ay};
    const double b[4] = {bx - region.xMin, region.xMax - bx, by - region.yMin, region.yMax - by};
    // The share of the segment cut off at a's end and at b's end, as the
    // clipper of the selection computes them.
    double cutAtA = 0.0;
    double cutAtB = 0.0;
    for (int side = 0; side < 4; ++side) {
        if (a[side] < 0.0 && b[side] < 0.0)
            return false;
        if (a[side] < 0.0)
            cutAtA = std::max(cutAtA, a[side] / (a[side] - b[side]));
        if (b[side] < 0.0)
            cutAtB = std::max(cutAtB, b[side] / (b[side] - a[side]));
    }
    // Unclipped, even a point counts; clipped, something must remain.
    return cutAtA + cutAtB < 1.0 || (cutAtA == 0.0 && cutAtB == 0.0);
}

bool DrawnHitsRegion(const CGO_GeoObject& object, const CGO_Box& box)
{
    if (!IsValid(box))
        return false;
    CGO_Outline outline;
    object.GetOutline(outline);
    for (const CGO_Primitive& primitive : outline) {
        if (primitive.IsSegment() ? SegmentHitsRegion(primitive.a.x, primitive.a.y, primitive.b.x, primitive.b.y, box)
                                  : ArcHitsRegion(primitive, box))
            return true;
    }
    return false;
}

CHit HitTest(CSpatialIndex& index, const CGO_Box& region)
{
    // The outline's float vertices may stand out of the circle's box by a
    // rounding step, so the index is asked for a slightly larger region.
    const double slack = (std::max({std::fabs(region.xMin), std::fabs(region.xMax), std::fabs(region.yMin),
                                    std::fabs(region.yMax)}) +
                          std::max(region.Width(), region.Height())) *
                         0x1p-20;
    const CGO_Box wider{region.xMin - slack, region.yMin - slack, region.xMax + slack, region.yMax + slack};
    std::vector<int> slots;
    index.Query(wider, slots);
    const CGO_Database& db = index.GetDatabase();
    std::vector<std::pair<int, int>> byId; // id, slot
    byId.reserve(slots.size());
    for (int slot : slots) {
        const CGO_GeoObject* object = db.GetAt(slot);
        if (object != nullptr && object->GetId() >= 0 && object->GetId() < db.GetSize())
            byId.emplace_back(object->GetId(), slot);
    }
    std::sort(byId.begin(), byId.end());
    CHit hit;
    for (const auto& [id, slot] : byId) {
        const CGO_GeoObject* object = db.GetAt(slot);
        if (DrawnHitsRegion(*object, region)) {
            hit.m_nSlot = slot;
            hit.m_nId = id;
            hit.m_pObject = object;
            break;
        }
    }
    return hit;
}

} // namespace hittest
