// Loading DXF files: what is imported and what is counted as left out, the
// files that are refused (each leaves the drawing exactly as it was), and the
// inputs that would break the DXF library if it saw them.
#include "exchange/DrawingExchange.h"
#include "exchange/ExchangeTestUtil.h"
#include "support/HeadlessGL.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

using namespace extest;

namespace {

// A drawing of a line and a circle in slots 0 and 2 (ids 0 and 2), slot 1
// empty, with their display lists: every refused file must leave exactly
// this.
class DxfLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_gl.IsValid());
        m_db.Clear();
        auto* line = new CGO_Line;
        line->SetPoints(CGO_Point(1, 2), CGO_Point(3, 4));
        m_db.Add(line);
        m_db.Add(new CGO_Line);
        auto* circle = new CGO_Circle;
        circle->SetCenterAndRadius(CGO_Point(5, 6), 7);
        m_db.Add(circle);
        m_db.RemoveById(1);
        m_before = ShapesOf(m_db);
        m_line = m_db.GetAt(0);
    }

    int Load(const std::string& text)
    {
        WriteText("input.dxf", text);
        return m_files.Load("input.dxf");
    }

    void ExpectRefused(const std::string& text, const std::string& reason)
    {
        testsupport::LogTail tail;
        EXPECT_EQ(Load(text), -1);
        EXPECT_NE(m_files.GetLastError().find(reason), std::string::npos) << m_files.GetLastError();
        EXPECT_EQ(tail.Lines(), std::vector<std::string>{"[WARN] Loading graphics from file 'input.dxf' failed: " +
                                                         m_files.GetLastError()});
        EXPECT_EQ(m_db.GetSize(), 3);
        EXPECT_EQ(m_db.GetCount(), 2);
        EXPECT_EQ(m_db.GetAt(0), m_line);
        EXPECT_EQ(m_db.GetAt(1), nullptr);
        EXPECT_EQ(ShapesOf(m_db), m_before);
        EXPECT_EQ(CGO_GeoObject::PeekNextId(), 3);
        EXPECT_TRUE(glIsList(100));
        EXPECT_TRUE(glIsList(102));
    }

    testsupport::HeadlessGL m_gl;
    CGO_Database m_db;
    CDrawingExchange m_files{m_db};
    std::vector<Shape> m_before;
    const CGO_GeoObject* m_line = nullptr;
};

const std::string kLine = DxfText().Line("1", "2", "3", "4").Get();

} // namespace

