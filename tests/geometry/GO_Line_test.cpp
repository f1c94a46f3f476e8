// Lines: construction, setting the end points, and the data record they store
// into and load from an archive.
#include "geometry/GO_Line.h"
#include "MemoryArchive.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>

using testsupport::LogTail;
using testsupport::MemoryArchive;
using Lines = std::vector<std::string>;

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST(GO_Line, StartsAtTheOriginAndLogsItsPoints)
{
    CGO_GeoObject::ResetIdFactory();
    LogTail tail;
    CGO_Line line;
    EXPECT_EQ(line.GetP1().x, 0.0f);
    EXPECT_EQ(line.GetP1().y, 0.0f);
    EXPECT_EQ(line.GetP2().x, 0.0f);
    EXPECT_EQ(line.GetP2().y, 0.0f);
    line.SetPoints(CGO_Point(10, 20), CGO_Point(-100, 50.25f));
    EXPECT_EQ(line.GetP2().y, 50.25f);
    EXPECT_EQ(tail.Lines(), (Lines{"[INFO] New line created: object id #0",
                                   "[INFO] Line #0: P1(10.0, 20.0), P2(-100.0, 50.2)"}));
}

TEST(GO_Line, StoresFourFloatsAndLoadsThemBackBitForBit)
{
    CGO_GeoObject::ResetIdFactory();
    // Values that a decimal or double round trip would disturb.
    const float x1 = 0.1f, y1 = -0.0f, x2 = 1e-40f /* subnormal */, y2 = -FLT_MAX;
    CGO_Line original;
    original.SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));

    MemoryArchive store;
    LogTail tail;
    original.Serialize(store);
    ASSERT_EQ(store.Floats().size(), 4u);
    EXPECT_TRUE(SameBits(store.Floats()[0], x1));
    EXPECT_TRUE(SameBits(store.Floats()[1], y1));
    EXPECT_TRUE(SameBits(store.Floats()[2], x2));
    EXPECT_TRUE(SameBits(store.Floats()[3], y2));
    EXPECT_EQ(tail.Lines(), Lines{"[DEBUG] Serializing line #0 (x1:  0.1, y1: -0.0, x2:  0.0, y2: "
                                  "-340282346638528859811704183484516925440.0)..."});

    MemoryArchive load(store.Floats());
    CGO_Line loaded;
    tail.Restart();
    loaded.Serialize(load);
    EXPECT_EQ(load.FloatsRead(), 4u);
    EXPECT_FALSE(load.Failed());
    EXPECT_TRUE(SameBits(loaded.GetP1().x, x1));
    EXPECT_TRUE(SameBits(loaded.GetP1().y, y1));
    EXPECT_TRUE(SameBits(loaded.GetP2().x, x2));
    EXPECT_TRUE(SameBits(loaded.GetP2().y, y2));
    // The loaded line shows its own fresh id; ids are never part of the record.
    EXPECT_EQ(tail.Lines(), Lines{"[DEBUG] Line unserialized. (id: 1, x1:  0.1, y1: -0.0, x2:  0.0, y2: "
                                  "-340282346638528859811704183484516925440.0)"});
}

TEST(GO_Line, LoadingTakesTheFloatsInFileOrder)
{
    MemoryArchive load({1, 2, 3, 4, 99});
    CGO_Line line;
    line.Serialize(load);
    EXPECT_EQ(load.FloatsRead(), 4u); // the next record's data stays unread
    EXPECT_EQ(line.GetP1().x, 1.0f);
    EXPECT_EQ(line.GetP1().y, 2.0f);
    EXPECT_EQ(line.GetP2().x, 3.0f);
    EXPECT_EQ(line.GetP2().y, 4.0f);
}
