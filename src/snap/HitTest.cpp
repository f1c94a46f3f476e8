// The CPU pick: each segment clipped against the region in double as the
// selection clips it, a circle's strip only where it comes near the region.
#include "snap/HitTest.h"

#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "snap/SpatialIndex.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace hittest {

namespace {

bool IsValid(const CGO_Box& box)
{
    return box.xMin <= box.xMax && box.yMin <= box.yMax; // false for NaN as well
}

// Directions of the outline's vertices, near enough to find which of its
// segments can come near a box; the exact vertices decide.
const std::array<std::pair<double, double>, CGO_Circle::OUTLINE_VERTICES>& OutlineDirections()
{
    static const auto directions = [] {
        std::array<std::pair<double, double>, CGO_Circle::OUTLINE_VERTICES> table{};
        for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i) {
            const double a = i * M_PI / 180.0;
            table[static_cast<std::size_t>(i)] = {std::cos(a), std::sin(a)};
        }
        return table;
    }();
    return directions;
}

bool OutlineHitsRegion(CGO_Point center, float radius, const CGO_Box& box)
{
    if (!std::isfinite(center.x) || !std::isfinite(center.y) || !std::isfinite(radius))
        return false;
    const double r = radius;
    const double cx = center.x;
    const double cy = center.y;
    // The exact vertices differ from the estimates by the float angle's
    // rounding (a few 1e-7 radians) and the float rounding of the vertex.
    const double margin = std::fabs(r) * 4e-6 + (std::fabs(cx) + std::fabs(cy) + std::fabs(r)) * 0x1p-22;
    const auto& directions = OutlineDirections();
    for (int i = 0; i + 1 < CGO_Circle::OUTLINE_VERTICES; ++i) {
        const auto& [c0, s0] = directions[static_cast<std::size_t>(i)];
        const auto& [c1, s1] = directions[static_cast<std::size_t>(i + 1)];
        const double x0 = cx + r * c0, y0 = cy + r * s0;
        const double x1 = cx + r * c1, y1 = cy + r * s1;
        if (std::max(x0, x1) + margin < box.xMin || std::min(x0, x1) - margin > box.xMax ||
            std::max(y0, y1) + margin < box.yMin || std::min(y0, y1) - margin > box.yMax)
            continue;
        const CGO_Point a = CGO_Circle::OutlineVertex(center, radius, i);
        const CGO_Point b = CGO_Circle::OutlineVertex(center, radius, i + 1);
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
    const CGO_RuntimeClass* type = object.GetRuntimeClass();
    if (type == &CGO_Line::s_runtimeClass) {
        const auto& line = static_cast<const CGO_Line&>(object);
        return SegmentHitsRegion(line.GetP1().x, line.GetP1().y, line.GetP2().x, line.GetP2().y, box);
    }
    if (type == &CGO_Circle::s_runtimeClass) {
        const auto& circle = static_cast<const CGO_Circle&>(object);
        return IsValid(box) && OutlineHitsRegion(circle.GetCenter(), circle.GetRadius(), box);
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
