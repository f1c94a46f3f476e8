// A hashed uniform grid, built in two passes like a counting sort: count the
// boxes per cell, then lay the cells out one after another.
#include "snap/BucketGrid.h"

#include <algorithm>
#include <cmath>

namespace {

// Cell numbers are clamped to this many cells either side of the origin, so
// far-off boxes share the outermost cells instead of overflowing a number.
// Clamping keeps the order of cells, so no box is lost by it.
constexpr double kCellLimit = 0x1p30;

// A box lies within half a cell of its centre's cell; the rest of the margin
// takes up rounding in the cell arithmetic.
constexpr double kQueryMargin = 0.5 + 1.0 / 64.0;

constexpr std::uint64_t kHashMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t Key(std::int64_t column, std::int64_t row)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) |
           static_cast<std::uint32_t>(row);
}

std::size_t PowerOfTwoAtLeast(std::size_t n)
{
    std::size_t capacity = 16;
    while (capacity < n)
        capacity *= 2;
    return capacity;
}

int ShiftFor(std::size_t capacity)
{
    int bits = 0;
    while ((std::size_t(1) << bits) < capacity)
        ++bits;
    return 64 - bits;
}

} // namespace

std::int64_t CBucketGrid::Column(double x) const
{
    return static_cast<std::int64_t>(std::clamp(std::floor((x - m_dOriginX) / m_dCell), -kCellLimit, kCellLimit));
}

std::int64_t CBucketGrid::Row(double y) const
{
    return static_cast<std::int64_t>(std::clamp(std::floor((y - m_dOriginY) / m_dCell), -kCellLimit, kCellLimit));
}

std::size_t CBucketGrid::Place(std::uint64_t key) const
{
    const std::size_t mask = m_table.size() - 1;
    std::size_t place = static_cast<std::size_t>((key * kHashMultiplier) >> m_nHashShift);
    while (m_table[place].m_nBegin != m_table[place].m_nEnd && m_table[place].m_nKey != key)
        place = (place + 1) & mask;
    return place;
}

const CBucketGrid::CCell* CBucketGrid::Find(std::uint64_t key) const
{
    const CCell& cell = m_table[Place(key)];
    return cell.m_nBegin != cell.m_nEnd ? &cell : nullptr;
}

void CBucketGrid::Build(double cell, double originX, double originY, const std::vector<CEntry>& entries)
{
    m_dCell = cell;
    m_dOriginX = originX;
    m_dOriginY = originY;
    m_nCells = 0;
    m_table.assign(PowerOfTwoAtLeast(2 * entries.size()), CCell());
    m_nHashShift = ShiftFor(m_table.size());

    // Count per cell; m_nEnd holds the count for now.
    std::vector<std::uint32_t> placeOf(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CGO_Box& box = entries[i].m_box;
        const std::uint64_t key = Key(Column((box.xMin + box.xMax) / 2.0), Row((box.yMin + box.yMax) / 2.0));
        const std::size_t place = Place(key);
        CCell& target = m_table[place];
        if (target.m_nBegin == target.m_nEnd) {
            target.m_nKey = key;
            ++m_nCells;
        }
        ++target.m_nEnd;
        placeOf[i] = static_cast<std::uint32_t>(place);
    }
    // Lay the cells out; m_nEnd becomes the fill position.
    std::uint32_t next = 0;
    for (CCell& target : m_table) {
        if (target.m_nBegin == target.m_nEnd)
            continue;
        const std::uint32_t count = target.m_nEnd;
        target.m_nBegin = next;
        target.m_nEnd = next;
        next += count;
    }
    m_entries.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        m_entries[m_table[placeOf[i]].m_nEnd++] = entries[i];

    // Many boxes to a cell leave the table mostly empty.
    const std::size_t fitting = PowerOfTwoAtLeast(2 * m_nCells);
    if (fitting * 4 <= m_table.size())
        Rehash(fitting);
}

void CBucketGrid::Rehash(std::size_t capacity)
{
    std::vector<CCell> old(capacity);
    old.swap(m_table);
    m_nHashShift = ShiftFor(m_table.size());
    for (const CCell& cell : old) {
        if (cell.m_nBegin != cell.m_nEnd)
            m_table[Place(cell.m_nKey)] = cell;
    }
}

void CBucketGrid::ScanCell(const CCell& cell, const CGO_Box& rect, std::vector<int>& slots) const
{
    for (std::uint32_t i = cell.m_nBegin; i < cell.m_nEnd; ++i) {
        if (m_entries[i].m_box.Intersects(rect))
            slots.push_back(m_entries[i].m_nSlot);
    }
}

void CBucketGrid::Query(const CGO_Box& rect, std::vector<int>& slots) const
{
    if (m_entries.empty())
        return;
    const double margin = m_dCell * kQueryMargin;
    const std::int64_t firstColumn = Column(rect.xMin - margin);
    const std::int64_t lastColumn = Column(rect.xMax + margin);
    const std::int64_t firstRow = Row(rect.yMin - margin);
    const std::int64_t lastRow = Row(rect.yMax + margin);
    const double cells =
        static_cast<double>(lastColumn - firstColumn + 1) * static_cast<double>(lastRow - firstRow + 1);
    // A rectangle over more cells than are occupied is cheaper to answer
    // by looking at every box once.
    if (cells > static_cast<double>(m_nCells)) {
        for (const CEntry& entry : m_entries) {
            if (entry.m_box.Intersects(rect))
                slots.push_back(entry.m_nSlot);
        }
        return;
    }
    for (std::int64_t column = firstColumn; column <= lastColumn; ++column) {
        for (std::int64_t row = firstRow; row <= lastRow; ++row) {
            if (const CCell* cell = Find(Key(column, row)))
                ScanCell(*cell, rect, slots);
        }
    }
}

std::size_t CBucketGrid::GetMemoryBytes() const
{
    return m_entries.capacity() * sizeof(CEntry) + m_table.capacity() * sizeof(CCell);
}
