// An in-memory archive for the geometry tests: records the floats an object
// stores, and hands a prepared list of floats to an object that loads.
#pragma once

#include "geometry/GO_Archive.h"

#include <cstddef>
#include <vector>

namespace testsupport {

class MemoryArchive : public CGO_Archive {
public:
    // An archive that records what is written.
    MemoryArchive() : m_bStoring(true) {}
    // An archive that hands out these floats, in order.
    explicit MemoryArchive(std::vector<float> floats) : m_bStoring(false), m_floats(std::move(floats)) {}

    bool IsStoring() const override { return m_bStoring; }
    void WriteFloat(float value) override { m_floats.push_back(value); }
    float ReadFloat() override
    {
        if (m_nRead >= m_floats.size()) {
            m_bFailed = true;
            return 0.0f;
        }
        return m_floats[m_nRead++];
    }

    const std::vector<float>& Floats() const { return m_floats; }
    std::size_t FloatsRead() const { return m_nRead; }
    bool Failed() const { return m_bFailed; }

private:
    bool m_bStoring;
    std::vector<float> m_floats;
    std::size_t m_nRead = 0;
    bool m_bFailed = false;
};

} // namespace testsupport
