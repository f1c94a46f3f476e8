// Fuzz target for loading drawing files. Every input is loaded into a database
// that already holds a drawing. A rejected input must leave that drawing, its
// objects and the id factory exactly as they were; an accepted one must give
// a consistent database of finite values taken from the file as they stand,
// that saves and loads back to the same bytes.
//
// No GL context is made current: the objects' GL calls then go to the no-op
// dispatch of the GL loader, which keeps Mesa out of the leak checker.
#include "database/GO_ArchiveWriter.h"
#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kLoggedInputBytes = 64 * 1024;

struct SlotSnapshot {
    const CGO_GeoObject* object;
    int id;
    const CGO_RuntimeClass* runtimeClass;
    std::vector<unsigned char> record;
};

struct Snapshot {
    std::vector<SlotSnapshot> slots;
    int count;
    int nextId;
};

std::string g_workDir;
std::string g_inputPath;
std::string g_copyPath;
CGO_Database* g_db = nullptr;
Snapshot g_before;

[[noreturn]] void Die(const char* what)
{
    std::fprintf(stderr, "drawing fuzz: %s\n", what);
    std::abort();
}

// The bytes an object writes into its data record, without its log line.
// Serialize is not const because the same function loads; storing changes
// nothing.
std::vector<unsigned char> RecordOf(const CGO_GeoObject* constObject)
{
    auto* object = const_cast<CGO_GeoObject*>(constObject);
    const int level = CLogger::GetInstance()->GetLevel();
    CLogger::GetInstance()->SetLevel(0);
    CGO_ArchiveWriter writer;
    object->Serialize(writer);
    CLogger::GetInstance()->SetLevel(level);
    return writer.GetBytes();
}

Snapshot Take(const CGO_Database& db)
{
    Snapshot snapshot{{}, db.GetCount(), CGO_GeoObject::PeekNextId()};
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        const CGO_GeoObject* object = db.GetAt(slot);
        if (object == nullptr)
            snapshot.slots.push_back({nullptr, -1, nullptr, {}});
        else
            snapshot.slots.push_back({object, object->GetId(), object->GetRuntimeClass(), RecordOf(object)});
    }
    return snapshot;
}

bool Same(const Snapshot& a, const Snapshot& b)
{
    if (a.count != b.count || a.nextId != b.nextId || a.slots.size() != b.slots.size())
        return false;
    for (std::size_t i = 0; i < a.slots.size(); ++i) {
        const SlotSnapshot& x = a.slots[i];
        const SlotSnapshot& y = b.slots[i];
        if (x.object != y.object || x.id != y.id || x.runtimeClass != y.runtimeClass || x.record != y.record)
            return false;
    }
    return true;
}

// The drawing every input is loaded over: a line, an empty slot and a circle,
// with ids 0 and 2, so the next id is 3.
void BuildDrawing(CGO_Database& db)
{
    db.Clear();
    auto* line = new CGO_Line;
    line->SetPoints(CGO_Point(1, 2), CGO_Point(3, 4));
    db.Add(line);
    db.Add(new CGO_Line);
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(5, 6), 7);
    db.Add(circle);
    db.RemoveById(1);
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
        Die("cannot write the input file");
}

std::vector<unsigned char> ReadBack(const std::string& path)
{
    std::vector<unsigned char> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        Die("cannot read a saved file back");
    int c;
    while ((c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
    return bytes;
}

std::uint32_t Little(const uint8_t* data, std::size_t bytes)
{
    std::uint32_t value = 0;
    for (std::size_t i = bytes; i-- > 0;)
        value = (value << 8) | data[i];
    return value;
}

// The data record of every slot of a file the database accepted, found by a
// walk of its own: empty for an empty slot. Only class descriptions and
// class references can occur in such a file.
std::vector<std::vector<unsigned char>> RecordsOf(const uint8_t* data, size_t size)
{
    std::size_t pos = 0;
    const auto take = [&](std::size_t bytes) {
        if (size - pos < bytes)
            Die("an accepted file ends early");
        const std::uint32_t value = Little(data + pos, bytes);
        pos += bytes;
        return value;
    };
    std::uint32_t count = take(2);
    if (count == 0xFFFF)
        count = take(4);
    std::vector<std::pair<std::uint32_t, std::size_t>> classBytes; // archive index, record size
    std::uint32_t nextIndex = 1;
    std::vector<std::vector<unsigned char>> records(count);
    for (auto& record : records) {
        const std::uint32_t word = take(2);
        const std::uint32_t tag = word == 0x7FFF ? take(4) : (word & 0x8000u) << 16 | (word & 0x7FFFu);
        // An accepted file refers to no earlier object: index 0 is all that
        // is left, the empty slot, in the short form or the long one.
        if ((tag & 0x80000000u) == 0)
            continue;
        std::size_t recordBytes = 0;
        if (word == 0xFFFF) {
            take(2);
            const std::size_t length = take(2);
            const std::string name(reinterpret_cast<const char*>(data + pos), std::min(length, size - pos));
            pos += name.size();
            recordBytes = name == "CGO_Line" ? 16 : name == "CGO_Circle" ? 12 : 0;
            classBytes.emplace_back(nextIndex++, recordBytes);
        } else {
            const std::uint32_t index = tag & 0x7FFFFFFFu;
            for (const auto& known : classBytes)
                recordBytes = known.first == index ? known.second : recordBytes;
        }
        if (recordBytes == 0)
            Die("an accepted file has an object of no known class");
        ++nextIndex;
        if (size - pos < recordBytes)
            Die("an accepted file ends inside a record");
        record.assign(data + pos, data + pos + recordBytes);
        pos += recordBytes;
    }
    return records;
}

// Every loaded object holds its slot's record from the file, bit for bit, and
// every value of it is finite.
void CheckValues(const CGO_Database& db, const uint8_t* data, size_t size)
{
    const std::vector<std::vector<unsigned char>> records = RecordsOf(data, size);
    if (records.size() != static_cast<std::size_t>(db.GetSize()))
        Die("the loaded drawing has another number of slots than the file");
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        const CGO_GeoObject* object = db.GetAt(slot);
        const std::vector<unsigned char>& record = records[static_cast<std::size_t>(slot)];
        if ((object == nullptr) != record.empty())
            Die("a slot is empty in the file but not in the drawing, or the other way round");
        if (object == nullptr)
            continue;
        if (RecordOf(object) != record)
            Die("a loaded object does not hold the values of its record");
        for (std::size_t at = 0; at < record.size(); at += 4) {
            const std::uint32_t bits = Little(record.data() + at, 4);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value))
                Die("a loaded object holds a value that is not finite");
        }
    }
}

