// Drawing-file writer: the byte layout of slot counts, tag words and class
// descriptions, and the running archive index shared by classes and objects.
#include "database/GO_ArchiveWriter.h"

#include "geometry/GO_GeoObject.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/CFormat.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::uint16_t kEmptySlotTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTagBit = 0x8000;
constexpr std::uint16_t kLongTag = 0x7FFF;
constexpr std::uint32_t kLongClassTagBit = 0x80000000u;
constexpr std::uint16_t kLongCount = 0xFFFF;

} // namespace

void CGO_ArchiveWriter::WriteU16(std::uint16_t value)
{
    m_bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    m_bytes.push_back(static_cast<unsigned char>(value >> 8));
}

void CGO_ArchiveWriter::WriteU32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
}

void CGO_ArchiveWriter::WriteFloat(float value)
{
    if (!std::isfinite(value) && !m_bNonFinite) {
        m_bNonFinite = true;
        m_fNonFinite = value;
    }
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteU32(bits);
}

float CGO_ArchiveWriter::ReadFloat()
{
    Fail("an object tried to read from a storing archive");
    return 0.0f;
}

void CGO_ArchiveWriter::Fail(const std::string& reason)
{
    if (m_strError.empty())
        m_strError = reason;
}

bool CGO_ArchiveWriter::WriteSlotCount(std::size_t count)
{
    if (count > 0xFFFFFFFFu) {
        Fail("too many slots for a drawing file");
        return false;
    }
    if (count < kLongCount) {
        WriteU16(static_cast<std::uint16_t>(count));
    } else {
        WriteU16(kLongCount);
        WriteU32(static_cast<std::uint32_t>(count));
    }
    return true;
}

bool CGO_ArchiveWriter::WriteObject(CGO_GeoObject* object)
{
    if (!WriteSlotHeader(object))
        return !IsFailed();
    object->Serialize(*this);
    return CheckFinite(*object);
}

bool CGO_ArchiveWriter::WriteObjectQuietly(const CGO_GeoObject* object)
{
    if (!WriteSlotHeader(object))
        return !IsFailed();
    object->StoreRecord(*this);
    return CheckFinite(*object);
}

bool CGO_ArchiveWriter::WriteSlotHeader(const CGO_GeoObject* object)
{
    if (object == nullptr) {
        WriteU16(kEmptySlotTag);
        return false;
    }
    // A class reference holds at most 31 bits of archive index; only a file of
    // about a billion objects gets there.
    if (m_nNextIndex + 1 >= kLongClassTagBit) {
        Fail("too many objects for a drawing file");
        return false;
    }
    const CGO_RuntimeClass* runtimeClass = object->GetRuntimeClass();
    std::uint32_t classIndex = 0;
    for (const auto& known : m_classIndices) {
        if (known.first == runtimeClass) {
            classIndex = known.second;
            break;
        }
    }
    if (classIndex == 0) {
        const std::size_t nameLength = std::strlen(runtimeClass->m_lpszClassName);
        WriteU16(kNewClassTag);
        WriteU16(static_cast<std::uint16_t>(runtimeClass->m_wSchema));
        WriteU16(static_cast<std::uint16_t>(nameLength));
        m_bytes.insert(m_bytes.end(), runtimeClass->m_lpszClassName, runtimeClass->m_lpszClassName + nameLength);
        m_classIndices.emplace_back(runtimeClass, static_cast<std::uint32_t>(m_nNextIndex));
        ++m_nNextIndex;
    } else if (classIndex < kLongTag) {
        WriteU16(static_cast<std::uint16_t>(kClassTagBit + classIndex));
    } else {
        WriteU16(kLongTag);
        WriteU32(kLongClassTagBit + classIndex);
    }
    ++m_nNextIndex; // the object itself
    return true;
}

bool CGO_ArchiveWriter::CheckFinite(const CGO_GeoObject& object)
{
    // The reader refuses such a file, so writing it would lose the drawing.
    if (m_bNonFinite) {
        Fail(StringFormatC("object #%i has a coordinate that is not finite (%g); a file holding it could not be loaded",
                           object.GetId(), static_cast<double>(m_fNonFinite)));
    }
    return !IsFailed();
}
