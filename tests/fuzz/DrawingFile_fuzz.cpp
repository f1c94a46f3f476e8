// Fuzz target for loading drawing files. Every input is loaded into a database
// that already holds a drawing. A rejected input must leave that drawing, its
// objects and the id factory exactly as they were; an accepted one must give
// a consistent database that saves and loads back to the same bytes.
//
// No GL context is made current: the objects' GL calls then go to the no-op
// dispatch of the GL loader, which keeps Mesa out of the leak checker.
#include "database/GO_ArchiveWriter.h"
#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

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
// The database hands out const objects; a storing Serialize only reads.
std::vector<unsigned char> RecordOf(const CGO_GeoObject* object)
{
    const int level = CLogger::GetInstance()->GetLevel();
    CLogger::GetInstance()->SetLevel(0);
    CGO_ArchiveWriter writer;
    const_cast<CGO_GeoObject*>(object)->Serialize(writer);
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
