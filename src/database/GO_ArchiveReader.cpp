// Drawing-file reader: decodes slot counts, tag words and class descriptions
// and rejects every file this program would not have written in a way it can
// load, with a reason for the user.
#include "database/GO_ArchiveReader.h"

#include "database/Progress.h"

#include "geometry/GO_RuntimeClass.h"
#include "log/CFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kLongTag = 0x7FFF;
constexpr std::uint16_t kLongCount = 0xFFFF;
constexpr std::uint32_t kClassTagBit = 0x80000000u;
constexpr std::size_t kMinSlotBytes = 2;
constexpr std::size_t kMaxShownNameLength = 40;

// A class name from the file made safe for a log line: printable ASCII only,
// and not longer than a line should be.
std::string Printable(std::string_view name)
{
    std::string shown;
    for (std::size_t i = 0; i < name.size() && i < kMaxShownNameLength; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\')
            shown += static_cast<char>(c);
        else
            shown += StringFormatC("\\x%02X", c);
    }
    if (name.size() > kMaxShownNameLength)
        shown += "...";
    return shown;
}

// The name of a value in a data record, as the layout of the file names it.
std::string FieldName(const CGO_RuntimeClass& runtimeClass, int field)
{
    if (const char* name = runtimeClass.FieldName(field))
        return name;
    return StringFormatC("value %d", field + 1);
}

} // namespace

CGO_ArchiveReader::CGO_ArchiveReader(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

bool CGO_ArchiveReader::Fail(const std::string& reason)
{
    if (m_strError.empty()) {
        m_strError = m_bInSlots ? StringFormatC("slot %u (offset %zu): ", m_nSlot, m_slotStart) + reason : reason;
    }
    return false;
}

bool CGO_ArchiveReader::FailTruncated()
{
    return Fail(m_bInSlots ? "the file ends inside the record" : "the file ends inside the slot count");
}

std::uint16_t CGO_ArchiveReader::TakeU16()
{
    const std::uint16_t value = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return value;
}

std::uint32_t CGO_ArchiveReader::TakeU32()
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | m_data[m_pos + static_cast<std::size_t>(i)];
    m_pos += 4;
    return value;
}

bool CGO_ArchiveReader::ReadU16(std::uint16_t& value)
{
    if (!Has(2))
        return FailTruncated();
    value = TakeU16();
    return true;
}

bool CGO_ArchiveReader::ReadU32(std::uint32_t& value)
{
    if (!Has(4))
        return FailTruncated();
    value = TakeU32();
    return true;
}

void CGO_ArchiveReader::WriteFloat(float)
{
    Fail("an object tried to write into a loading archive");
}

