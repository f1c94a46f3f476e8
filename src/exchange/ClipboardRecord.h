// The objects on the clipboard as lumen7 exchanges them between its windows:
// the archive record of every object, bit for bit, and the point the copy
// was taken at. Text of a format of its own, plus DXF text for others.
#pragma once

#include "database/GO_ObjectRecord.h"
#include "geometry/GO_Point.h"

#include <string>
#include <vector>

class CGO_Database;

struct CClipboardContent {
    CGO_Point reference;
    std::vector<CGO_ObjectRecord> records;
};

namespace clipboard {

// The MIME type of the records.
extern const char* const kMimeType;
// More objects than this are refused on reading.
constexpr std::size_t kMaxObjects = 10000000;

// The records of the objects with these ids (those still there), with the
// lower left corner of their boxes as the reference point.
CClipboardContent Collect(const CGO_Database& database, const std::vector<int>& ids);
std::string Encode(const CClipboardContent& content);
// False, with out untouched and a reason in error, for text that is not a
// complete, well-formed record of known kinds with finite values.
bool Decode(const std::string& text, CClipboardContent& out, std::string& error);
// The objects as DXF entities, for programs that read text.
std::string DxfText(const CClipboardContent& content);

} // namespace clipboard
