// One slot of a drawing as plain data: the object's class and the floats of
// its data record, exactly as it serializes them. Drawing files of other
// formats are read into and written from these.
#pragma once

#include "geometry/GO_RuntimeClass.h"

#include <array>

struct CGO_ObjectRecord {
    // Null for an empty slot.
    const CGO_RuntimeClass* runtimeClass = nullptr;
    // The first m_nRecordFloats of the class are used: x1, y1, x2, y2 of a
    // line, or x, y, r of a circle.
    std::array<float, CGO_RuntimeClass::kMaxRecordFloats> values{};
};
