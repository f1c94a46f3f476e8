// The outline of the unit circle, compiled once per context into a display
// list of its own that every circle's list places by a translation and a
// scaling. Mesa allocates and hashes each vertex of a list while compiling
// it; a circle's list now holds a handful of commands instead of 361
// vertices.
#pragma once

#include "geometry/GO_GeoObject.h"
#include "geometry/GO_Point.h"

class CGO_SharedOutline {
public:
    // The list number. Object lists are id + DISPLAY_LIST_OFFSET with ids
    // never negative, so no object is ever given it; nothing deletes it, so
    // it lives as long as its context and every list that calls it.
    static constexpr unsigned LIST = 99;
    static_assert(LIST < CGO_GeoObject::DISPLAY_LIST_OFFSET, "outside the object lists");

    // Compiles the outline in the current context unless the context has it
    // already (a new context has no lists). False only when a context is
    // current and the list could not be made.
    static bool EnsureInCurrentContext();

    // Whether a circle's list places the shared outline rather than holding
    // its own strip: where the centre lies so far out, against the radius,
    // that the float rounding of the placement could differ from that of
    // the strip by a visible share of the circle, the strip stays.
    static bool CanPlace(CGO_Point center, float radius);

    // The commands of a circle's list that place the outline at centre and
    // radius on the current matrix, which they leave as they found it. A
    // list called with the projection current needs an identity model view.
    static void EmitPlacement(CGO_Point center, float radius);

    // The centre may lie at most this many radii from the origin on either
    // axis for the outline to be placed. The placement's rounding grows with
    // the ratio: about 0.01 pixel at 1024 radii in a view the circle fills,
    // 0.04 at 4096, half a pixel at 40000.
    static constexpr float kMaxCentreInRadii = 1024.0f;
};
