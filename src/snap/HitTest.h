// Which object a click in pick mode would pick, found on the CPU through the
// spatial index instead of a selection-mode pass: the same pick region, the
// same drawn geometry, the same rule that the lowest id wins. The hover
// highlight and the status bar's "object under the cursor" ask this.
#pragma once

#include "geometry/GO_Box.h"
#include "view/scene/ViewRange.h"

class CGO_GeoObject;
class CSpatialIndex;

namespace hittest {

// The world rectangle that selection picks through after
// gluPickMatrix(x, y, size, size, viewport) and gluOrtho2D(range): the
// size x size square centred on (x, y), in the GL window coordinates
// (device pixels, y upwards) that CGraphics::Pick is called with.
CGO_Box PickRegion(const WorldCoordinates& range, const int viewport[4], double x, double y, double size);

// Whether selection counts the segment a-b as drawn into the region, worked
// out in double the way the GL's clipper decides it: a segment with both
// ends in the closed region counts, a zero-length one too; a segment that
// has to be clipped counts when a piece of positive length remains. So a
// segment along the region's edge counts, one that only touches it from
// outside (through a corner, or ending on a side) does not. False for
// non-finite input, and for a region with a NaN edge or a minimum above its
// maximum.
bool SegmentHitsRegion(double ax, double ay, double bx, double by, const CGO_Box& region);

// Whether what the object draws is hit in the region: each primitive of its
// outline as its display list draws it (CGO_Primitive::DrawnVertex), a
// segment between its stored ends, an arc or circle as its strip, segment by
// segment, not the true curve, so a region inside a circle hits nothing. A
// bare object draws nothing.
bool DrawnHitsRegion(const CGO_GeoObject& object, const CGO_Box& region);

struct CHit {
    int m_nSlot = -1;
    int m_nId = -1;
    const CGO_GeoObject* m_pObject = nullptr;

    bool IsHit() const { return m_pObject != nullptr; }
};

// The object a selection-mode pick through region reports: of the objects
// whose drawn geometry is hit in region, the one with the lowest id. Objects the
// scene does not draw are never hit: those without an id, and those whose
// id lies beyond the slot count (the scene calls the lists 100 to 100 + slot
// count - 1).
//
// Where it can differ from the pick: the selection transforms and clips in
// single precision, this test works in double, so geometry within the
// float rounding of the region's edge may fall on either side. That is
// about 1e-3 pixels at moderate ranges; deep in a zoom far from the origin,
// where a pixel comes near the float steps of the coordinates, it grows to
// several hundredths of a pixel (about 2^-24 x the coordinates' size / the
// world units per pixel). Geometry with infinite or NaN coordinates is never
// hit, as the clipper discards it.
CHit HitTest(CSpatialIndex& index, const CGO_Box& region);

} // namespace hittest
