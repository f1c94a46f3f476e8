// DXF entities the drawing decodes itself: polylines with bulges, inserts of
// nested blocks through point, scale, rotation and array, ellipses with equal
// axes; and the inserts that must stay bounded (recursion, huge arrays).
#include "exchange/DxfGeometry.h"
#include "exchange/DxfReader.h"
#include "exchange/ExchangeTestUtil.h"

#include <gtest/gtest.h>

using namespace extest;

namespace {

struct Expected {
    const char* kind; // "CGO_Line", "CGO_Circle", "CGO_Arc"
    std::vector<float> values;
};

std::string Block(const std::string& name, const DxfText& entities)
{
    return DxfText().G(0, "BLOCK").G(2, name).G(10, "0").G(20, "0").Raw(entities.Get()).G(0, "ENDBLK").Get();
}

std::string File(const std::string& blocks, const DxfText& entities)
{
    return DxfText().Section("BLOCKS").Raw(blocks).EndSection().Get() + EntitiesFile(entities);
}

void ExpectRecords(const CDxfReader& reader, const std::vector<Expected>& expected)
{
    const auto& records = reader.GetRecords();
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(records[i].runtimeClass->m_lpszClassName, expected[i].kind);
        for (std::size_t v = 0; v < expected[i].values.size(); ++v)
            EXPECT_NEAR(records[i].values[v], expected[i].values[v], 1e-4) << "value " << v;
    }
}

} // namespace

