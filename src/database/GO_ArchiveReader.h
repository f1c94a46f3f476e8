// The loading archive of drawing files: walks the bytes of a whole file held
// in memory. The same walk serves twice: once to check every record before
// anything is touched, and once more to build the objects from bytes known to
// be sound.
#pragma once

#include "geometry/GO_Archive.h"

class IProgress;

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct CGO_RuntimeClass;

class CGO_ArchiveReader : public CGO_Archive {
public:
    CGO_ArchiveReader(const unsigned char* data, std::size_t size);

    bool IsStoring() const override { return false; }
    // A loading archive takes nothing: ignores the value and marks it failed.
    void WriteFloat(float value) override;
    float ReadFloat() override;

    // The slot count at the start of the file. Fails when the bytes after it
    // cannot hold that many slots, each taking at least its 2-byte tag word.
    bool ReadSlotCount(std::uint32_t& count);
    // The next slot's tag word and, for a class met for the first time, its
    // description. Sets runtimeClass to the class of the object whose data
    // record follows, or to null for an empty slot.
    bool ReadSlotHeader(const CGO_RuntimeClass*& runtimeClass);
    // Steps over the data record of an object of that class. Fails when a
    // value is not finite: such an object could be neither drawn nor picked.
    bool CheckRecord(const CGO_RuntimeClass& runtimeClass);

    // Checks the whole file without creating any object; on success count is
    // its number of slots. A reporter saying stop fails it with
    // progress::kCancelled.
    bool CheckAll(std::uint32_t& count, IProgress* progress = nullptr);

    bool IsFailed() const { return !m_strError.empty(); }
    // Why the file was rejected, naming the slot and the byte offset.
    const std::string& GetError() const { return m_strError; }

private:
    bool Has(std::size_t bytes) const { return m_size - m_pos >= bytes; }
    std::uint16_t TakeU16();
    std::uint32_t TakeU32();
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);
    bool ReadClassDescription(const CGO_RuntimeClass*& runtimeClass);
    const CGO_RuntimeClass* FindClass(std::uint32_t index) const;
    bool FailTruncated();
    bool Fail(const std::string& reason);

    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::uint32_t m_nSlotsRead = 0;
    std::uint32_t m_nSlot = 0;      // the slot being read, for error messages
    std::size_t m_slotStart = 0;    // where its tag word began
    bool m_bInSlots = false;
    // Archive indices start at 1; 0 stands for the empty slot.
    std::uint64_t m_nNextIndex = 1;
    // Classes read so far with their indices, in increasing index order. A
    // file may describe a class more than once; each description counts.
    std::vector<std::pair<std::uint64_t, const CGO_RuntimeClass*>> m_classIndices;
    std::string m_strError;
};
