// Snapshots of the stored geometry: slot by slot, what saving would write.
#include "database/DrawingSnapshot.h"

#include "database/GO_Database.h"
#include "geometry/GO_Archive.h"
#include "geometry/GO_GeoObject.h"
#include "geometry/GO_RuntimeClass.h"

#include <cstring>

namespace {

enum : std::uint32_t { SLOT_EMPTY = 0 };

// The record's floats, bit for bit.
class CSnapshotArchive : public CGO_Archive {
public:
    explicit CSnapshotArchive(std::vector<std::uint32_t>& words) : m_words(words) {}
    bool IsStoring() const override { return true; }
    void WriteFloat(float value) override
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        m_words.push_back(bits);
    }
    float ReadFloat() override { return 0.0f; }

private:
    std::vector<std::uint32_t>& m_words;
};

// The kind, by the address of its class, which is never SLOT_EMPTY.
void PushClass(std::vector<std::uint32_t>& words, const CGO_RuntimeClass* runtimeClass)
{
    const auto address = reinterpret_cast<std::uint64_t>(runtimeClass);
    words.push_back(static_cast<std::uint32_t>(address >> 32) | 0x80000000u);
    words.push_back(static_cast<std::uint32_t>(address));
}

} // namespace

CDrawingSnapshot CDrawingSnapshot::Take(const CGO_Database& database)
{
    CDrawingSnapshot snapshot;
    CSnapshotArchive archive(snapshot.m_words);
    // Empty slots after the last object hold nothing to lose: undoing the
    // creation of an object leaves its slot empty at the end, and the drawing
    // is then the one saved before it.
    std::size_t usedWords = 0;
    for (int slot = 0; slot < database.GetSize(); ++slot) {
        const CGO_GeoObject* object = database.GetAt(slot);
        if (object == nullptr) {
            snapshot.m_words.push_back(SLOT_EMPTY);
            continue;
        }
        ++snapshot.m_nObjects;
        PushClass(snapshot.m_words, object->GetRuntimeClass());
        object->StoreRecord(archive);
        usedWords = snapshot.m_words.size();
    }
    snapshot.m_words.resize(usedWords);
    return snapshot;
}
