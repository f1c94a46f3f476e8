// The entities the DXF scanner keeps whole for the drawing's own decoding:
// polylines with their vertices, block references, ellipses, and every
// entity of a block definition. Each is its type and its groups in file order.
#pragma once

#include <map>
#include <string>
#include <vector>

struct CDxfGroup {
    int code;
    std::string value; // trimmed
    int line;          // of the code
};

struct CDxfEntity {
    std::string type;
    int line = 0;    // of its type
    int ordinal = 0; // its place among the model space's imported entities
    std::vector<CDxfGroup> groups;
};

struct CDxfBlock {
    std::vector<CDxfGroup> header; // the BLOCK entity's groups: name, base point
    std::vector<CDxfEntity> entities;
};

using CDxfBlocks = std::map<std::string, CDxfBlock>;