float CGO_ArchiveReader::ReadFloat()
{
    if (IsFailed() || !Has(4)) {
        FailTruncated();
        return 0.0f;
    }
    const std::uint32_t bits = TakeU32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool CGO_ArchiveReader::ReadSlotCount(std::uint32_t& count)
{
    std::uint16_t shortCount = 0;
    if (!ReadU16(shortCount))
        return false;
    count = shortCount;
    if (shortCount == kLongCount && !ReadU32(count))
        return false;
    // Checked before anyone allocates slots for it: a few bytes must not be
    // able to ask for gigabytes.
    const std::uint64_t needed = static_cast<std::uint64_t>(count) * kMinSlotBytes;
    if (needed > m_size - m_pos) {
        return Fail(StringFormatC("the slot count %u needs at least %llu more bytes, but the file has only %zu",
                                  count, static_cast<unsigned long long>(needed), m_size - m_pos));
    }
    if (count > 0x7FFFFFFFu)
        return Fail(StringFormatC("the slot count %u is too large", count));
    m_bInSlots = true;
    return true;
}

const CGO_RuntimeClass* CGO_ArchiveReader::FindClass(std::uint32_t index) const
{
    const auto found = std::lower_bound(m_classIndices.begin(), m_classIndices.end(), index,
                                        [](const auto& entry, std::uint64_t wanted) { return entry.first < wanted; });
    if (found == m_classIndices.end() || found->first != index)
        return nullptr;
    return found->second;
}

bool CGO_ArchiveReader::ReadClassDescription(const CGO_RuntimeClass*& runtimeClass)
{
    std::uint16_t schema = 0;
    std::uint16_t nameLength = 0;
    if (!ReadU16(schema) || !ReadU16(nameLength))
        return false;
    if (!Has(nameLength))
        return FailTruncated();
    const std::string_view name(reinterpret_cast<const char*>(m_data + m_pos), nameLength);
    m_pos += nameLength;
    runtimeClass = CGO_RuntimeClass::FromName(name);
    if (runtimeClass == nullptr)
        return Fail("unknown class '" + Printable(name) + "'");
    if (schema != runtimeClass->m_wSchema) {
        return Fail(StringFormatC("class '%s' has schema %u, but only schema %u can be read",
                                  runtimeClass->m_lpszClassName, schema, runtimeClass->m_wSchema));
    }
    // A bare object has no geometry and no display list; the drawing window
    // could neither show nor pick it.
    if (std::strcmp(runtimeClass->m_lpszClassName, "CGO_GeoObject") == 0)
        return Fail(StringFormatC("a bare '%s' cannot be drawn", runtimeClass->m_lpszClassName));
    m_classIndices.emplace_back(m_nNextIndex, runtimeClass);
    ++m_nNextIndex;
    return true;
}

bool CGO_ArchiveReader::ReadSlotHeader(const CGO_RuntimeClass*& runtimeClass)
{
    runtimeClass = nullptr;
    if (IsFailed())
        return false;
    m_nSlot = m_nSlotsRead++;
    m_slotStart = m_pos;
    std::uint16_t word = 0;
    if (!ReadU16(word))
        return false;
    std::uint32_t tag = 0;
    if (word == kLongTag) {
        if (!ReadU32(tag))
            return false;
    } else {
        tag = (static_cast<std::uint32_t>(word & 0x8000) << 16) | (word & 0x7FFFu);
    }

    if ((tag & kClassTagBit) == 0) {
        if (tag == 0)
            return true;
        // The database holds every object in exactly one slot; a second slot
        // for the same object would have it destroyed twice.
        return Fail(StringFormatC("reference to the earlier object with archive index %u; "
                                  "this program stores every object in a slot of its own",
                                  tag));
    }
    if (word == kNewClassTag) {
        if (!ReadClassDescription(runtimeClass))
            return false;
    } else {
        const std::uint32_t index = tag & ~kClassTagBit;
        runtimeClass = FindClass(index);
        if (runtimeClass == nullptr)
            return Fail(StringFormatC("class reference to archive index %u, which is not a class read earlier", index));
    }
    ++m_nNextIndex; // the object that follows
    return true;
}

bool CGO_ArchiveReader::CheckRecord(const CGO_RuntimeClass& runtimeClass)
{
    const std::size_t recordBytes = static_cast<std::size_t>(runtimeClass.m_nRecordFloats) * 4;
    if (!Has(recordBytes))
        return FailTruncated();
    for (int field = 0; field < runtimeClass.m_nRecordFloats; ++field) {
        const float value = ReadFloat();
        if (!std::isfinite(value)) {
            return Fail(StringFormatC("%s of the %s is %g; only finite coordinates can be drawn",
                                      FieldName(runtimeClass, field).c_str(), runtimeClass.m_lpszClassName,
                                      static_cast<double>(value)));
        }
    }
    return true;
}

bool CGO_ArchiveReader::CheckAll(std::uint32_t& count, IProgress* progress)
{
    if (!ReadSlotCount(count))
        return false;
    progress::CTicker ticker(progress, count);
    for (std::uint32_t slot = 0; slot < count; ++slot) {
        if (!ticker.Step()) {
            m_strError = progress::kCancelled;
            return false;
        }
        const CGO_RuntimeClass* runtimeClass = nullptr;
        if (!ReadSlotHeader(runtimeClass))
            return false;
        if (runtimeClass != nullptr && !CheckRecord(*runtimeClass))
            return false;
    }
    // Whatever follows the last slot is not part of the drawing.
    return true;
}