void CheckLoaded(const CGO_Database& db, int result)
{
    if (result != db.GetSize() || db.GetCount() != db.GetSize())
        Die("a load returned a result that does not match the slots");
    int expectedId = 0;
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        const CGO_GeoObject* object = db.GetAt(slot);
        if (object == nullptr)
            continue;
        if (object->GetId() != expectedId++ || object->GetDisplayList() != object->GetId() + 100)
            Die("loaded objects are not numbered in slot order");
        if (object->GetRuntimeClass() != &CGO_Line::s_runtimeClass &&
            object->GetRuntimeClass() != &CGO_Circle::s_runtimeClass)
            Die("a loaded object is neither a line nor a circle");
    }
    if (CGO_GeoObject::PeekNextId() != expectedId)
        Die("the id factory does not continue after the loaded objects");
}

void RemoveWorkDir()
{
    for (const char* name : {"input.dat", "copy.dat", "stdout.txt"})
        unlink((g_workDir + "/" + name).c_str());
    rmdir(g_workDir.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A memory file system when there is one: every accepted input is saved,
    // and a save flushes its file to the disk.
    char pattern[] = "/dev/shm/lumen7-fuzz-XXXXXX";
    char fallback[] = "/tmp/lumen7-fuzz-XXXXXX";
    char* dir = mkdtemp(pattern);
    if (dir == nullptr)
        dir = mkdtemp(fallback);
    if (dir == nullptr || chdir(dir) != 0)
        Die("cannot create a working directory");
    g_workDir = dir;
    std::atexit(RemoveWorkDir);
    // The log is written as in the program, but into nothing: a minute of
    // fuzzing would otherwise fill the disk.
    if (symlink("/dev/null", "stdout.txt") != 0)
        Die("cannot redirect the log");
    g_inputPath = g_workDir + "/input.dat";
    g_copyPath = g_workDir + "/copy.dat";
    g_db = new CGO_Database;
    BuildDrawing(*g_db);
    g_before = Take(*g_db);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Formatting a line per object would make every large input cost a
    // second; the small inputs exercise the log lines of odd values.
    CLogger::GetInstance()->SetLevel(size > kLoggedInputBytes ? CLogger::LEVEL_WARN : CLogger::LEVEL_ALL);
    WriteInput(g_inputPath, data, size);
    const int result = g_db->Load(g_inputPath.c_str());
    if (result < 0) {
        if (g_db->GetLastError().empty())
            Die("a rejected file gave no reason");
        if (!Same(Take(*g_db), g_before))
            Die("a rejected file changed the drawing");
        return 0;
    }
    CheckLoaded(*g_db, result);
    CheckValues(*g_db, data, size);

    // Whatever was accepted saves in the canonical form, and that form loads
    // and saves again to the same bytes.
    if (!g_db->Save(g_copyPath.c_str()))
        Die("an accepted drawing cannot be saved");
    const std::vector<unsigned char> first = ReadBack(g_copyPath);
    if (g_db->Load(g_copyPath.c_str()) != result)
        Die("a saved drawing does not load back");
    CheckLoaded(*g_db, result);
    if (!g_db->Save(g_copyPath.c_str()) || ReadBack(g_copyPath) != first)
        Die("a saved drawing does not save back to the same bytes");

    // Back to the same three-slot drawing for the next input.
    delete g_db;
    g_db = new CGO_Database;
    BuildDrawing(*g_db);
    g_before = Take(*g_db);
    return 0;
}
