// Writing the records of a drawing as an ASCII DXF file (R12): LINE and
// CIRCLE entities on layer "0", the drawing's extents in the header, and
// every coordinate with the digits it takes to read back the very float.
#pragma once

#include "database/GO_ObjectRecord.h"
#include "database/Progress.h"

#include <string>
#include <vector>

class CDxfWriter {
public:
    // The file's bytes. False, with the reason in GetError(), when a record
    // holds a value that DXF cannot carry (infinite or not a number).
    // A reporter that says stop ends it so, with progress::kCancelled.
    bool Write(const std::vector<CGO_ObjectRecord>& records, std::vector<unsigned char>& bytes,
               IProgress* progress = nullptr);

    const std::string& GetError() const { return m_strError; }

    // The shortest decimal text that reads back as exactly this float, also
    // through a double as most readers go.
    static std::string FormatFloat(float value);

private:
    std::string m_strError;
};
