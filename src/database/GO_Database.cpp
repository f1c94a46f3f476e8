// The object database: slots that are only ever appended, linear look-ups by
// id, and saving and loading whole drawings so that a failure never loses the
// drawing on the screen or the one on the disk.
#include "database/GO_Database.h"

#include "database/FileIO.h"
#include "database/GO_ArchiveReader.h"
#include "database/GO_ArchiveWriter.h"
#include "geometry/GO_GeoObject.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <new>
#include <utility>

namespace {

// A tag word and a line's data record; class descriptions occur once per class.
constexpr std::size_t kBytesPerObjectEstimate = 2 + 16;

} // namespace

CGO_Database::~CGO_Database() = default;

void CGO_Database::Add(CGO_GeoObject* object)
{
    if (object == nullptr)
        return;
    object->GenerateDisplayList();
    m_slots.emplace_back(object);
    ++m_nCount;
    LogDebug("Object #%i added to database at position %i.", object->GetId(), GetSize() - 1);
}

void CGO_Database::Remove(CGO_GeoObject* object)
{
    if (object == nullptr)
        return;
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
        if (m_slots[slot].get() == object) {
            RemoveAt(slot);
            return;
        }
    }
}

void CGO_Database::RemoveAt(std::size_t slot)
{
    std::unique_ptr<CGO_GeoObject> object = std::move(m_slots[slot]);
    LogDebug("Removing object #%i from database...", object->GetId());
    --m_nCount;
    object->DeleteDisplayList();
}

void CGO_Database::RemoveById(int id)
{
    Remove(Find(id));
}

CGO_GeoObject* CGO_Database::Find(int id)
{
    if (id < 0) {
        LogWarn("Illegal object id #%i!", id);
        return nullptr;
    }
    for (const auto& object : m_slots) {
        if (object && object->GetId() == id) {
            LogDebug("Object #%i found in database.", id);
            return object.get();
        }
    }
    LogWarn("Object #%i was not found in database.", id);
    return nullptr;
}

void CGO_Database::Clear()
{
    LogDebug("Clearing Database...");
    // Straight to each slot: searching for every object from the first slot
    // on, as Remove does, would make clearing quadratic.
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
        if (m_slots[slot])
            RemoveAt(slot);
    }
    LogDebug("Database cleared.");
    CGO_GeoObject::ResetIdFactory();
}

void CGO_Database::DrawAll()
{
    LogDebug("Drawing %i objects in database.", m_nCount);
    for (const auto& object : m_slots) {
        if (object)
            object->GenerateDisplayList();
    }
}

bool CGO_Database::Save(const char* path)
{
    m_strLastError.clear();
    const char* shownPath = path != nullptr ? path : "";
    // The temporary file comes first, so a save that cannot succeed fails
    // before the objects report themselves.
    fileio::CFileReplacer file(shownPath);
    bool ok = file.Open(m_strLastError);
    CGO_ArchiveWriter writer;
    try {
        if (ok) {
            writer.Reserve(6 + m_slots.size() * kBytesPerObjectEstimate);
            ok = writer.WriteSlotCount(m_slots.size());
            for (std::size_t slot = 0; ok && slot < m_slots.size(); ++slot)
                ok = writer.WriteObject(m_slots[slot].get());
            if (!ok)
                m_strLastError = writer.GetError();
        }
    } catch (const std::bad_alloc&) {
        ok = false;
        m_strLastError = "not enough memory for the file's contents";
    }
    if (ok)
        ok = file.Commit(writer.GetBytes(), m_strLastError);
    if (!ok)
        LogWarn("Saving graphics to file '%s' failed: %s", shownPath, m_strLastError.c_str());
    return ok;
}

int CGO_Database::Load(const char* path)
{
    m_strLastError.clear();
    const char* shownPath = path != nullptr ? path : "";
    // Everything that can fail happens before the drawing is touched: reading
    // the whole file, checking every record of it, and making room for its
    // slots.
    std::vector<unsigned char> bytes;
    std::vector<std::unique_ptr<CGO_GeoObject>> slots;
    bool ok = path != nullptr && *path != '\0';
    if (!ok)
        m_strLastError = "no file name given";
    else
        ok = fileio::ReadWholeFile(path, bytes, m_strLastError);
    if (ok) {
        CGO_ArchiveReader checker(bytes.data(), bytes.size());
        std::uint32_t count = 0;
        ok = checker.CheckAll(count);
        if (!ok) {
            m_strLastError = checker.GetError();
        } else {
            try {
                slots.resize(count);
            } catch (const std::bad_alloc&) {
                ok = false;
                m_strLastError = "not enough memory for the drawing's slots";
            }
        }
    }
    if (!ok) {
        LogWarn("Loading graphics from file '%s' failed: %s", shownPath, m_strLastError.c_str());
        return -1;
    }

    Clear();
    LogInfo("Loading graphics from file '%s'...", path);
    Build(bytes, std::move(slots));
    LogInfo("%i graphics loaded. Drawing...", m_nCount);
    DrawAll();
    return GetSize();
}

void CGO_Database::Build(const std::vector<unsigned char>& bytes, std::vector<std::unique_ptr<CGO_GeoObject>> slots)
{
    // The same walk as the check, so it cannot fail here; each object draws
    // its id from the factory in file order and reads its own record.
    CGO_ArchiveReader reader(bytes.data(), bytes.size());
    std::uint32_t count = 0;
    reader.ReadSlotCount(count);
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
        const CGO_RuntimeClass* runtimeClass = nullptr;
        reader.ReadSlotHeader(runtimeClass);
        if (runtimeClass == nullptr)
            continue;
        slots[slot].reset(runtimeClass->CreateObject());
        slots[slot]->Serialize(reader);
    }
    m_slots = std::move(slots);
    m_nCount = GetSize();
}
