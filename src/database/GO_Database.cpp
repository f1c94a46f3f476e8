// The object database: slots that are only ever appended, linear look-ups by
// id, and saving and loading whole drawings so that a failure never loses the
// drawing on the screen or the one on the disk.
#include "database/GO_Database.h"

#include "database/FileIO.h"
#include "database/FileReplacer.h"
#include "database/GO_DatabaseObserver.h"
#include "database/GO_ArchiveReader.h"
#include "database/GO_ArchiveWriter.h"
#include "database/GO_RecordArchive.h"
#include "database/Progress.h"
#include "geometry/GO_Archive.h"
#include "geometry/GO_GeoObject.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// A tag word and a line's data record; class descriptions occur once per class.
constexpr std::size_t kBytesPerObjectEstimate = 2 + 16;
constexpr std::size_t kEmptySlotBytes = 2;

} // namespace

CGO_Database::~CGO_Database() = default;

void CGO_Database::Add(CGO_GeoObject* object)
{
    if (object == nullptr)
        return;
    NotifyChanging(GetSize());
    object->GenerateDisplayList();
    m_slots.push_back(CGO_SlotTable::Owned(object));
    ++m_nCount;
    IndexSlot(GetSize() - 1);
    LogDebug("Object #%i added to database at position %i.", object->GetId(), GetSize() - 1);
}

bool CGO_Database::PutAt(int slot, CGO_GeoObject* object)
{
    std::unique_ptr<CGO_GeoObject> owned(object);
    if (object == nullptr || slot < 0 || slot >= GetSize() || m_slots.get(static_cast<std::size_t>(slot)))
        return false;
    // Its id must not be live elsewhere: two objects with one id would make
    // every look-up ambiguous.
    if (SlotOf(object->GetId()) >= 0)
        return false;
    NotifyChanging(slot);
    object->GenerateDisplayList();
    m_slots.exchange(static_cast<std::size_t>(slot), std::move(owned));
    ++m_nCount;
    IndexSlot(slot);
    LogDebug("Object #%i put back into database at position %i.", object->GetId(), slot);
    return true;
}

void CGO_Database::Remove(CGO_GeoObject* object)
{
    if (object == nullptr)
        return;
    const int slot = SlotOf(object->GetId());
    if (slot >= 0 && m_slots.get(static_cast<std::size_t>(slot)) == object) {
        RemoveAt(slot);
        return;
    }
    // An object without an id of its own (a bare base object) is only found
    // by its address.
    for (int other = 0; other < GetSize(); ++other) {
        if (m_slots.get(static_cast<std::size_t>(other)) == object) {
            RemoveAt(other);
            return;
        }
    }
}

void CGO_Database::RemoveAt(int slot)
{
    if (slot < 0 || slot >= GetSize() || !m_slots.get(static_cast<std::size_t>(slot)))
        return;
    NotifyChanging(slot);
    std::unique_ptr<CGO_GeoObject> object = m_slots.exchange(static_cast<std::size_t>(slot), nullptr);
    if (SlotOf(object->GetId()) == slot)
        m_slotOfId[static_cast<std::size_t>(object->GetId())] = -1;
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
    const int slot = SlotOf(id);
    if (slot < 0) {
        LogWarn("Object #%i was not found in database.", id);
        return nullptr;
    }
    LogDebug("Object #%i found in database.", id);
    NotifyChanging(slot);
    return m_slots.get(static_cast<std::size_t>(slot));
}

CGO_GeoObject* CGO_Database::Modify(int slot)
{
    CGO_GeoObject* object = const_cast<CGO_GeoObject*>(GetAt(slot));
    if (object != nullptr)
        NotifyChanging(slot);
    return object;
}

const CGO_GeoObject* CGO_Database::Lookup(int id) const
{
    const int slot = SlotOf(id);
    return slot >= 0 ? m_slots.get(static_cast<std::size_t>(slot)) : nullptr;
}

int CGO_Database::SlotOf(int id) const
{
    if (id < 0 || static_cast<std::size_t>(id) >= m_slotOfId.size())
        return -1;
    return m_slotOfId[static_cast<std::size_t>(id)];
}

void CGO_Database::IndexSlot(int slot)
{
    const int id = m_slots.get(static_cast<std::size_t>(slot))->GetId();
    if (id < 0)
        return;
    if (static_cast<std::size_t>(id) >= m_slotOfId.size())
        m_slotOfId.resize(std::max(static_cast<std::size_t>(id) + 1, m_slotOfId.size() * 2), -1);
    m_slotOfId[static_cast<std::size_t>(id)] = slot;
}

