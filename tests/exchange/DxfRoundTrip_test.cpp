// DXF saves and loads of whole drawings: every float comes back bit for bit,
// a drawing file survives the way through DXF to the byte, a DXF load logs
// exactly what a drawing-file load logs, and a failed save keeps the old file.
#include "exchange/DrawingExchange.h"
#include "exchange/DxfWriter.h"
#include "exchange/ExchangeTestUtil.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

using namespace extest;
using exchange::FORMAT_DAT;
using exchange::FORMAT_DXF;
namespace fs = std::filesystem;

namespace {

// Reads text back as a reader would that only has doubles, and as one that
// reads floats directly.
void ExpectReadsBack(float value)
{
    const std::string text = CDxfWriter::FormatFloat(value);
    double asDouble = 0;
    float asFloat = 0;
    const char* end = text.data() + text.size();
    ASSERT_EQ(std::from_chars(text.data(), end, asDouble).ptr, end) << text;
    ASSERT_EQ(std::from_chars(text.data(), end, asFloat).ptr, end) << text;
    EXPECT_EQ(Bits(static_cast<float>(asDouble)), Bits(value)) << text;
    EXPECT_EQ(Bits(asFloat), Bits(value)) << text;
    EXPECT_EQ(Bits(static_cast<float>(std::strtod(text.c_str(), nullptr))), Bits(value)) << text;
}

std::vector<std::string> WithoutPath(std::vector<std::string> lines, const std::string& path)
{
    for (std::string& line : lines) {
        const std::size_t at = line.find(path);
        if (at != std::string::npos)
            line.replace(at, path.size(), "<file>");
    }
    return lines;
}

std::vector<std::string> LoadLog(CGO_Database& db, const std::string& path)
{
    testsupport::LogTail tail;
    CDrawingExchange files(db);
    EXPECT_GE(files.Load(path.c_str()), 0) << files.GetLastError();
    return WithoutPath(tail.Lines(), path);
}

} // namespace

TEST(DxfRoundTrip, EveryFloatIsWrittenSoThatItReadsBackExactly)
{
    for (const float value : {0.0f, -0.0f, 0.1f, 1.0f / 3.0f, 200000.0f, 16777217.0f, FLT_MAX, -FLT_MAX, FLT_MIN,
                              std::numeric_limits<float>::denorm_min(), 1e-5f, 9.999999e-6f, 1e16f, 9.99e15f})
        ExpectReadsBack(value);
    std::mt19937 random(7);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t bits = static_cast<std::uint32_t>(random());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value))
            ExpectReadsBack(value);
    }
    // People read these.
    EXPECT_EQ(CDxfWriter::FormatFloat(200000.0f), "200000");
    EXPECT_EQ(CDxfWriter::FormatFloat(0.1f), "0.1");
    EXPECT_EQ(CDxfWriter::FormatFloat(-0.0f), "-0");
    EXPECT_EQ(CDxfWriter::FormatFloat(1e-30f), "1e-30");
}

TEST(DxfRoundTrip, RandomDrawingsComeBackBitForBit)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        CGO_Database db;
        FillRandomDrawing(db, random, 1 + static_cast<int>(random() % 60));
        CDrawingExchange files(db);
        ASSERT_TRUE(files.Save("random.dxf", FORMAT_DXF)) << files.GetLastError();

        CGO_Database copy;
        CDrawingExchange copyFiles(copy);
        ASSERT_EQ(copyFiles.Load("random.dxf"), db.GetSize()) << copyFiles.GetLastError();
        EXPECT_TRUE(copyFiles.GetSkipped().IsEmpty());
        EXPECT_EQ(ShapesOf(copy), ShapesOf(db));
        // Loaded objects are numbered afresh in file order.
        for (int slot = 0; slot < copy.GetSize(); ++slot)
            EXPECT_EQ(copy.GetAt(slot)->GetId(), slot);
    }
}

TEST(DxfRoundTrip, DrawingFileThroughDxfIsTheSameToTheByte)
{
    std::mt19937 random(99);
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        CGO_Database db;
        FillRandomDrawing(db, random, 1 + static_cast<int>(random() % 40));
        ASSERT_TRUE(db.Save("before.dat"));

        CGO_Database through;
        CDrawingExchange files(through);
        ASSERT_GE(files.Load("before.dat"), 0);
        ASSERT_TRUE(files.Save("between.dxf", FORMAT_DXF));
        ASSERT_GE(files.Load("between.dxf"), 0);
        ASSERT_TRUE(files.Save("after.dat", FORMAT_DAT));
        EXPECT_EQ(ReadText("after.dat"), ReadText("before.dat"));
    }
}

