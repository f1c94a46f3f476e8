// Which DXF entity each kind of object is exchanged as: one row per kind,
// read by the DXF reader and writer, so that a new kind is one more row.
#pragma once

#include "database/GO_ObjectRecord.h"
#include "geometry/GO_Box.h"

#include <string_view>

class DL_Dxf;
class DL_WriterA;
class DL_Attributes;

struct CDxfEntityKind {
    const CGO_RuntimeClass* runtimeClass;
    const char* entity; // "LINE"
    // The box of what the record draws, for the file's extents.
    CGO_Box (*bounds)(const CGO_ObjectRecord& record);
    void (*write)(DL_Dxf& dxf, DL_WriterA& writer, const CGO_ObjectRecord& record, const DL_Attributes& attributes);
};

// The row of a kind, or null for a kind DXF cannot hold.
const CDxfEntityKind* DxfKindOfClass(const CGO_RuntimeClass* runtimeClass);
// The row of an entity type, or null.
const CDxfEntityKind* DxfKindOfEntity(std::string_view entity);