void CGO_Database::RebuildIdIndex()
{
    m_slotOfId.clear();
    for (int slot = 0; slot < GetSize(); ++slot) {
        if (m_slots.get(static_cast<std::size_t>(slot)))
            IndexSlot(slot);
    }
}

void CGO_Database::AddObserver(IGO_DatabaseObserver* observer)
{
    if (observer != nullptr && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CGO_Database::RemoveObserver(IGO_DatabaseObserver* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

void CGO_Database::NotifyChanging(int slot) const
{
    for (IGO_DatabaseObserver* observer : m_observers)
        observer->OnSlotChanging(slot);
}

void CGO_Database::NotifyReplaced() const
{
    for (IGO_DatabaseObserver* observer : m_observers)
        observer->OnDrawingReplaced();
}

void CGO_Database::Clear()
{
    LogDebug("Clearing Database...");
    // The observers hear of the whole drawing once, not of every slot.
    const std::vector<IGO_DatabaseObserver*> observers = std::move(m_observers);
    m_observers.clear();
    for (int slot = 0; slot < GetSize(); ++slot) {
        if (m_slots.get(static_cast<std::size_t>(slot)))
            RemoveAt(slot);
    }
    m_observers = observers;
    m_slotOfId.clear();
    NotifyReplaced();
    LogDebug("Database cleared.");
    CGO_GeoObject::ResetIdFactory();
}

void CGO_Database::DrawAll(IProgress* progress)
{
    LogDebug("Drawing %i objects in database.", m_nCount);
    progress::CTicker ticker(progress, m_slots.size());
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
        if (CGO_GeoObject* object = m_slots.get(slot))
            object->GenerateDisplayList();
        ticker.Step();
    }
}

bool CGO_Database::Save(const char* path, IProgress* progress)
{
    m_strLastError.clear();
    const char* shownPath = path != nullptr ? path : "";
    // The temporary file comes first, so a save that cannot succeed fails
    // before the objects report themselves.
    fileio::CFileReplacer file(shownPath);
    std::vector<unsigned char> bytes;
    progress::CPart records(progress, 0, 500);
    bool ok = file.Open(m_strLastError) && Encode(bytes, m_strLastError, false, progress != nullptr ? &records : nullptr);
    progress::CPart writing(progress, 500, 500);
    if (ok)
        ok = file.Commit(bytes, m_strLastError, progress != nullptr ? &writing : nullptr);
    if (!ok)
        fileio::LogNotDone("Saving graphics to", shownPath, m_strLastError);
    else
        file.WarnIfNotAtomic(shownPath);
    return ok;
}

bool CGO_Database::Encode(std::vector<unsigned char>& bytes, std::string& error, bool quietly,
                          IProgress* progress) const
{
    CGO_ArchiveWriter writer;
    try {
        // An empty slot takes its tag word only.
        writer.Reserve(6 + m_slots.size() * kEmptySlotBytes +
                       m_slots.occupied() * (kBytesPerObjectEstimate - kEmptySlotBytes));
        bool ok = writer.WriteSlotCount(m_slots.size());
        progress::CTicker ticker(progress, m_slots.size());
        for (std::size_t slot = 0; ok && slot < m_slots.size(); ++slot)
            ok = (quietly ? writer.WriteObjectQuietly(m_slots.get(slot)) : writer.WriteObject(m_slots.get(slot))) &&
                 ticker.Step();
        if (!ok) {
            error = ticker.IsStopped() ? progress::kCancelled : writer.GetError();
            return false;
        }
        bytes = writer.TakeBytes();
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the file's contents";
        return false;
    }
    return true;
}

int CGO_Database::Load(const char* path, IProgress* progress)
{
    m_strLastError.clear();
    const char* shownPath = path != nullptr ? path : "";
    // Everything that can fail happens before the drawing is touched: reading
    // the whole file, checking every record of it, and making room for its
    // slots.
    std::vector<unsigned char> bytes;
    Slots slots;
    bool ok = path != nullptr && *path != '\0';
    if (!ok)
        m_strLastError = "no file name given";
    else
        ok = fileio::ReadWholeFile(path, bytes, m_strLastError);
    if (ok) {
        CGO_ArchiveReader checker(bytes.data(), bytes.size());
        std::uint32_t count = 0;
        progress::CPart checking(progress, 0, 200);
        ok = checker.CheckAll(count, progress != nullptr ? &checking : nullptr);
        if (!ok)
            m_strLastError = checker.GetError();
        else
            ok = ReserveSlots(count, slots);
    }
    if (!ok) {
        fileio::LogNotDone("Loading graphics from", shownPath, m_strLastError);
        return -1;
    }
    const auto build = [&bytes](Slots& built, progress::CTicker& ticker) { Build(bytes, built, ticker); };
    return Replace(path, std::move(slots), build, progress);
}

int CGO_Database::LoadRecords(const char* path, const std::vector<CGO_ObjectRecord>& records, IProgress* progress)
{
    m_strLastError.clear();
    Slots slots;
    if (!ReserveSlots(records.size(), slots)) {
        LogWarn("Loading graphics from file '%s' failed: %s", path != nullptr ? path : "", m_strLastError.c_str());
        return -1;
    }
    const auto build = [&records](Slots& built, progress::CTicker& ticker) {
        for (std::size_t slot = 0; slot < built.size(); ++slot) {
            ticker.Step();
            const CGO_ObjectRecord& record = records[slot];
            if (record.runtimeClass == nullptr)
                continue;
            CGO_GeoObject* object = record.runtimeClass->CreateObject();
            built.exchange(slot, CGO_SlotTable::Owned(object));
            CRecordArchive archive = CRecordArchive::Loading(record);
            object->Serialize(archive);
        }
    };
    return Replace(path, std::move(slots), build, progress);
}

bool CGO_Database::SaveRecords(std::vector<CGO_ObjectRecord>& records, IProgress* progress)
{
    // Only the objects: a drawing of millions of empty slots would need many
    // times its file's size for records that say nothing.
    try {
        records.assign(m_slots.occupied(), CGO_ObjectRecord());
    } catch (const std::bad_alloc&) {
        m_strLastError = "not enough memory for the drawing's records";
        return false;
    }
    std::size_t next = 0;
    progress::CTicker ticker(progress, m_slots.size());
    for (std::size_t slot = 0; slot < m_slots.size() && next < records.size(); ++slot) {
        if (!ticker.Step()) {
            m_strLastError = progress::kCancelled;
            return false;
        }
        CGO_GeoObject* object = m_slots.get(slot);
        if (object == nullptr)
            continue;
        records[next].runtimeClass = object->GetRuntimeClass();
        CRecordArchive archive = CRecordArchive::Storing(records[next]);
        object->Serialize(archive);
        ++next;
    }
    records.resize(next);
    return true;
}

bool CGO_Database::ReserveSlots(std::size_t count, Slots& slots)
{
    try {
        slots.resize(count);
    } catch (const std::bad_alloc&) {
        m_strLastError = "not enough memory for the drawing's slots";
        return false;
    }
    return true;
}

int CGO_Database::Replace(const char* path, Slots slots, const Filler& fill, IProgress* progress)
{
    // The old drawing goes now: from here on the load runs to its end.
    if (progress != nullptr)
        progress->PastReturn();
    Clear();
    LogInfo("Loading graphics from file '%s'...", path);
    // Each object draws its id from the factory, which Clear has just reset,
    // in slot order.
    progress::CPart building(progress, 200, 300);
    progress::CTicker ticker(progress != nullptr ? &building : nullptr, slots.size());
    fill(slots, ticker);
    m_slots = std::move(slots);
    m_nCount = GetSize();
    RebuildIdIndex();
    NotifyReplaced();
    LogInfo("%i graphics loaded. Drawing...", m_nCount);
    progress::CPart drawing(progress, 500, 500);
    DrawAll(progress != nullptr ? &drawing : nullptr);
    return GetSize();
}

void CGO_Database::Build(const std::vector<unsigned char>& bytes, Slots& slots, progress::CTicker& ticker)
{
    // The same walk as the check, so it cannot fail here; each object reads
    // its own record.
    CGO_ArchiveReader reader(bytes.data(), bytes.size());
    std::uint32_t count = 0;
    reader.ReadSlotCount(count);
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
        ticker.Step();
        const CGO_RuntimeClass* runtimeClass = nullptr;
        reader.ReadSlotHeader(runtimeClass);
        if (runtimeClass == nullptr)
            continue;
        CGO_GeoObject* object = runtimeClass->CreateObject();
        slots.exchange(slot, CGO_SlotTable::Owned(object));
        object->Serialize(reader);
    }
}