TEST_F(DxfLoad, MalformedFilesAreRefusedWithTheirReason)
{
    const struct {
        const char* name;
        std::string text;
        const char* reason;
    } cases[] = {
        {"empty", "", "the file is empty"},
        {"blank", " \r\n\n\t\n", "the file is empty"},
        {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0\x00", 24), "binary DXF"},
        {"no EOF marker", DxfText().Section("ENTITIES").Raw(kLine).EndSection().Get(), "before its EOF marker"},
        {"cut inside a section", DxfText().Section("ENTITIES").Raw(kLine).Get(), "ends inside the section ENTITIES"},
        {"code without value", DxfText().Section("ENTITIES").Raw(kLine).Get() + "  0\n",
         "ends after group code 0, before its value"},
        {"code is no number", "  0\nSECTION\n  x2\nENTITIES\n", "line 3: 'x2' is not a group code"},
        {"code out of range", "  0\nSECTION\n-1\nENTITIES\n", "'-1' is not a group code"},
        {"code far out of range", "  0\nSECTION\n99999999999\nENTITIES\n", "is not a group code"},
        {"group outside a section", DxfText().G(10, "1").Eof().Get(), "'1' stands outside a section"},
        {"entity outside a section", DxfText().Raw(kLine).Eof().Get(), "'LINE' stands outside a section"},
        {"section without name", DxfText().G(0, "SECTION").G(0, "ENDSEC").Eof().Get(), "must begin with its name"},
        {"section without ENDSEC", DxfText().Section("ENTITIES").Raw(kLine).Section("BLOCKS").EndSection().Eof().Get(),
         "the section ENTITIES has no ENDSEC"},
        {"EOF inside a section", DxfText().Section("HEADER").Eof().Get(), "the section HEADER has no ENDSEC"},
        {"group before the first entity", DxfText().Section("ENTITIES").G(8, "0").EndSection().Eof().Get(),
         "group code 8 stands before the first entity"},
        {"entity without type", EntitiesFile(DxfText().G(0, "")), "an entity without a type name"},
        {"NUL byte", EntitiesFile(DxfText().Line("1", std::string("2\0", 2), "3", "4")), "the byte 0x00"},
        {"control character", EntitiesFile(DxfText().G(0, "TEXT").G(1, "a\x01")), "the byte 0x01"},
        {"coordinate is text", EntitiesFile(DxfText().Line("1", "two", "3", "4")),
         "'two' is not a finite number (group code 20 of the LINE)"},
        {"decimal comma", EntitiesFile(DxfText().Line("1", "2,5", "3", "4")), "'2,5' is not a finite number"},
        {"not a number", EntitiesFile(DxfText().Circle("nan", "0", "1")), "'nan' is not a finite number"},
        {"infinite", EntitiesFile(DxfText().Circle("0", "inf", "1")), "'inf' is not a finite number"},
        {"beyond double", EntitiesFile(DxfText().Circle("0", "0", "1e400")), "'1e400' is not a finite number"},
        {"beyond float", EntitiesFile(DxfText().Line("1", "2", "3e39", "4")),
         "the LINE has a coordinate beyond the range"},
        {"radius beyond float", EntitiesFile(DxfText().Circle("0", "0", "-4e38")),
         "the CIRCLE has a coordinate beyond the range"},
        {"a coordinate missing", EntitiesFile(DxfText().G(0, "LINE").G(10, "1").G(20, "2").G(11, "3")),
         "the LINE lacks a coordinate"},
        {"no radius", EntitiesFile(DxfText().G(0, "CIRCLE").G(10, "1").G(20, "2")), "the CIRCLE lacks its centre"},
        {"a coordinate twice", EntitiesFile(DxfText().Line("1", "2", "3", "4").G(10, "5")),
         "the LINE gives group code 10 twice"},
        {"paper space flag is text", EntitiesFile(DxfText().Line("1", "2", "3", "4").G(67, "yes")),
         "is no integer (group code 67)"},
        {"overlong number", EntitiesFile(DxfText().Line("1", "2", "3", "0." + std::string(300, '0') + "1")),
         "is not a finite number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(c.text, c.reason);
    }
    WriteText("missing.dxf", "");
    std::remove("missing.dxf");
    EXPECT_EQ(m_files.Load("missing.dxf"), -1);
    EXPECT_NE(m_files.GetLastError().find("cannot open"), std::string::npos);
}

TEST_F(DxfLoad, EveryTruncationOfAFileIsRefused)
{
    const std::string text =
        DxfText().G(999, "written by hand").Section("HEADER").G(9, "$ACADVER").G(1, "AC1009").EndSection()
            .Raw(EntitiesFile(DxfText().Line("1.5", "-2", "3e2", "4").Circle("0", "0", "12.25")))
            .Get();
    ASSERT_EQ(Load(text), 2) << m_files.GetLastError();
    SetUp();
    // Only the line end after the EOF marker may go.
    for (std::size_t length = 0; length + 1 < text.size(); ++length) {
        SCOPED_TRACE(length);
        testsupport::LogTail tail;
        ASSERT_EQ(Load(text.substr(0, length)), -1);
        EXPECT_EQ(ShapesOf(m_db), m_before);
        EXPECT_EQ(CGO_GeoObject::PeekNextId(), 3);
    }
    EXPECT_EQ(Load(text.substr(0, text.size() - 1)), 2);
}

TEST_F(DxfLoad, LinesAndCirclesOfTheModelSpaceAreImportedIn2D)
{
    const std::string text =
        DxfText()
            .Section("HEADER").G(9, "$EXTMIN").G(10, "0").G(20, "0").G(30, "0").EndSection()
            .Section("TABLES").G(0, "TABLE").G(2, "LAYER").G(0, "LAYER").G(2, "walls").G(0, "ENDTAB").EndSection()
            .Section("ENTITIES")
            .G(0, "LINE").G(8, "walls").G(10, "  12.5 ").G(20, "+7").G(30, "99").G(11, "-1e-3").G(21, "1E+2")
            .G(31, "-5")
            .G(0, "CIRCLE").G(10, "3").G(20, "4").G(30, "1000").G(40, "2.5")
            // Seen from below, the circle's own x axis points along -x.
            .G(0, "CIRCLE").G(10, "3").G(20, "4").G(40, "1").G(210, "0").G(220, "0").G(230, "-1")
            // An application's group may use any code; it is not geometry.
            .G(0, "LINE").G(10, "1").G(20, "1").G(102, "{MYAPP").G(10, "77").G(102, "}").G(11, "2").G(21, "2")
            .G(1001, "MYAPP").G(1010, "5").G(1020, "5")
            .EndSection().Eof().Get();
    testsupport::LogTail tail;
    ASSERT_EQ(Load(text), 4) << m_files.GetLastError();
    EXPECT_TRUE(m_files.GetSkipped().IsEmpty());
    EXPECT_FALSE(tail.Contains("[WARN]"));
    const std::vector<Shape> expected = {
        {true, {Bits(12.5f), Bits(7.0f), Bits(-1e-3f), Bits(100.0f)}},
        {false, {Bits(3.0f), Bits(4.0f), Bits(2.5f)}},
        {false, {Bits(-3.0f), Bits(4.0f), Bits(1.0f)}},
        {true, {Bits(1.0f), Bits(1.0f), Bits(2.0f), Bits(2.0f)}},
    };
    EXPECT_EQ(ShapesOf(m_db), expected);
    EXPECT_EQ(CGO_GeoObject::PeekNextId(), 4);
}

TEST_F(DxfLoad, EverythingElseIsCountedByTypeAndLoggedOnce)
{
    const std::string text =
        DxfText()
            .Section("BLOCKS")
            // A block's own entities show only where an INSERT puts them.
            .G(0, "BLOCK").G(2, "PART").G(10, "0").G(20, "0").Raw(kLine).Raw(kLine).G(0, "ENDBLK")
            .EndSection()
            .Section("ENTITIES")
            .Raw(kLine)
            .G(0, "ARC").G(10, "0").G(20, "0").G(40, "1").G(50, "0").G(51, "90")
            .G(0, "ARC").G(10, "0").G(20, "0").G(40, "2").G(50, "0").G(51, "90")
            .G(0, "TEXT").G(1, "hello").G(10, "0").G(20, "0").G(40, "2.5")
            .G(0, "INSERT").G(66, "1").G(2, "PART").G(10, "5").G(20, "5")
            .G(0, "ATTRIB").G(1, "tag").G(0, "SEQEND")
            .G(0, "POLYLINE").G(66, "1").G(0, "VERTEX").G(10, "0").G(20, "0").G(0, "VERTEX").G(10, "1").G(20, "1")
            .G(0, "SEQEND")
            .G(0, "LWPOLYLINE").G(90, "2").G(10, "0").G(20, "0").G(10, "1").G(20, "1")
            .G(0, "3DSOLID").G(1, "acis data")
            .G(0, "LINE").G(67, "1").G(10, "0").G(20, "0").G(11, "1").G(21, "1")  // paper space
            .G(0, "TEXT").G(67, "1").G(1, "title").G(10, "0").G(20, "0")
            // Tilted out of the drawing's plane.
            .G(0, "CIRCLE").G(10, "0").G(20, "0").G(40, "1").G(210, "0").G(220, "1").G(230, "1")
            .Circle("9", "9", "1")
            .EndSection().Eof().Get();
    testsupport::LogTail tail;
    ASSERT_EQ(Load(text), 8) << m_files.GetLastError();
    const CSkippedEntities& skipped = m_files.GetSkipped();
    EXPECT_EQ(skipped.ByType(),
              (std::vector<std::pair<std::string, int>>{{"3DSOLID", 1}, {"CIRCLE (3D)", 1}, {"TEXT", 1}}));
    EXPECT_EQ(skipped.PaperSpace(), 2);
    EXPECT_EQ(skipped.Total(), 5);
    const std::string warning = "[WARN] Entities of file 'input.dxf' not loaded: 1 3DSOLID, 1 CIRCLE (3D), "
                                "1 TEXT; 2 on paper space; layers, colours and line types are not kept";
    const std::vector<std::string> lines = tail.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), warning);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("[WARN]", 0) == 0; }),
              1);
    EXPECT_EQ(ShapesOf(m_db), (std::vector<Shape>{{true, {Bits(1.0f), Bits(2.0f), Bits(3.0f), Bits(4.0f)}},
                                                   {false, {0, 0, Bits(1.0f), 0, Bits(90.0f)}},
                                                   {false, {0, 0, Bits(2.0f), 0, Bits(90.0f)}},
                                                   {true, {Bits(6.0f), Bits(7.0f), Bits(8.0f), Bits(9.0f)}},
                                                   {true, {Bits(6.0f), Bits(7.0f), Bits(8.0f), Bits(9.0f)}},
                                                   {true, {0, 0, Bits(1.0f), Bits(1.0f)}},
                                                   {true, {0, 0, Bits(1.0f), Bits(1.0f)}},
                                                   {false, {Bits(9.0f), Bits(9.0f), Bits(1.0f)}}}));
}

