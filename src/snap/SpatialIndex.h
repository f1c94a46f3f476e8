// Which objects of the drawing have boxes that meet a rectangle, found
// without looking at every object: what snapping and the hover highlight ask
// on every mouse move. The index watches the database and follows each
// change the next time it is asked.
#pragma once

#include "database/GO_DatabaseObserver.h"
#include "snap/BucketGrid.h"

#include <cstddef>
#include <vector>

class CGO_Database;

// Boxes are those of CGO_GeoObject::GetBounds, in double. They are filed in
// levels of uniform grids whose cells double in size from level to level,
// each box in the level whose cells are just large enough for it, so that a
// few huge objects among many small ones cost a level of their own and no
// memory per cell they span. The size of the finest cells follows the
// drawing (its typical object size and spacing); boxes with an infinite
// edge are kept in a list of their own, boxes with a NaN edge meet nothing.
//
// Changes: OnSlotChanging only notes the slot, because the database tells
// before the change (and the caller of Find transforms afterwards). The
// next query reads the noted slots' boxes anew and keeps them in a small
// list of recent changes beside the grids; a load or clear, or more recent
// changes than a small share of the drawing, rebuilds everything.
class CSpatialIndex : public IGO_DatabaseObserver {
public:
    // Watches db from now on; db must outlive the index. Nothing is built
    // before the first query.
    explicit CSpatialIndex(CGO_Database& db);
    ~CSpatialIndex() override;

    // slots := the slots whose objects' boxes meet rect (closed boxes, so
    // touching counts), in increasing order, each once. A rect with a NaN
    // edge, or with its minimum above its maximum on an axis, meets nothing;
    // infinite edges are allowed. Brings the index up to date first.
    void Query(const CGO_Box& rect, std::vector<int>& slots);

    // Brings the index up to date now; every query does so by itself.
    void Refresh();

    const CGO_Database& GetDatabase() const { return m_db; }

    // What the index holds, for benchmarks and tests.
    struct CStats {
        std::size_t m_nFiled = 0;     // boxes in the grids and the unbounded list
        std::size_t m_nRecent = 0;    // boxes in the list of recent changes
        std::size_t m_nLevels = 0;    // grids in use
        std::size_t m_nRebuilds = 0;  // full builds so far
        double m_dFinestCell = 0.0;   // cell size of level 0
        std::size_t m_nMemoryBytes = 0;
    };
    CStats GetStats() const;

    void OnSlotChanging(int slot) override;
    void OnDrawingReplaced() override;

    CSpatialIndex(const CSpatialIndex&) = delete;
    CSpatialIndex& operator=(const CSpatialIndex&) = delete;

private:
    using CEntry = CBucketGrid::CEntry;

    void Build();
    void FileLevels(std::vector<CEntry>& entries, double finestCell, double originX, double originY);
    void ReadSlot(int slot);
    void DropRecent(int slot);
    std::size_t RecentLimit() const;
    void EnsureSlot(int slot);

    CGO_Database& m_db;
    std::vector<CBucketGrid> m_levels;   // the non-empty levels, finest first
    std::vector<CEntry> m_unbounded;     // boxes with an infinite edge
    std::vector<CEntry> m_recent;        // boxes read since the last build
    std::vector<unsigned char> m_state;  // per slot: filed at the build, noted
    std::vector<int> m_recentAt;         // per slot: place in m_recent, or -1
    std::vector<int> m_noted;            // slots noted since the last query
    bool m_bRebuild = true;
    std::size_t m_nFiled = 0;
    std::size_t m_nStale = 0;            // filed slots that changed since the build
    std::size_t m_nRebuilds = 0;
    double m_dFinestCell = 0.0;
};
