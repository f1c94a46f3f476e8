// The objects the user has selected, by id. It watches the drawing so that it
// never names an object that is gone: a removal drops the id the next time
// the selection is read, a load or clear empties it. Undo and redo set it back
// to what their step saw (through Set, which keeps only live ids).
#pragma once

#include "database/GO_DatabaseObserver.h"
#include "geometry/GO_Box.h"

#include <vector>

class CGO_Database;
class CSpatialIndex;

class CSelection : public IGO_DatabaseObserver {
public:
    explicit CSelection(CGO_Database& database);
    ~CSelection() override;

    void Clear();
    // Exactly these ids, those naming no object left out.
    void Set(const std::vector<int>& ids);
    void Add(int id);
    void Remove(int id);
    // Adds the id, or removes it when it is selected already.
    void Toggle(int id);
    void SelectAll();

    bool Contains(int id);
    int Count();
    // The selected ids in increasing order, every one naming an object.
    std::vector<int> Ids();
    // The ids as they were before the objects removed since the last read
    // went: what a step that removed them saw selected.
    std::vector<int> IdsBeforeRemoval() const;
    // Goes up with every change, so a picture can tell it is out of date.
    unsigned Revision() const { return m_nRevision; }

    void OnSlotChanging(int slot) override;
    void OnDrawingReplaced() override;

    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    void Prune();
    bool Flagged(int id) const;
    void SetFlag(int id, bool on);

    CGO_Database& m_database;
    std::vector<unsigned char> m_flagOfId;
    std::vector<int> m_ids; // unordered, each flagged id once
    bool m_bMayHoldGone = false;
    unsigned m_nRevision = 0;
};

// Which objects a selection rectangle takes: with window, those whose whole
// outline lies inside it; otherwise (crossing) those whose drawn outline
// touches it, as the hit test sees it. Found through the spatial index.
std::vector<int> ObjectsInRectangle(CSpatialIndex& index, const CGO_Box& rect, bool window);
