// DXF files checked against ezdxf, a reader and writer that lumen7's authors
// did not write: what lumen7 saves passes ezdxf's audit and holds the same
// entities and coordinates, and what ezdxf writes, in R12 and in R2000 and
// later, loads with the right geometry.
#include "exchange/DrawingExchange.h"
#include "exchange/DxfWriter.h"
#include "exchange/ExchangeTestUtil.h"

#include <gtest/gtest.h>

using namespace extest;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// One model space entity as ezdxf reported it, numbers read as it printed
// them (exact doubles) and rounded to float as a load would.
Shape ShapeFromEzdxf(const std::string& line)
{
    std::istringstream in(line);
    std::string kind;
    in >> kind;
    Shape shape{kind == "LINE", {}};
    for (std::string number; in >> number;)
        shape.bits.push_back(Bits(static_cast<float>(std::strtod(number.c_str(), nullptr))));
    return shape;
}

bool EzdxfAvailable()
{
    std::string output;
    return RunEzdxf({}, output) != -1 && output.find("ezdxf_tool.py read FILE") != std::string::npos;
}

} // namespace

TEST(DxfEzdxf, WhatLumen7WritesPassesTheAuditWithTheSameGeometry)
{
    ASSERT_TRUE(EzdxfAvailable()) << "python3-ezdxf is missing (scripts/install-deps.sh installs it)";
    std::mt19937 random(31);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        CGO_Database db;
        FillRandomDrawing(db, random, 30);
        ASSERT_TRUE(CDrawingExchange(db).Save("ours.dxf", exchange::FORMAT_DXF));
        std::string output;
        ASSERT_EQ(RunEzdxf({"read", "ours.dxf"}, output), 0) << output;
        const std::vector<std::string> lines = Lines(output);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], "errors 0 fixes 0") << output;
        std::vector<Shape> shapes;
        for (std::size_t i = 1; i < lines.size(); ++i)
            shapes.push_back(ShapeFromEzdxf(lines[i]));
        EXPECT_EQ(shapes, ShapesOf(db)) << output;
    }
}

TEST(DxfEzdxf, WhatEzdxfWritesLoadsInEveryVersion)
{
    ASSERT_TRUE(EzdxfAvailable()) << "python3-ezdxf is missing (scripts/install-deps.sh installs it)";
    const float values[] = {0.1f, -2.75f, 1e-20f, 3.4e38f, 123456.789f, -0.0f};
    std::string input;
    std::vector<Shape> expected;
    for (std::size_t i = 0; i + 3 < sizeof values / sizeof values[0]; ++i) {
        const float a = values[i], b = values[i + 1], c = values[i + 2], d = values[i + 3];
        input += "LINE " + CDxfWriter::FormatFloat(a) + " " + CDxfWriter::FormatFloat(b) + " " +
                 CDxfWriter::FormatFloat(c) + " " + CDxfWriter::FormatFloat(d) + "\n";
        expected.push_back({true, {Bits(a), Bits(b), Bits(c), Bits(d)}});
        const float r = std::fabs(d);
        input += "CIRCLE " + CDxfWriter::FormatFloat(b) + " " + CDxfWriter::FormatFloat(a) + " " +
                 CDxfWriter::FormatFloat(r) + "\n";
        expected.push_back({false, {Bits(b), Bits(a), Bits(r)}});
    }
    input += "ARC 0 0 5 0 90\nTEXT 1 1\nARC 1 1 2 10 20\nPAPERLINE 0 0 10 10\nINSERT 3 4\n";
    expected.push_back({false, {0, 0, Bits(5.0f), 0, Bits(90.0f)}});
    expected.push_back({false, {Bits(1.0f), Bits(1.0f), Bits(2.0f), Bits(10.0f), Bits(20.0f)}});
    expected.push_back({true, {Bits(3.0f), Bits(4.0f), Bits(4.0f), Bits(5.0f)}});

    for (const char* version : {"R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"}) {
        SCOPED_TRACE(version);
        std::string output;
        ASSERT_EQ(RunEzdxf({"write", version, "theirs.dxf"}, output, input), 0) << output;
        CGO_Database db;
        CDrawingExchange files(db);
        ASSERT_EQ(files.Load("theirs.dxf"), static_cast<int>(expected.size())) << files.GetLastError();
        EXPECT_EQ(ShapesOf(db), expected);
        EXPECT_EQ(files.GetSkipped().ByType(),
                  (std::vector<std::pair<std::string, int>>{{"TEXT", 1}}));
        EXPECT_EQ(files.GetSkipped().PaperSpace(), 1);
    }
}
