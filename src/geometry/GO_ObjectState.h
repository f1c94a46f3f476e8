// The exact geometry of one object, float for float: what undo stores before
// and after a change, so that going back restores every bit. It is the
// object's data record (what a drawing file holds of it), followed by
// whatever else the object keeps, such as a circle's peripheral point.
#pragma once

#include <cstring>
#include <vector>

struct CGO_ObjectState {
    std::vector<float> values;

    // Bit for bit, so that -0.0 and 0.0 differ and a NaN equals itself.
    bool operator==(const CGO_ObjectState& other) const
    {
        return values.size() == other.values.size() &&
               (values.empty() || std::memcmp(values.data(), other.values.data(), values.size() * sizeof(float)) == 0);
    }
    bool operator!=(const CGO_ObjectState& other) const { return !(*this == other); }
};
