// Snapshots of the stored geometry: slot by slot, what saving would write.
#include "database/DrawingSnapshot.h"

#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"

#include <cstring>

namespace {

enum : std::uint32_t { SLOT_EMPTY = 0, SLOT_LINE = 1, SLOT_CIRCLE = 2, SLOT_OTHER = 3 };

std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

CDrawingSnapshot CDrawingSnapshot::Take(const CGO_Database& database)
{
    CDrawingSnapshot snapshot;
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
        if (const auto* line = dynamic_cast<const CGO_Line*>(object)) {
            snapshot.m_words.insert(snapshot.m_words.end(),
                                    {SLOT_LINE, Bits(line->GetP1().x), Bits(line->GetP1().y),
                                     Bits(line->GetP2().x), Bits(line->GetP2().y)});
        } else if (const auto* circle = dynamic_cast<const CGO_Circle*>(object)) {
            snapshot.m_words.insert(snapshot.m_words.end(), {SLOT_CIRCLE, Bits(circle->GetCenter().x),
                                                             Bits(circle->GetCenter().y),
                                                             Bits(circle->GetRadius())});
        } else {
            snapshot.m_words.push_back(SLOT_OTHER);
        }
        usedWords = snapshot.m_words.size();
    }
    snapshot.m_words.resize(usedWords);
    return snapshot;
}
