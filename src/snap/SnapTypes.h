// What a snap query asks and what it finds: the kinds of snap point, the
// cursor with the view's scale, and the point that won.
#pragma once

#include "geometry/GO_Point.h"
#include "geometry/GO_SnapPoints.h"

// The kinds of snap point, as bits of a set. Bit i belongs to the control
// center's switch IDC_SNAP_ENDPOINT + i (endpoint, midpoint, centre,
// quadrant, intersection, grid).
enum : unsigned {
    SNAP_NONE = 0,
    SNAP_ENDPOINT = GO_POINT_END,
    SNAP_MIDPOINT = GO_POINT_MIDDLE,
    SNAP_CENTER = GO_POINT_CENTER,
    SNAP_QUADRANT = GO_POINT_QUADRANT,
    SNAP_INTERSECTION = 1u << 4,
    SNAP_GRID = 1u << 5,
    SNAP_ALL = (1u << 6) - 1,
};

// A snap point this near the cursor (logical pixels) or nearer snaps.
constexpr double kSnapTolerancePixels = 10.0;
// Crossings are looked for among at most this many objects near the cursor
// (the nearest ones, lower ids first at equal distance), so a crowd of
// objects under the cursor cannot make a mouse move slow.
constexpr int kSnapMaxCrossingObjects = 64;

struct CSnapQuery {
    // The cursor in world coordinates.
    double m_dX = 0.0;
    double m_dY = 0.0;
    // World units per logical pixel on each axis; they differ when the
    // visible range is not square. Distances are measured in these pixels,
    // so the tolerance is in logical pixels whatever the device pixel ratio.
    double m_dWorldPerPixelX = 1.0;
    double m_dWorldPerPixelY = 1.0;
    double m_dTolerancePixels = kSnapTolerancePixels;
    unsigned m_nKinds = SNAP_ALL;
    // An object that offers no snap points, such as the one being dragged;
    // -1 for none.
    int m_nExcludeId = -1;
};

struct CSnapResult {
    unsigned m_nKind = SNAP_NONE; // one kind, or SNAP_NONE when nothing snapped
    // The snap point as it is to be stored: an end point is the line's own
    // stored end, bit for bit.
    CGO_Point m_pt;
    int m_nId = -1;      // the object; for a crossing the lower of the two ids; -1 for the grid
    int m_nOtherId = -1; // the other object of a crossing, else -1
    double m_dDistancePixels = 0.0;

    bool IsSnapped() const { return m_nKind != SNAP_NONE; }
};

// English name of a kind for log lines ("endpoint", ..., "grid"; "none").
inline const char* SnapKindName(unsigned kind)
{
    switch (kind) {
    case SNAP_ENDPOINT: return "endpoint";
    case SNAP_MIDPOINT: return "midpoint";
    case SNAP_CENTER: return "center";
    case SNAP_QUADRANT: return "quadrant";
    case SNAP_INTERSECTION: return "intersection";
    case SNAP_GRID: return "grid";
    default: return "none";
    }
}