TEST_F(DxfLoad, LineEndsCommentsAndWhatFollowsTheEndDoNotMatter)
{
    std::string crlf;
    for (const char c : EntitiesFile(DxfText().Line("1", "2", "3", "4"))) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"CR LF", crlf},
        {"byte order mark", "\xEF\xBB\xBF" + EntitiesFile(DxfText().Line("1", "2", "3", "4"))},
        {"comments", DxfText().G(999, "x").Section("ENTITIES").G(999, "y").Line("1", "2", "3", "4").G(999, "z")
                         .EndSection().G(999, "w").Eof().Get()},
        {"junk after EOF", EntitiesFile(DxfText().Line("1", "2", "3", "4")) + "\x1a\x00 whatever\n"},
        {"no line end at the end", [] {
             std::string text = EntitiesFile(DxfText().Line("1", "2", "3", "4"));
             text.pop_back();
             return text;
         }()},
        {"indented codes", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1\n 20\n2\n 11\n3\n 21\n4\n  0\nENDSEC\n0\nEOF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_EQ(Load(c.text), 1) << m_files.GetLastError();
        EXPECT_EQ(ShapesOf(m_db), (std::vector<Shape>{{true, {Bits(1.0f), Bits(2.0f), Bits(3.0f), Bits(4.0f)}}}));
    }
    // A file with nothing to import is an empty drawing.
    ASSERT_EQ(Load(DxfText().Section("HEADER").EndSection().Eof().Get()), 0);
    EXPECT_EQ(m_db.GetSize(), 0);
}

