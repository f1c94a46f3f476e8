// What a drawing file would hold of the drawing, to tell whether the drawing
// changed since it was last saved or loaded.
#pragma once

#include <cstdint>
#include <vector>

class CGO_Database;

class CDrawingSnapshot {
public:
    // An empty drawing.
    CDrawingSnapshot() = default;

    static CDrawingSnapshot Take(const CGO_Database& database);

    // True when no slot holds an object: then there is nothing to lose.
    bool HasNoObjects() const { return m_nObjects == 0; }

    bool operator==(const CDrawingSnapshot& other) const { return m_words == other.m_words; }
    bool operator!=(const CDrawingSnapshot& other) const { return !(*this == other); }

private:
    // Per slot a class code, then the stored floats bit for bit.
    std::vector<std::uint32_t> m_words;
    int m_nObjects = 0;
};
