#include "database/GO_SlotTable.h"

#include <utility>

CGO_SlotTable::Owned CGO_SlotTable::exchange(std::size_t slot, Owned object)
{
    Block& block = m_blocks[slot >> kBlockBits];
    if (!block) {
        if (!object)
            return nullptr;
        block.reset(new Owned[kBlockSize]);
    }
    Owned previous = std::move(block[slot & kBlockMask]);
    block[slot & kBlockMask] = std::move(object);
    return previous;
}

void CGO_SlotTable::push_back(Owned object)
{
    // Reserved first, so a failed allocation leaves the table as it was.
    if ((m_nSize >> kBlockBits) >= m_blocks.size())
        m_blocks.emplace_back();
    ++m_nSize;
    try {
        exchange(m_nSize - 1, std::move(object));
    } catch (...) {
        --m_nSize;
        throw;
    }
}

void CGO_SlotTable::resize(std::size_t count)
{
    const std::size_t blocks = (count + kBlockMask) >> kBlockBits;
    if (count < m_nSize) {
        for (std::size_t slot = count; slot < m_nSize && (slot >> kBlockBits) < blocks; ++slot)
            exchange(slot, nullptr);
    }
    m_blocks.resize(blocks);
    m_nSize = count;
}

void CGO_SlotTable::clear()
{
    m_blocks.clear();
    m_nSize = 0;
}

std::size_t CGO_SlotTable::occupied() const
{
    std::size_t count = 0;
    for (const Block& block : m_blocks) {
        if (!block)
            continue;
        for (std::size_t index = 0; index < kBlockSize; ++index)
            count += block[index] ? 1 : 0;
    }
    return count;
}
