// Reading a DXF file into the records of a drawing: its model space's LINE
// and CIRCLE entities, 2D only, with everything else counted by type.
#pragma once

#include "database/GO_ObjectRecord.h"
#include "database/Progress.h"
#include "exchange/SkippedEntities.h"

#include <string>
#include <vector>

class CDxfReader {
public:
    // Reads a whole file held in memory. False, with the reason in
    // GetError(), when it is not a sound ASCII DXF file or holds a line or
    // circle the drawing cannot represent; no record is kept then. A
    // reporter that says stop ends it so, with progress::kCancelled.
    bool Read(const std::vector<unsigned char>& bytes, IProgress* progress = nullptr);

    // One record per imported entity, in file order.
    const std::vector<CGO_ObjectRecord>& GetRecords() const { return m_records; }
    const CSkippedEntities& GetSkipped() const { return m_skipped; }
    const std::string& GetError() const { return m_strError; }

private:
    std::vector<CGO_ObjectRecord> m_records;
    CSkippedEntities m_skipped;
    std::string m_strError;
};
