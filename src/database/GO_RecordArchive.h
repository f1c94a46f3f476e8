// The archive over one record's floats: objects store into it and load from
// it exactly as they do with a drawing file.
#pragma once

#include "database/GO_ObjectRecord.h"
#include "geometry/GO_Archive.h"

#include <cstddef>

class CRecordArchive : public CGO_Archive {
public:
    static CRecordArchive Storing(CGO_ObjectRecord& record) { return CRecordArchive(&record, record); }
    static CRecordArchive Loading(const CGO_ObjectRecord& record) { return CRecordArchive(nullptr, record); }

    bool IsStoring() const override { return m_pTarget != nullptr; }
    void WriteFloat(float value) override
    {
        if (m_pTarget != nullptr && m_nNext < m_pTarget->values.size())
            m_pTarget->values[m_nNext++] = value;
    }
    float ReadFloat() override { return m_nNext < m_source.values.size() ? m_source.values[m_nNext++] : 0.0f; }

private:
    CRecordArchive(CGO_ObjectRecord* target, const CGO_ObjectRecord& source) : m_pTarget(target), m_source(source) {}

    CGO_ObjectRecord* m_pTarget;
    const CGO_ObjectRecord& m_source;
    std::size_t m_nNext = 0;
};
