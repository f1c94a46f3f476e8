// The snap search: gather candidates near the cursor, keep the best by the
// distance and the rank of kinds.
#include "snap/Snapper.h"

#include "database/GO_Database.h"
#include "geometry/GO_GeoObject.h"
#include "snap/GridSnap.h"
#include "snap/SnapGeometry.h"
#include "snap/SpatialIndex.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Rank at equal distance: lower wins.
int Rank(unsigned kind)
{
    switch (kind) {
    case SNAP_ENDPOINT: return 0;
    case SNAP_INTERSECTION: return 1;
    case SNAP_CENTER: return 2;
    case SNAP_MIDPOINT: return 3;
    case SNAP_QUADRANT: return 4;
    default: return 5;
    }
}

constexpr unsigned kObjectKinds = SNAP_ENDPOINT | SNAP_MIDPOINT | SNAP_CENTER | SNAP_QUADRANT | SNAP_INTERSECTION;

// Snap points are rounded to floats and boxes are in double: the search
// rectangle is widened by a little more than a float step, so a point at the
// very edge of the tolerance still finds its object.
double Slack(double x, double y, double reach)
{
    return (std::max(std::fabs(x), std::fabs(y)) + reach) * 0x1p-20;
}

bool IsUsable(const CSnapQuery& query)
{
    const auto positive = [](double v) { return v > 0.0 && std::isfinite(v); };
    return std::isfinite(query.m_dX) && std::isfinite(query.m_dY) && positive(query.m_dWorldPerPixelX) &&
           positive(query.m_dWorldPerPixelY) && query.m_dTolerancePixels >= 0.0 &&
           std::isfinite(query.m_dTolerancePixels);
}

} // namespace

CSnapResult CSnapper::FindSnap(const CSnapQuery& query)
{
    m_best = CSnapResult();
    m_slots.clear();
    m_near.clear();
    if (!IsUsable(query))
        return m_best;
    m_query = query;
    m_dToleranceSquared = query.m_dTolerancePixels * query.m_dTolerancePixels;
    const double reachX = query.m_dTolerancePixels * query.m_dWorldPerPixelX;
    const double reachY = query.m_dTolerancePixels * query.m_dWorldPerPixelY;
    const double slack = Slack(query.m_dX, query.m_dY, std::max(reachX, reachY));
    m_dNearWorld = std::max(reachX, reachY) + slack;

    if (query.m_nKinds & kObjectKinds) {
        const CGO_Box rect{query.m_dX - reachX - slack, query.m_dY - reachY - slack, query.m_dX + reachX + slack,
                           query.m_dY + reachY + slack};
        m_index.Query(rect, m_slots);
        const CGO_Database& db = m_index.GetDatabase();
        for (int slot : m_slots) {
            const CGO_GeoObject* object = db.GetAt(slot);
            if (object == nullptr || object->GetId() == query.m_nExcludeId)
                continue;
            ObjectPoints(*object);
            if (query.m_nKinds & SNAP_INTERSECTION)
                NoteNear(*object);
        }
        if (query.m_nKinds & SNAP_INTERSECTION)
            Crossings();
    }
    if (query.m_nKinds & SNAP_GRID) {
        const gridsnap::CGridSpacing spacing =
            gridsnap::GridSpacing(std::max(query.m_dWorldPerPixelX, query.m_dWorldPerPixelY));
        CGO_Point point;
        if (gridsnap::SnapToGrid(query.m_dX, query.m_dY, spacing, point))
            Consider(SNAP_GRID, point, -1);
    }
    if (m_best.IsSnapped())
        m_best.m_dDistancePixels = std::sqrt(m_dBestSquared);
    return m_best;
}

void CSnapper::Consider(unsigned kind, CGO_Point point, int id, int otherId)
{
    if (!(m_query.m_nKinds & kind))
        return;
    const double dx = (static_cast<double>(point.x) - m_query.m_dX) / m_query.m_dWorldPerPixelX;
    const double dy = (static_cast<double>(point.y) - m_query.m_dY) / m_query.m_dWorldPerPixelY;
    const double squared = dx * dx + dy * dy;
    if (!(squared <= m_dToleranceSquared))
        return;
    if (m_best.IsSnapped()) {
        const auto key = [](double d, unsigned k, int a, int b, CGO_Point p) {
            return std::make_tuple(d, Rank(k), a, b, p.x, p.y);
        };
        if (key(squared, kind, id, otherId, point) >=
            key(m_dBestSquared, m_best.m_nKind, m_best.m_nId, m_best.m_nOtherId, m_best.m_pt))
            return;
    }
    m_best.m_nKind = kind;
    m_best.m_pt = point;
    m_best.m_nId = id;
    m_best.m_nOtherId = otherId;
    m_dBestSquared = squared;
}

void CSnapper::ObjectPoints(const CGO_GeoObject& object)
{
    CGO_SnapPoints points;
    object.GetSnapPoints(points);
    for (const CGO_SnapPoint& point : points)
        Consider(point.kind, point.point, object.GetId());
}

void CSnapper::NoteNear(const CGO_GeoObject& object)
{
    CNearObject near{CGO_Outline(), object.GetId(), 0.0, CGO_Box()};
    object.GetOutline(near.m_outline);
    if (near.m_outline.Count() == 0 || !object.GetBounds(near.m_box))
        return;
    near.m_dDistance = snapgeo::DistanceToOutline(m_query.m_dX, m_query.m_dY, near.m_outline);
    // A crossing lies on both objects, so an object further away than the
    // tolerance (on the coarser axis) has none that could snap.
    if (near.m_dDistance <= m_dNearWorld)
        m_near.push_back(near);
}

void CSnapper::Crossings()
{
    if (m_near.size() > static_cast<std::size_t>(kSnapMaxCrossingObjects)) {
        const auto nearer = [](const CNearObject& a, const CNearObject& b) {
            return a.m_dDistance != b.m_dDistance ? a.m_dDistance < b.m_dDistance : a.m_nId < b.m_nId;
        };
        std::partial_sort(m_near.begin(), m_near.begin() + kSnapMaxCrossingObjects, m_near.end(), nearer);
        m_near.resize(kSnapMaxCrossingObjects);
    }
    for (std::size_t i = 0; i < m_near.size(); ++i) {
        for (std::size_t j = i + 1; j < m_near.size(); ++j) {
            if (m_near[i].m_box.Intersects(m_near[j].m_box))
                CrossingsOf(m_near[i], m_near[j]);
        }
    }
}

void CSnapper::CrossingsOf(const CNearObject& a, const CNearObject& b)
{
    const int low = std::min(a.m_nId, b.m_nId);
    const int high = std::max(a.m_nId, b.m_nId);
    for (const CGO_Primitive& p : a.m_outline) {
        for (const CGO_Primitive& q : b.m_outline) {
            const snapgeo::CCrossing crossing = snapgeo::IntersectPrimitives(p, q);
            for (int i = 0; i < crossing.m_nCount; ++i)
                Consider(SNAP_INTERSECTION, crossing.m_pt[i], low, high);
        }
    }
}
