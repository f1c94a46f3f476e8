// The one store of all objects of the drawing: append-only slots,
// look-up by id, and saving to and loading from drawing files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "database/GO_ObjectRecord.h"
#include "database/GO_SlotTable.h"
#include "geometry/GO_GeoObject.h"

#include <functional>

class IGO_DatabaseObserver;
class IProgress;
namespace progress {
class CTicker;
}

class CGO_Database {
public:
    CGO_Database() = default;
    // Frees the objects still held, silently and without touching OpenGL: the
    // program's database lives until the process ends, and a test's database
    // may outlive the context its display lists were built in.
    ~CGO_Database();

    // Takes ownership; builds the object's display list, then appends a slot.
    // A null pointer is ignored. The object must not be stored already.
    void Add(CGO_GeoObject* object);
    // Empties the slot holding object and destroys it; null or unknown: nothing.
    void Remove(CGO_GeoObject* object);
    void RemoveById(int id);
    // Looks the object up for a change: whoever calls Find may transform the
    // object it gets, so the observers hear of the slot first.
    CGO_GeoObject* Find(int id);
    // The same look-up for reading only: no log line, no notification.
    const CGO_GeoObject* Lookup(int id) const;
    // The slot that holds the object with this id, or -1.
    int SlotOf(int id) const;

    // Puts an object back into an empty slot it held before (undo and redo
    // do this); it keeps its id. False, and the object is destroyed, when the
    // slot is out of range or taken.
    bool PutAt(int slot, CGO_GeoObject* object);
    // Empties one slot and destroys its object, as a removal does.
    void RemoveAt(int slot);
    // The object in a slot, for a change that is no user operation of its
    // own (undo and redo set a state back): no log line, but the observers
    // hear of it. Null for an empty slot.
    CGO_GeoObject* Modify(int slot);
    void Clear();
    void DrawAll(IProgress* progress = nullptr);

    // Every function below that takes a reporter tells it how far it is; a
    // stop it asks for ends the work as a failure with the reason
    // progress::kCancelled, leaving the file or the drawing as it was.

    // Writes the drawing. Returns false, with the file as it was and a reason
    // in GetLastError(), when it cannot be written completely.
    bool Save(const char* path, IProgress* progress = nullptr);
    // The bytes Save writes, built in memory. Quietly: without the log line
    // each object writes when it is saved. False, with the reason in error,
    // for a drawing no file could hold, when memory runs out, or when the
    // reporter says stop (the reason is then progress::kCancelled).
    bool Encode(std::vector<unsigned char>& bytes, std::string& error, bool quietly,
                IProgress* progress = nullptr) const;
    // Replaces the drawing by the file's. Returns the number of slots, or -1
    // when the file cannot be read or is malformed; the drawing then stays
    // exactly as it was and GetLastError() says why. A stop is possible
    // until the old drawing is cleared.
    int Load(const char* path, IProgress* progress = nullptr);
    // Replaces the drawing by objects built from records that were read from
    // the file at path and checked already, in the very steps and with the
    // very log lines of Load: every object is created anew (ids from 0) and
    // reads its own record. Returns the number of slots, or -1 with the
    // drawing untouched when there is no memory for the slots.
    int LoadRecords(const char* path, const std::vector<CGO_ObjectRecord>& records,
                    IProgress* progress = nullptr);
    // Every object as a record, in slot order, empty slots left out; each
    // object writes its record and logs its serializing line, as in a save.
    // False when out of memory.
    bool SaveRecords(std::vector<CGO_ObjectRecord>& records, IProgress* progress = nullptr);

    int GetSize() const { return static_cast<int>(m_slots.size()); }
    int GetCount() const { return m_nCount; }
    // The object in a slot, or null for an empty slot or one out of range.
    // Read-only: changes go through Find, so that the observers hear of them.
    const CGO_GeoObject* GetAt(int slot) const
    {
        return slot >= 0 && slot < GetSize() ? m_slots.get(static_cast<std::size_t>(slot)) : nullptr;
    }
    const std::string& GetLastError() const { return m_strLastError; }

    // Observers are not owned; each must be removed before it is destroyed.
    void AddObserver(IGO_DatabaseObserver* observer);
    void RemoveObserver(IGO_DatabaseObserver* observer);

    CGO_Database(const CGO_Database&) = delete;
    CGO_Database& operator=(const CGO_Database&) = delete;

private:
    void NotifyChanging(int slot) const;
    void NotifyReplaced() const;
    void IndexSlot(int slot);
    void RebuildIdIndex();
    using Slots = CGO_SlotTable;
    // Makes room for count slots before anything is touched; false, with the
    // reason kept, when there is no memory for them.
    bool ReserveSlots(std::size_t count, Slots& slots);
    // Clears the drawing and fills the prepared slots with new objects, with
    // the log lines of a load from path around it.
    using Filler = std::function<void(Slots&, progress::CTicker&)>;
    int Replace(const char* path, Slots slots, const Filler& fill, IProgress* progress);
    // Builds the objects from a file already checked to the last slot.
    static void Build(const std::vector<unsigned char>& bytes, Slots& slots, progress::CTicker& ticker);

    CGO_SlotTable m_slots;
    int m_nCount = 0;
    // Slot of every live object, by id (ids are small and dense); -1 where
    // no object with that id is stored.
    std::vector<int> m_slotOfId;
    std::vector<IGO_DatabaseObserver*> m_observers;
    std::string m_strLastError;
};
