// Finding the snap point for the cursor: the candidates of the objects near
// it, their crossings and the grid, and the rule that picks one of them.
#pragma once

#include "geometry/GO_Box.h"
#include "geometry/GO_Outline.h"
#include "snap/SnapTypes.h"

#include <vector>

class CGO_GeoObject;
class CSpatialIndex;

// The rule: a candidate within the tolerance snaps, the nearest one wins,
// and at exactly equal distance the kinds rank endpoint, intersection,
// centre, midpoint, quadrant, grid; after that the lower object id, then
// the lower other id, then the lower x and y. Distances are in double from
// the cursor to the candidate's float point, in logical pixels of the
// query's scale on each axis.
//
// Only objects whose boxes meet the tolerance rectangle around the cursor
// are looked at (through the spatial index), and crossings only among those
// of them whose outline passes within the tolerance, at most
// kSnapMaxCrossingObjects of them. The grid's spacing is
// gridsnap::GridSpacing of the larger of the two scales, the one the view
// draws the grid with.
class CSnapper {
public:
    explicit CSnapper(CSpatialIndex& index) : m_index(index) {}

    // No snap (SNAP_NONE) when nothing is near enough, or when the cursor,
    // the scales or the tolerance are not finite (scales not positive).
    CSnapResult FindSnap(const CSnapQuery& query);

    // Of the last query: how many objects were looked at, and how many took
    // part in the search for crossings (after the cap).
    int GetObjectsSeen() const { return static_cast<int>(m_slots.size()); }
    int GetCrossingObjects() const { return static_cast<int>(m_near.size()); }

private:
    struct CNearObject {
        CGO_Outline m_outline;
        int m_nId;
        double m_dDistance;
        CGO_Box m_box;
    };

    void Consider(unsigned kind, CGO_Point point, int id, int otherId = -1);
    void ObjectPoints(const CGO_GeoObject& object);
    void NoteNear(const CGO_GeoObject& object);
    void Crossings();
    void CrossingsOf(const CNearObject& a, const CNearObject& b);

    CSpatialIndex& m_index;
    CSnapQuery m_query;
    double m_dToleranceSquared = 0.0;
    double m_dNearWorld = 0.0;
    CSnapResult m_best;
    double m_dBestSquared = 0.0;
    std::vector<int> m_slots;
    std::vector<CNearObject> m_near;
};
