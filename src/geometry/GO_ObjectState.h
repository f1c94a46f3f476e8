// The exact geometry of one object, float for float: what undo stores before
// and after a change, so that going back restores every bit.
#pragma once

#include <array>
#include <cstring>

struct CGO_ObjectState {
    // A line: P1.x, P1.y, P2.x, P2.y. A circle: C.x, C.y, P.x, P.y, radius.
    std::array<float, 5> values{};
    unsigned char count = 0;

    // Bit for bit, so that -0.0 and 0.0 differ and a NaN equals itself.
    bool operator==(const CGO_ObjectState& other) const
    {
        return count == other.count && std::memcmp(values.data(), other.values.data(), sizeof values) == 0;
    }
    bool operator!=(const CGO_ObjectState& other) const { return !(*this == other); }
};