TEST(DxfRoundTrip, ALoadLogsExactlyWhatADrawingFileLoadLogs)
{
    CGO_Database db;
    db.Clear(); // ids from 0
    db.Add(new CGO_Line);
    auto* line = new CGO_Line;
    line->SetPoints(CGO_Point(10, 20), CGO_Point(-30.5f, 40));
    db.Add(line);
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(1, 2), 3);
    db.Add(circle);
    db.RemoveById(0);
    CDrawingExchange files(db);
    ASSERT_TRUE(files.Save("same.dxf", FORMAT_DXF));
    // The DXF file has no empty slots: the drawing file to compare with
    // must not have one either.
    ASSERT_GE(files.Load("same.dxf"), 0);
    ASSERT_TRUE(files.Save("same.dat", FORMAT_DAT));

    const std::vector<std::string> fromDat = LoadLog(db, "same.dat");
    const std::vector<std::string> fromDxf = LoadLog(db, "same.dxf");
    EXPECT_EQ(fromDxf, fromDat);
    const std::vector<std::string> expected = {
        "[DEBUG] Clearing Database...",
        "[DEBUG] Removing object #0 from database...",
        "[INFO] Display list for line #0 deleted.",
        "[DEBUG] Removing object #1 from database...",
        "[INFO] Display list for circle #1 deleted.",
        "[DEBUG] Database cleared.",
        "[DEBUG] GeoObject id factory resetted.",
        "[INFO] Loading graphics from file '<file>'...",
        "[INFO] New line created: object id #0",
        "[DEBUG] Line unserialized. (id: 0, x1: 10.0, y1: 20.0, x2: -30.5, y2: 40.0)",
        "[INFO] New circle created: object id #1",
        "[DEBUG] Circle unserialized. (id: 1, x:  1.0, y:  2.0, r:  3.0)",
        "[INFO] 2 graphics loaded. Drawing...",
        "[DEBUG] Drawing 2 objects in database.",
        "[INFO] Display list #100 for line #0 generated.",
        "[INFO] Display list #101 for circle #1 generated.",
    };
    EXPECT_EQ(fromDxf, expected);
}

TEST(DxfRoundTrip, SaveWritesHeaderExtentsTablesAndEntitiesOnLayer0)
{
    CGO_Database db;
    db.Clear(); // ids from 0
    auto* line = new CGO_Line;
    line->SetPoints(CGO_Point(-5, 2), CGO_Point(10, -3));
    db.Add(line);
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(20, 20), 5);
    db.Add(circle);
    testsupport::LogTail tail;
    CDrawingExchange files(db);
    ASSERT_TRUE(files.Save("plan.dxf", FORMAT_DXF));
    // The objects report themselves as in every save.
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{
                                "[DEBUG] Serializing line #0 (x1: -5.0, y1:  2.0, x2: 10.0, y2: -3.0)...",
                                "[DEBUG] Serializing circle #1 (x: 20.0, y: 20.0, r:  5.0)..."}));
    const std::string text = ReadText("plan.dxf");
    for (const char* part : {"  9\n$ACADVER\n  1\nAC1009\n", "  9\n$EXTMIN\n 10\n-5\n 20\n-3\n 30\n0\n",
                             "  9\n$EXTMAX\n 10\n25\n 20\n25\n 30\n0\n", "  2\nLAYER\n", "  2\nCONTINUOUS\n",
                             "  0\nLINE\n  8\n0\n", " 10\n-5\n 20\n2\n 30\n0\n 11\n10\n 21\n-3\n 31\n0\n",
                             "  0\nCIRCLE\n  8\n0\n", " 10\n20\n 20\n20\n 30\n0\n 40\n5\n", "  0\nEOF\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    for (const unsigned char c : text)
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "not ASCII: " << int(c);

    // An empty drawing has the extents AutoCAD gives one.
    CGO_Database empty;
    ASSERT_TRUE(CDrawingExchange(empty).Save("empty.dxf", FORMAT_DXF));
    EXPECT_NE(ReadText("empty.dxf").find("$EXTMIN\n 10\n1e+20\n 20\n1e+20\n 30\n1e+20\n"), std::string::npos);
}

TEST(DxfRoundTrip, ANegativeRadiusIsWrittenAsTheLengthItIs)
{
    CGO_Database db;
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(1, 1), -2.5f);
    db.Add(circle);
    ASSERT_TRUE(CDrawingExchange(db).Save("negative.dxf", FORMAT_DXF));
    EXPECT_NE(ReadText("negative.dxf").find(" 40\n2.5\n"), std::string::npos);
    CGO_Database copy;
    ASSERT_EQ(CDrawingExchange(copy).Load("negative.dxf"), 1);
    EXPECT_EQ(dynamic_cast<const CGO_Circle*>(copy.GetAt(0))->GetRadius(), 2.5f);
}

TEST(DxfRoundTrip, AFailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    fs::create_directories("dxf_saves");
    CGO_Database good;
    auto* line = new CGO_Line;
    line->SetPoints(CGO_Point(0, 0), CGO_Point(1, 1));
    good.Add(line);
    ASSERT_TRUE(CDrawingExchange(good).Save("dxf_saves/plan.dxf", FORMAT_DXF));
    const std::string before = ReadText("dxf_saves/plan.dxf");

    CGO_Database bad;
    auto* infinite = new CGO_Line;
    infinite->SetPoints(CGO_Point(0, 0), CGO_Point(std::numeric_limits<float>::infinity(), 1));
    bad.Add(infinite);
    testsupport::LogTail tail;
    CDrawingExchange files(bad);
    EXPECT_FALSE(files.Save("dxf_saves/plan.dxf", FORMAT_DXF));
    EXPECT_NE(files.GetLastError().find("not a finite number"), std::string::npos) << files.GetLastError();
    EXPECT_TRUE(tail.Contains("[WARN] Saving graphics to file 'dxf_saves/plan.dxf' failed: " + files.GetLastError()));
    EXPECT_EQ(ReadText("dxf_saves/plan.dxf"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator("dxf_saves"), fs::directory_iterator()), 1);

    EXPECT_FALSE(files.Save("no such folder/plan.dxf", FORMAT_DXF));
    EXPECT_FALSE(files.GetLastError().empty());
    EXPECT_FALSE(files.Save("dxf_saves/plan.svg", exchange::FORMAT_SVG));
}
