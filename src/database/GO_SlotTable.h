// The slots of a drawing: one position for every object ever appended, with
// empty ones where objects were removed. A drawing file may hold millions of
// empty slots in a row; a block of slots costs memory only once one of its
// slots holds an object, so such a file takes little more than its own size.
#pragma once

#include "geometry/GO_GeoObject.h"

#include <cstddef>
#include <memory>
#include <vector>

class CGO_SlotTable {
public:
    using Owned = std::unique_ptr<CGO_GeoObject>;

    std::size_t size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }

    // The object in a slot; null for an empty slot or one out of range.
    CGO_GeoObject* get(std::size_t slot) const
    {
        if (slot >= m_nSize)
            return nullptr;
        const Block& block = m_blocks[slot >> kBlockBits];
        return block ? block[slot & kBlockMask].get() : nullptr;
    }
    // Puts object into the slot and hands back what it held before. The slot
    // must be in range. May throw std::bad_alloc when a block must be made;
    // the table is unchanged then.
    Owned exchange(std::size_t slot, Owned object);
    // Appends one slot holding object (which may be null).
    void push_back(Owned object);
    // Grows by empty slots or shrinks, destroying the objects cut off.
    void resize(std::size_t count);
    void clear();
    // How many slots hold an object.
    std::size_t occupied() const;

private:
    static constexpr std::size_t kBlockBits = 10;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;
    static constexpr std::size_t kBlockMask = kBlockSize - 1;
    using Block = std::unique_ptr<Owned[]>;

    std::vector<Block> m_blocks;
    std::size_t m_nSize = 0;
};
