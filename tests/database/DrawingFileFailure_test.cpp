// Loads and saves that fail: every kind of malformed or unreadable file is
// rejected with a reason and leaves the drawing, its display lists and the id
// factory as they were; a failed save leaves the old file and no debris.
#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "support/HeadlessGL.h"
#include "support/LogTail.h"
#include "support/PipeWatchdog.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace dbtest;
using testsupport::LogTail;
namespace fs = std::filesystem;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// A drawing of two objects with ids 0 and 2 in slots 0 and 2, slot 1 empty,
// both with display lists built.
class DrawingFileFailure : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_gl.IsValid());
        m_db.Clear();
        m_db.Add(MakeLine(1, 2, 3, 4));
        m_db.Add(MakeLine(0, 0, 0, 0));
        m_db.Add(MakeCircle(5, 6, 7));
        m_db.RemoveById(1);
        m_line = m_db.GetAt(0);
        m_circle = m_db.GetAt(2);
    }

    // The load failed with exactly one WARN line naming the file and a reason
    // that contains expectedReason, and nothing about the drawing changed.
    void ExpectLoadFailsAndDrawingStays(const std::string& path, const std::string& expectedReason)
    {
        LogTail tail;
        EXPECT_EQ(m_db.Load(path.c_str()), -1);
        EXPECT_NE(m_db.GetLastError().find(expectedReason), std::string::npos) << m_db.GetLastError();
        EXPECT_EQ(tail.Lines(), std::vector<std::string>{"[WARN] Loading graphics from file '" + path +
                                                         "' failed: " + m_db.GetLastError()});
        EXPECT_EQ(m_db.GetSize(), 3);
        EXPECT_EQ(m_db.GetCount(), 2);
        EXPECT_EQ(m_db.GetAt(0), m_line);
        EXPECT_EQ(m_db.GetAt(1), nullptr);
        EXPECT_EQ(m_db.GetAt(2), m_circle);
        EXPECT_EQ(m_line->GetId(), 0);
        EXPECT_EQ(m_circle->GetId(), 2);
        EXPECT_EQ(m_db.Find(2), m_circle);
        EXPECT_TRUE(glIsList(100));
        EXPECT_TRUE(glIsList(102));
        EXPECT_EQ(CGO_GeoObject::PeekNextId(), 3);
    }

    testsupport::HeadlessGL m_gl;
    CGO_Database m_db;
    const CGO_GeoObject* m_line = nullptr;
    const CGO_GeoObject* m_circle = nullptr;
};

} // namespace

