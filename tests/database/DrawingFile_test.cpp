// Drawing files to the byte: the examples of the file layout, the short and
// long slot count, the long tag form, and round trips that keep every bit of
// the geometry while the ids are handed out afresh.
#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "geometry/GO_RuntimeClass.h"
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace dbtest;

namespace {

std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Saves, loads the file into a second database, and saves that again: the
// second file must equal the first.
void ExpectStableRoundTrip(CGO_Database& db, const Bytes& expected)
{
    ASSERT_TRUE(db.Save("first.dat")) << db.GetLastError();
    EXPECT_EQ(ReadFile("first.dat"), expected);
    CGO_Database copy;
    EXPECT_EQ(copy.Load("first.dat"), db.GetSize());
    ASSERT_TRUE(copy.Save("second.dat"));
    EXPECT_EQ(ReadFile("second.dat"), expected);
}

} // namespace

TEST(DrawingFile, ExamplesSaveToTheDocumentedBytes)
{
    using Fill = std::function<void(CGO_Database&)>;
    const struct {
        const char* name;
        Fill fill;
        Bytes expected;
    } cases[] = {
        {"never held anything", [](CGO_Database&) {}, {0x00, 0x00}},
        {"three emptied slots",
         [](CGO_Database& db) {
             for (int i = 0; i < 3; ++i)
                 db.Add(MakeLine(0, 0, 1, 1));
             db.Clear();
         },
         {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"one line", [](CGO_Database& db) { db.Add(MakeLine(0, 0, 10, 20)); },
         {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0x00, 'C', 'G', 'O', '_', 'L', 'i',
          'n', 'e', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x41,
          0x00, 0x00, 0xA0, 0x41}},
        {"line, empty, circle",
         [](CGO_Database& db) {
             db.Add(MakeLine(1, 2, 3, 4));
             db.Add(MakeLine(0, 0, 0, 0));
             db.Add(MakeCircle(5, 6, 7));
             db.RemoveById(db.GetAt(1)->GetId());
         },
         FileBuilder().U16(3).NewClass("CGO_Line").Line(1, 2, 3, 4).U16(0).NewClass("CGO_Circle").Circle(5, 6, 7).Get()},
        {"circle first, then references 0x8001 and 0x8003",
         [](CGO_Database& db) {
             db.Add(MakeCircle(1, 1, 1));
             db.Add(MakeLine(1, 2, 3, 4));
             db.Add(MakeCircle(2, 2, 2));
             db.Add(MakeLine(5, 6, 7, 8));
         },
         FileBuilder()
             .U16(4)
             .NewClass("CGO_Circle").Circle(1, 1, 1)
             .NewClass("CGO_Line").Line(1, 2, 3, 4)
             .U16(0x8001).Circle(2, 2, 2)
             .U16(0x8003).Line(5, 6, 7, 8)
             .Get()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGO_Database db;
        c.fill(db);
        ExpectStableRoundTrip(db, c.expected);
    }
}

TEST(DrawingFile, SlotCountSwitchesToTheLongFormAt65535)
{
    const struct {
        std::uint32_t slots;
        Bytes head;
    } cases[] = {
        {65534, {0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
        {65536, {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        FileBuilder file;
        if (c.slots < 65535)
            file.U16(c.slots);
        else
            file.U16(0xFFFF).U32(c.slots);
        for (std::uint32_t i = 0; i < c.slots; ++i)
            file.U16(0);
        WriteFile("empty_slots.dat", file.Get());
        CGO_Database db;
        ASSERT_EQ(db.Load("empty_slots.dat"), static_cast<int>(c.slots));
        EXPECT_EQ(db.GetCount(), static_cast<int>(c.slots));
        ExpectStableRoundTrip(db, file.Get());
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), file.Get().begin()));
    }
}

// The class index reaches 0x7FFF when "CGO_Circle" is described after 32764
// lines; from then on circles take the long tag 0x7FFF + 0x80007FFF.
TEST(DrawingFile, ClassIndicesFrom0x7FFFUseTheLongTag)
{
    constexpr std::uint32_t kLines = 32765;
    FileBuilder file;
    file.U16(kLines + 3).NewClass("CGO_Line").Line(0, 0, 1, 1);
    for (std::uint32_t i = 1; i < kLines; ++i)
        file.U16(0x8001).Line(static_cast<float>(i), 0, 0, 1);
    file.NewClass("CGO_Circle").Circle(1, 2, 3);    // class index 0x7FFF
    file.U16(0x7FFF).U32(0x80007FFF).Circle(4, 5, 6);
    file.U16(0x8001).Line(7, 8, 9, 10);
    WriteFile("long_tags.dat", file.Get());

    CGO_Database db;
    ASSERT_EQ(db.Load("long_tags.dat"), static_cast<int>(kLines + 3));
    const auto* circle = dynamic_cast<const CGO_Circle*>(db.GetAt(kLines + 1));
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetRadius(), 6.0f);
    EXPECT_NE(dynamic_cast<const CGO_Line*>(db.GetAt(kLines + 2)), nullptr);
    ExpectStableRoundTrip(db, file.Get());
}

// Forms a writer never produces but that the layout allows: the long tag for
// a small class index, an empty slot in long form, a repeated class
// description, a short count in long form, and bytes after the last slot.
TEST(DrawingFile, ReaderAcceptsEveryFormTheLayoutAllows)
{
    WriteFile("unusual.dat", FileBuilder()
                                 .U16(0xFFFF).U32(4)
                                 .NewClass("CGO_Line").Line(1, 2, 3, 4)
                                 .U16(0x7FFF).U32(0x80000001).Line(5, 6, 7, 8)
                                 .U16(0x7FFF).U32(0)
                                 .NewClass("CGO_Line").Line(9, 10, 11, 12)
                                 .Text("trailing bytes")
                                 .Get());
    CGO_Database db;
    ASSERT_EQ(db.Load("unusual.dat"), 4) << db.GetLastError();
    ASSERT_TRUE(db.Save("canonical.dat"));
    EXPECT_EQ(ReadFile("canonical.dat"), FileBuilder()
                                             .U16(4)
                                             .NewClass("CGO_Line").Line(1, 2, 3, 4)
                                             .U16(0x8001).Line(5, 6, 7, 8)
                                             .U16(0)
                                             .U16(0x8001).Line(9, 10, 11, 12)
                                             .Get());
}

// The floats an object stores in its data record, as raw bits.
static std::vector<std::uint32_t> RecordBits(const CGO_GeoObject* object)
{
    if (const auto* line = dynamic_cast<const CGO_Line*>(object))
        return {Bits(line->GetP1().x), Bits(line->GetP1().y), Bits(line->GetP2().x), Bits(line->GetP2().y)};
    if (const auto* circle = dynamic_cast<const CGO_Circle*>(object))
        return {Bits(circle->GetCenter().x), Bits(circle->GetCenter().y), Bits(circle->GetRadius())};
    return {};
}

TEST(DrawingFile, RoundTripKeepsEveryBitAndRenumbersIds)
{
    using Limits = std::numeric_limits<float>;
    CGO_Database db;
    db.Clear();
    for (int i = 0; i < 5; ++i)
        db.Add(MakeLine(0, 0, 0, 0));
    db.Clear(); // five empty slots; then spend a few ids so the saved ones are not 0, 1, 2
    for (int i = 0; i < 4; ++i)
        delete MakeLine(0, 0, 0, 0);
    db.Add(MakeLine(-0.0f, Limits::denorm_min(), Limits::max(), -Limits::min()));
    db.Add(MakeCircle(-Limits::max(), 0.1f, Limits::denorm_min()));
    db.Add(MakeLine(-123.456f, 1e-30f, Limits::lowest(), 7.0f));
    ASSERT_EQ(db.GetAt(7)->GetId(), 6);
    ASSERT_TRUE(db.Save("odd.dat"));

    CGO_Database loaded;
    ASSERT_EQ(loaded.Load("odd.dat"), 8);
    for (int slot = 0; slot < 8; ++slot) {
        SCOPED_TRACE(slot);
        if (slot < 5) {
            EXPECT_EQ(loaded.GetAt(slot), nullptr);
            continue;
        }
        ASSERT_NE(loaded.GetAt(slot), nullptr);
        EXPECT_EQ(loaded.GetAt(slot)->GetId(), slot - 5);
        EXPECT_EQ(loaded.GetAt(slot)->GetDisplayList(), slot - 5 + 100);
        EXPECT_EQ(loaded.GetAt(slot)->GetRuntimeClass(), db.GetAt(slot)->GetRuntimeClass());
        EXPECT_EQ(RecordBits(loaded.GetAt(slot)), RecordBits(db.GetAt(slot)));
    }
    ASSERT_TRUE(loaded.Save("odd_again.dat"));
    EXPECT_EQ(ReadFile("odd_again.dat"), ReadFile("odd.dat"));
}

// Shipped drawings: load, save, and get the same bytes back.
TEST(DrawingFile, FixturesSaveBackUnchanged)
{
    const struct {
        const char* name;
        int slots;
        int objects;
    } fixtures[] = {{"one_line.dat", 1, 1}, {"mixed.dat", 6, 5}};
    for (const auto& f : fixtures) {
        SCOPED_TRACE(f.name);
        const std::string path = testsupport::FixturePath(f.name);
        CGO_Database db;
        ASSERT_EQ(db.Load(path.c_str()), f.slots) << db.GetLastError();
        int objects = 0;
        for (int slot = 0; slot < db.GetSize(); ++slot)
            objects += db.GetAt(slot) != nullptr;
        EXPECT_EQ(objects, f.objects);
        ASSERT_TRUE(db.Save("fixture_copy.dat"));
        EXPECT_EQ(ReadFile("fixture_copy.dat"), ReadFile(path));
    }
}
