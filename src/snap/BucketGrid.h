// One level of the spatial index: a uniform grid of square cells over the
// whole plane, of which only the occupied cells are stored, found through a
// hash table. Each box is filed once, in the cell of its centre; a level
// only takes boxes no wider and no taller than its cells.
#pragma once

#include "geometry/GO_Box.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CBucketGrid {
public:
    struct CEntry {
        CGO_Box m_box;
        int m_nSlot;
    };

    // Files the entries in cells of side cell (positive, finite) counted from
    // the origin. Boxes must be finite and fit a cell. Entries of one cell
    // keep the order they come in.
    void Build(double cell, double originX, double originY, const std::vector<CEntry>& entries);

    // Appends to slots the slot of every entry whose box meets rect (closed
    // boxes, so touching counts). rect must be a valid box; its edges may be
    // infinite.
    void Query(const CGO_Box& rect, std::vector<int>& slots) const;

    double GetCellSize() const { return m_dCell; }
    std::size_t GetSize() const { return m_entries.size(); }
    std::size_t GetCellCount() const { return m_nCells; }
    std::size_t GetMemoryBytes() const;

private:
    struct CCell {
        std::uint64_t m_nKey = 0;
        std::uint32_t m_nBegin = 0;
        std::uint32_t m_nEnd = 0; // m_nBegin == m_nEnd: a free place in the table
    };

    std::int64_t Column(double x) const;
    std::int64_t Row(double y) const;
    std::size_t Place(std::uint64_t key) const;
    const CCell* Find(std::uint64_t key) const;
    void Rehash(std::size_t capacity);
    void ScanCell(const CCell& cell, const CGO_Box& rect, std::vector<int>& slots) const;

    double m_dCell = 1.0;
    double m_dOriginX = 0.0;
    double m_dOriginY = 0.0;
    std::vector<CEntry> m_entries; // grouped by cell
    std::vector<CCell> m_table;    // open addressing, a power of two long
    std::size_t m_nCells = 0;
    int m_nHashShift = 64;
};