TEST_F(DrawingFileFailure, MalformedFilesAreRejectedAndKeepTheDrawing)
{
    const Bytes validLine = FileBuilder().NewClass("CGO_Line").Line(1, 1, 2, 2).Get();
    auto withLine = [&](std::uint32_t slots) {
        FileBuilder file;
        file.U16(slots).Text(std::string(validLine.begin(), validLine.end()));
        return file;
    };
    const Bytes oneLine = withLine(1).Get();
    const Bytes lineCutShort(oneLine.begin(), oneLine.end() - 1);
    const struct {
        const char* name;
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {"empty file", {}, "ends inside the slot count"},
        {"half a slot count", {0x01}, "ends inside the slot count"},
        {"cut long slot count", {0xFF, 0xFF, 0x01, 0x00}, "ends inside the slot count"},
        {"count beyond the file", FileBuilder().U16(3).U16(0).U16(0).Get(), "slot count 3 needs at least 6"},
        {"cut tag word", withLine(2).Text("\xFF").Get(), "slot 1 (offset 32): the file ends inside the record"},
        {"cut class name", FileBuilder().U16(1).U16(0xFFFF).U16(0).U16(8).Text("CGO_Li").Get(), "ends inside"},
        {"cut line record", lineCutShort, "ends inside"},
        {"cut circle record", FileBuilder().U16(1).NewClass("CGO_Circle").F32(1).F32(2).Get(), "ends inside"},
        {"cut long tag", withLine(2).U16(0x7FFF).U16(0x0001).Get(), "ends inside"},
        {"unknown class", FileBuilder().U16(1).NewClass("CGO_Square").Line(0, 0, 1, 1).Get(),
         "slot 0 (offset 2): unknown class 'CGO_Square'"},
        {"class name with control bytes", FileBuilder().U16(1).NewClass(std::string("CGO\n\x01", 5)).Get(),
         "unknown class 'CGO\\x0A\\x01'"},
        {"schema 1", FileBuilder().U16(1).NewClass("CGO_Line", 1).Line(0, 0, 1, 1).Get(), "schema 1"},
        {"class tag for index 0", withLine(2).U16(0x8000).Line(0, 0, 1, 1).Get(), "archive index 0"},
        {"class tag for the object index 2", withLine(2).U16(0x8002).Line(0, 0, 1, 1).Get(),
         "slot 1 (offset 32): class reference to archive index 2"},
        {"class tag before any class", FileBuilder().U16(1).U16(0x8001).Line(0, 0, 1, 1).Get(), "archive index 1"},
        {"long class tag for a missing class", withLine(2).U16(0x7FFF).U32(0x80000003).Line(0, 0, 1, 1).Get(),
         "archive index 3"},
        {"object reference", withLine(2).U16(0x0002).Get(), "reference to the earlier object with archive index 2"},
        {"long object reference", withLine(2).U16(0x7FFF).U32(2).Get(), "archive index 2"},
        {"bare CGO_GeoObject", FileBuilder().U16(1).NewClass("CGO_GeoObject").Get(), "bare 'CGO_GeoObject'"},
        {"fault after many good slots",
         withLine(4).U16(0x8001).Line(0, 0, 1, 1).U16(0).U16(0x8003).Line(0, 0, 1, 1).Get(), "slot 3"},
        {"line starting at NaN", FileBuilder().U16(1).NewClass("CGO_Line").Line(kNaN, 0, 1, 1).Get(),
         "slot 0 (offset 2): x1 of the CGO_Line is nan"},
        {"line ending at infinity", withLine(2).U16(0x8001).Line(0, 0, 1, kInf).Get(),
         "slot 1 (offset 32): y2 of the CGO_Line is inf"},
        {"circle with an infinite radius", FileBuilder().U16(1).NewClass("CGO_Circle").Circle(0, 0, kInf).Get(),
         "r of the CGO_Circle is inf"},
        {"circle centred at minus infinity", withLine(2).NewClass("CGO_Circle").Circle(1, -kInf, 1).Get(),
         "slot 1 (offset 32): y of the CGO_Circle is -inf"},
        {"NaN with a payload and its sign set", withLine(3).U16(0).NewClass("CGO_Circle").F32(0).F32(0).U32(0xFFC00001).Get(),
         "slot 2 (offset 34): r of the CGO_Circle is -nan"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("bad.dat", c.bytes);
        ExpectLoadFailsAndDrawingStays("bad.dat", c.reason);
    }
    LogTail tail;
    auto* next = new CGO_Line;
    EXPECT_EQ(next->GetId(), 3);
    m_db.Add(next);
    EXPECT_EQ(tail.Messages().back(), "Object #3 added to database at position 3.");
}

TEST_F(DrawingFileFailure, HugeSlotCountFailsWithoutAllocating)
{
    WriteFile("huge.dat", FileBuilder().U16(0xFFFF).U32(0xFFFFFFFF).Get());
    const auto start = std::chrono::steady_clock::now();
    ExpectLoadFailsAndDrawingStays("huge.dat", "needs at least 8589934590 more bytes, but the file has only 0");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

TEST_F(DrawingFileFailure, UnreadablePathsKeepTheDrawing)
{
    fs::create_directory("folder.dat");
    ExpectLoadFailsAndDrawingStays("missing.dat", "cannot open the file: No such file or directory");
    ExpectLoadFailsAndDrawingStays("folder.dat", "not a regular file");
    ExpectLoadFailsAndDrawingStays("/dev/zero", "not a regular file");
    WriteFile("huge.dat", {});
    fs::resize_file("huge.dat", (std::uintmax_t(1) << 30) + 1); // sparse: takes no disk space
    ExpectLoadFailsAndDrawingStays("huge.dat", "larger than 1 GiB");
    fs::remove("huge.dat");
    ExpectLoadFailsAndDrawingStays("", "no file name given");
}

TEST_F(DrawingFileFailure, NamedPipeIsRefusedWithoutWaitingForAWriter)
{
    ASSERT_EQ(::mkfifo("pipe.dat", 0600), 0);
    ASSERT_EQ(::symlink("pipe.dat", "link to pipe.dat"), 0);
    for (const char* path : {"pipe.dat", "link to pipe.dat"}) {
        SCOPED_TRACE(path);
        testsupport::PipeWatchdog watchdog(path);
        ExpectLoadFailsAndDrawingStays(path, "not a regular file");
        EXPECT_FALSE(watchdog.Fired()) << "the load waited for a writer";
    }
}

TEST_F(DrawingFileFailure, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    fs::create_directories("saves/folder.dat");
    WriteFile("saves/old.dat", {0x00, 0x00});
    ASSERT_EQ(::mkfifo("saves/pipe.dat", 0600), 0);
    const struct {
        const char* path;
        const char* reason;
    } cases[] = {
        {"saves/no/such/folder/x.dat", "cannot create a temporary file in the folder: No such file or directory"},
        {"saves/folder.dat", "cannot replace the file: Is a directory"},
        {"saves/", "no file name given"},
        {"saves/pipe.dat", "cannot replace the file: not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        LogTail tail;
        EXPECT_FALSE(m_db.Save(c.path));
        EXPECT_EQ(m_db.GetLastError(), c.reason);
        EXPECT_EQ(tail.Lines(), std::vector<std::string>{std::string("[WARN] Saving graphics to file '") + c.path +
                                                         "' failed: " + c.reason});
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator("saves"))
        left.push_back(entry.path().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"saves/folder.dat", "saves/old.dat", "saves/pipe.dat"}));
    EXPECT_TRUE(fs::is_fifo("saves/pipe.dat"));
    EXPECT_EQ(ReadFile("saves/old.dat"), (Bytes{0x00, 0x00}));
    EXPECT_EQ(m_db.GetSize(), 3);
}

TEST_F(DrawingFileFailure, SaveLogsOnlyTheObjectsAndReplacesTheFileWhole)
{
    WriteFile("kept.dat", Bytes(1000, 0xAB));
    ASSERT_EQ(::chmod("kept.dat", 0640), 0);
    LogTail tail;
    ASSERT_TRUE(m_db.Save("kept.dat"));
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{
                                "[DEBUG] Serializing line #0 (x1:  1.0, y1:  2.0, x2:  3.0, y2:  4.0)...",
                                "[DEBUG] Serializing circle #2 (x:  5.0, y:  6.0, r:  7.0)..."}));
    EXPECT_EQ(ReadFile("kept.dat").size(), 2u + 2 + 2 + 2 + 8 + 16 + 2 + 2 + 2 + 2 + 10 + 12);
    struct stat info {};
    ASSERT_EQ(::stat("kept.dat", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    for (const auto& entry : fs::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().rfind(".kept.dat", 0), std::string::npos) << entry.path();
}

TEST_F(DrawingFileFailure, SaveRefusesAReadOnlyFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    WriteFile("readonly.dat", {0x00, 0x00});
    ASSERT_EQ(::chmod("readonly.dat", 0444), 0);
    EXPECT_FALSE(m_db.Save("readonly.dat"));
    EXPECT_EQ(ReadFile("readonly.dat"), (Bytes{0x00, 0x00}));
}

TEST_F(DrawingFileFailure, SaveRefusesCoordinatesThatCouldNotBeLoadedAgain)
{
    WriteFile("kept.dat", {0x00, 0x00});
    const struct {
        const char* name;
        CGO_GeoObject* object;
        const char* reason;
    } cases[] = {
        {"NaN", MakeLine(0, kNaN, 1, 1), "object #3 has a coordinate that is not finite (nan)"},
        {"infinite radius", MakeCircle(0, 0, kInf), "object #4 has a coordinate that is not finite (inf)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_db.Add(c.object);
        LogTail tail;
        EXPECT_FALSE(m_db.Save("kept.dat"));
        EXPECT_NE(m_db.GetLastError().find(c.reason), std::string::npos) << m_db.GetLastError();
        EXPECT_EQ(tail.Lines().back(), "[WARN] Saving graphics to file 'kept.dat' failed: " + m_db.GetLastError());
        EXPECT_EQ(ReadFile("kept.dat"), (Bytes{0x00, 0x00}));
        m_db.RemoveAt(m_db.GetSize() - 1);
    }
    EXPECT_TRUE(m_db.Save("kept.dat")) << "the finite rest of the drawing saves";
}