// Each of these made dxflib abort, allocate gigabytes, read uninitialised
// memory or never return when it was given the whole file; the library now
// sees only the lines and circles, so they load like any other file.
TEST_F(DxfLoad, InputsThatBreakTheDxfLibraryAreKeptFromIt)
{
    const struct {
        const char* name;
        DxfText entity;
    } cases[] = {
        {"bulge before the first vertex", DxfText().G(0, "LWPOLYLINE").G(90, "1").G(42, "0.5").G(10, "0").G(20, "0")},
        {"vertex count beyond memory", DxfText().G(0, "LWPOLYLINE").G(90, "100000000")},
        {"vertex count near the int limit", DxfText().G(0, "LWPOLYLINE").G(90, "2147483647").G(10, "0").G(20, "0")},
        {"vertex count that overflows", DxfText().G(0, "LWPOLYLINE").G(90, "600000000")},
        {"knot and control point counts", DxfText().G(0, "SPLINE").G(72, "1000000000").G(73, "-7").G(74, "2000000000")
                                              .G(40, "1").G(10, "0").G(20, "0").G(41, "1")},
        {"leader vertex count", DxfText().G(0, "LEADER").G(76, "1500000000").G(10, "0").G(20, "0")},
        {"a line longer than the library's buffer", DxfText().G(0, "MTEXT").G(1, std::string(5000, 'x'))},
        {"hatch edges without a loop", DxfText().G(0, "HATCH").G(93, "5").G(72, "1").G(10, "0").G(11, "1").G(92, "2")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const std::string text = EntitiesFile(DxfText().Raw(c.entity.Get()).Line("1", "2", "3", "4"));
        ASSERT_EQ(Load(text), 1) << m_files.GetLastError();
        EXPECT_EQ(m_files.GetSkipped().Total(), 1);
    }
}