TEST(DxfGeometry, PolylinesBlocksAndEllipsesBecomeLinesCirclesAndArcs)
{
    const DxfText arcBlock = DxfText().G(0, "ARC").G(10, "0").G(20, "0").G(40, "1").G(50, "0").G(51, "90");
    const struct {
        const char* name;
        std::string file;
        std::vector<Expected> expected;
    } cases[] = {
        {"closed LWPOLYLINE, one edge bulged outward into a half circle",
         EntitiesFile(DxfText().G(0, "LWPOLYLINE").G(90, "4").G(70, "1")
                          .G(10, "0").G(20, "0").G(42, "1").G(10, "2").G(20, "0").G(10, "2").G(20, "2")
                          .G(10, "0").G(20, "2")),
         {{"CGO_Arc", {1, 0, 1, 180, 0}}, {"CGO_Line", {2, 0, 2, 2}}, {"CGO_Line", {2, 2, 0, 2}},
          {"CGO_Line", {0, 2, 0, 0}}}},
        {"clockwise bulge of a quarter turn",
         EntitiesFile(DxfText().G(0, "LWPOLYLINE").G(10, "1").G(20, "0").G(42, "-0.41421356237").G(10, "0").G(20, "1")),
         {{"CGO_Arc", {1, 1, 1, 180, 270}}}},
        {"closed 2D POLYLINE with vertices",
         EntitiesFile(DxfText().G(0, "POLYLINE").G(66, "1").G(70, "1").G(10, "0").G(20, "0")
                          .G(0, "VERTEX").G(10, "0").G(20, "0").G(0, "VERTEX").G(10, "4").G(20, "0")
                          .G(0, "VERTEX").G(10, "4").G(20, "3").G(0, "SEQEND")),
         {{"CGO_Line", {0, 0, 4, 0}}, {"CGO_Line", {4, 0, 4, 3}}, {"CGO_Line", {4, 3, 0, 0}}}},
        {"nested blocks: rotated inside, scaled outside",
         File(Block("INNER", DxfText().Line("0", "0", "1", "0").Circle("0", "0", "1")) +
                  Block("OUTER", DxfText().G(0, "INSERT").G(2, "INNER").G(10, "10").G(20, "0").G(50, "90")),
              DxfText().G(0, "INSERT").G(2, "OUTER").G(10, "100").G(20, "100").G(41, "2").G(42, "2")),
         {{"CGO_Line", {120, 100, 120, 102}}, {"CGO_Circle", {120, 100, 2}}}},
        {"array of 2 columns and 2 rows, base point moved",
         DxfText().Section("BLOCKS").G(0, "BLOCK").G(2, "P").G(10, "1").G(20, "1").Raw(DxfText().Line("1", "1", "2", "1").Get())
                 .G(0, "ENDBLK").EndSection().Get() +
             EntitiesFile(DxfText().G(0, "INSERT").G(2, "P").G(10, "0").G(20, "0").G(70, "2").G(71, "2")
                              .G(44, "10").G(45, "20")),
         {{"CGO_Line", {0, 0, 1, 0}}, {"CGO_Line", {10, 0, 11, 0}}, {"CGO_Line", {0, 20, 1, 20}},
          {"CGO_Line", {10, 20, 11, 20}}}},
        {"mirrored insert reverses an arc",
         File(Block("A", arcBlock), DxfText().G(0, "INSERT").G(2, "A").G(10, "0").G(20, "0").G(41, "-1")),
         {{"CGO_Arc", {0, 0, 1, 90, 180}}}},
        {"ELLIPSE with equal axes, half and whole",
         EntitiesFile(DxfText().G(0, "ELLIPSE").G(10, "5").G(20, "5").G(11, "0").G(21, "2").G(40, "1")
                          .G(41, "0").G(42, "3.14159265358979")
                          .G(0, "ELLIPSE").G(10, "1").G(20, "1").G(11, "3").G(21, "0").G(40, "1")),
         {{"CGO_Arc", {5, 5, 2, 90, 270}}, {"CGO_Circle", {1, 1, 3}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDxfReader reader;
        ASSERT_TRUE(reader.Read(std::vector<unsigned char>(c.file.begin(), c.file.end()))) << reader.GetError();
        EXPECT_TRUE(reader.GetSkipped().IsEmpty()) << reader.GetSkipped().Describe();
        ExpectRecords(reader, c.expected);
    }
}

TEST(DxfGeometry, WhatCannotBeTakenIsNamedAndInsertsStayBounded)
{
    const DxfText circle = DxfText().Circle("0", "0", "1");
    const struct {
        const char* name;
        std::string file;
        std::size_t records;
        const char* skipped;
    } cases[] = {
        {"a block that inserts itself through another",
         File(Block("A", DxfText().Raw(circle.Get()).G(0, "INSERT").G(2, "B")) +
                  Block("B", DxfText().G(0, "INSERT").G(2, "A")),
              DxfText().G(0, "INSERT").G(2, "A")),
         1, "INSERT (block 'A' inserts itself)"},
        {"a 10^9-fold array of one line",
         File(Block("L", DxfText().Line("0", "0", "1", "0")),
              DxfText().G(0, "INSERT").G(2, "L").G(70, "32767").G(71, "32767").G(44, "1").G(45, "1")),
         static_cast<std::size_t>(CDxfGeometry::kMaxObjects), "INSERT (beyond 200000 objects)"},
        {"a 10^9-fold array of an empty block",
         File(Block("E", DxfText()), DxfText().G(0, "INSERT").G(2, "E").G(70, "32767").G(71, "32767")), 0,
         "INSERT (beyond 200000 objects)"},
        {"non-uniform scale of a circle",
         File(Block("C", circle), DxfText().G(0, "INSERT").G(2, "C").G(41, "2").G(42, "1")), 0,
         "CIRCLE (scaled unevenly by INSERT of 'C')"},
        {"ELLIPSE with unequal axes",
         EntitiesFile(DxfText().G(0, "ELLIPSE").G(10, "0").G(20, "0").G(11, "2").G(21, "0").G(40, "0.5")), 0,
         "ELLIPSE"},
        {"INSERT of a block never defined", EntitiesFile(DxfText().G(0, "INSERT").G(2, "NONE")), 0,
         "INSERT (no block 'NONE')"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDxfReader reader;
        ASSERT_TRUE(reader.Read(std::vector<unsigned char>(c.file.begin(), c.file.end()))) << reader.GetError();
        EXPECT_EQ(reader.GetRecords().size(), c.records);
        EXPECT_GE(reader.GetSkipped().Count(c.skipped), 1) << reader.GetSkipped().Describe();
    }
}
