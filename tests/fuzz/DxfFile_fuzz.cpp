// Fuzz target for loading DXF files, under the rule of the drawing-file
// target: every input is loaded into a database that already holds a
// drawing; a rejected input must leave that drawing, its objects and the id
// factory exactly as they were, and an accepted one must give a consistent
// database whose DXF save loads back to the same geometry and bytes.
//
// No GL context is made current, so the objects' GL calls are no-ops.
#include "database/GO_Database.h"
#include "exchange/DrawingExchange.h"
#include "geometry/GO_Arc.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_ObjectState.h"
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

struct Slot {
    const CGO_GeoObject* object;
    int id;
    const CGO_RuntimeClass* runtimeClass;
    CGO_ObjectState state; // every float, bit for bit
};

struct Snapshot {
    std::vector<Slot> slots;
    int count;
    int nextId;
    bool operator==(const Snapshot& other) const
    {
        if (count != other.count || nextId != other.nextId || slots.size() != other.slots.size())
            return false;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const Slot& a = slots[i];
            const Slot& b = other.slots[i];
            if (a.object != b.object || a.id != b.id || a.runtimeClass != b.runtimeClass || a.state != b.state)
                return false;
        }
        return true;
    }
};

std::string g_workDir;
CGO_Database* g_db = nullptr;
Snapshot g_before;

[[noreturn]] void Die(const char* what)
{
    std::fprintf(stderr, "dxf fuzz: %s\n", what);
    std::abort();
}

Snapshot Take(const CGO_Database& db)
{
    Snapshot snapshot{{}, db.GetCount(), CGO_GeoObject::PeekNextId()};
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        const CGO_GeoObject* object = db.GetAt(slot);
        if (object == nullptr)
            snapshot.slots.push_back({nullptr, -1, nullptr, {}});
        else
            snapshot.slots.push_back({object, object->GetId(), object->GetRuntimeClass(), object->SaveState()});
    }
    return snapshot;
}

// The same drawing as the drawing-file target's: a line, an empty slot and
// a circle, with ids 0 and 2.
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

void WriteInput(const char* path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
        Die("cannot write the input file");
}

std::vector<unsigned char> ReadBack(const char* path)
{
    std::vector<unsigned char> bytes;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        Die("cannot read a saved file back");
    for (int c; (c = std::fgetc(file)) != EOF;)
        bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
    return bytes;
}

void CheckLoaded(const CGO_Database& db, int result)
{
    if (result != db.GetSize() || db.GetCount() != db.GetSize())
        Die("a load returned a result that does not match the slots");
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        const CGO_GeoObject* object = db.GetAt(slot);
        if (object == nullptr)
            Die("a DXF load left an empty slot");
        if (object->GetId() != slot || object->GetDisplayList() != slot + 100)
            Die("loaded objects are not numbered in file order");
        if (object->GetRuntimeClass() != &CGO_Line::s_runtimeClass &&
            object->GetRuntimeClass() != &CGO_Circle::s_runtimeClass &&
            object->GetRuntimeClass() != &CGO_Arc::s_runtimeClass)
            Die("a loaded object is neither a line, a circle nor an arc");
    }
    if (CGO_GeoObject::PeekNextId() != db.GetSize())
        Die("the id factory does not continue after the loaded objects");
}

void RemoveWorkDir()
{
    for (const char* name : {"input.dxf", "copy.dxf", "stdout.txt"})
        unlink((g_workDir + "/" + name).c_str());
    rmdir(g_workDir.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/dev/shm/lumen7-dxf-fuzz-XXXXXX";
    char fallback[] = "/tmp/lumen7-dxf-fuzz-XXXXXX";
    char* dir = mkdtemp(pattern);
    if (dir == nullptr)
        dir = mkdtemp(fallback);
    if (dir == nullptr || chdir(dir) != 0)
        Die("cannot create a working directory");
    g_workDir = dir;
    std::atexit(RemoveWorkDir);
    // The log is written as in the program, but into nothing.
    if (symlink("/dev/null", "stdout.txt") != 0)
        Die("cannot redirect the log");
    g_db = new CGO_Database;
    BuildDrawing(*g_db);
    g_before = Take(*g_db);
    return 0;
}

constexpr int kRoundTripObjects = 20000;

// The next input meets the same drawing.
void ResetDrawing()
{
    delete g_db;
    g_db = new CGO_Database;
    BuildDrawing(*g_db);
    g_before = Take(*g_db);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteInput("input.dxf", data, size);
    CDrawingExchange files(*g_db);
    const int result = files.Load("input.dxf");
    if (result < 0) {
        if (files.GetLastError().empty())
            Die("a rejected file gave no reason");
        if (!(Take(*g_db) == g_before))
            Die("a rejected file changed the drawing");
        return 0;
    }
    CheckLoaded(*g_db, result);

    // What was accepted saves as DXF, and that file loads to the same
    // geometry and saves to the same bytes again. The round trip is the same
    // for any size; a drawing at the reader's object cap would take it four
    // times over 200k objects, past the fuzzer's time limit per input.
    if (result > kRoundTripObjects) {
        ResetDrawing();
        return 0;
    }
    const Snapshot loaded = Take(*g_db);
    if (!files.Save("copy.dxf", exchange::FORMAT_DXF))
        Die("an accepted drawing cannot be saved as DXF");
    const std::vector<unsigned char> first = ReadBack("copy.dxf");
    if (files.Load("copy.dxf") != result || !files.GetSkipped().IsEmpty())
        Die("a saved DXF file does not load back");
    const Snapshot again = Take(*g_db);
    for (std::size_t i = 0; i < loaded.slots.size(); ++i) {
        if (loaded.slots[i].runtimeClass != again.slots[i].runtimeClass ||
            loaded.slots[i].state != again.slots[i].state)
            Die("a saved DXF file loads back to other geometry");
    }
    if (!files.Save("copy.dxf", exchange::FORMAT_DXF) || ReadBack("copy.dxf") != first)
        Die("a saved DXF file does not save back to the same bytes");
    ResetDrawing();
    return 0;
}
