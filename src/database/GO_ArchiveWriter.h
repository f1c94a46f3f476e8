// The storing archive of drawing files: builds the bytes of a whole drawing in
// memory (slot count, tags, class descriptions, data records), little-endian
// whatever the host, so the file can be written in one go afterwards.
#pragma once

#include "geometry/GO_Archive.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CGO_GeoObject;
struct CGO_RuntimeClass;

class CGO_ArchiveWriter : public CGO_Archive {
public:
    CGO_ArchiveWriter() = default;

    bool IsStoring() const override { return true; }
    void WriteFloat(float value) override;
    // A storing archive has nothing to read: returns 0 and marks it failed.
    float ReadFloat() override;

    // The number of slots: a u16, or 0xFFFF and a u32 from 65535 on.
    bool WriteSlotCount(std::size_t count);
    // One slot: 0x0000 for null, otherwise the class (described the first time,
    // referenced by its archive index later) and the object's data record.
    // Fails for an object with a value that is not finite.
    bool WriteObject(CGO_GeoObject* object);
    // The same slot without the object's log line (autosaves write the whole
    // drawing every minute and must not flood the log).
    bool WriteObjectQuietly(const CGO_GeoObject* object);

    bool IsFailed() const { return !m_strError.empty(); }
    const std::string& GetError() const { return m_strError; }
    const std::vector<unsigned char>& GetBytes() const { return m_bytes; }
    std::vector<unsigned char> TakeBytes() { return std::move(m_bytes); }
    void Reserve(std::size_t bytes) { m_bytes.reserve(bytes); }

private:
    void WriteU16(std::uint16_t value);
    void WriteU32(std::uint32_t value);
    void Fail(const std::string& reason);
    // The tag word, and the class description the first time; false when
    // the slot is done (empty) or the writer failed.
    bool WriteSlotHeader(const CGO_GeoObject* object);
    bool CheckFinite(const CGO_GeoObject& object);

    std::vector<unsigned char> m_bytes;
    // Archive indices start at 1; 0 stands for the empty slot.
    std::uint64_t m_nNextIndex = 1;
    // The classes described so far with their archive indices; a drawing
    // holds only a handful of classes, so a linear search is the fastest.
    std::vector<std::pair<const CGO_RuntimeClass*, std::uint32_t>> m_classIndices;
    bool m_bNonFinite = false;
    float m_fNonFinite = 0.0f;
    std::string m_strError;
};
