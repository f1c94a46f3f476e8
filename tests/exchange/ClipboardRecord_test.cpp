// The clipboard's record: exact to the bit both ways, and every damaged or
// foreign text refused with a reason and without a result.
#include "exchange/ClipboardRecord.h"

#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

CClipboardContent Sample()
{
    CClipboardContent content;
    content.reference = CGO_Point(-0.1f, 3e-38f);
    CGO_ObjectRecord line;
    line.runtimeClass = &CGO_Line::s_runtimeClass;
    line.values = {1.0f / 3.0f, -2.5f, 1e30f, 7.0f};
    CGO_ObjectRecord circle;
    circle.runtimeClass = &CGO_Circle::s_runtimeClass;
    circle.values = {0.1f, 0.2f, 5.0f};
    content.records = {line, circle};
    return content;
}

} // namespace

TEST(ClipboardRecord, RoundTripKeepsEveryBit)
{
    const CClipboardContent sample = Sample();
    CClipboardContent back;
    std::string error;
    ASSERT_TRUE(clipboard::Decode(clipboard::Encode(sample), back, error)) << error;
    ASSERT_EQ(back.records.size(), 2u);
    EXPECT_EQ(std::memcmp(&back.reference, &sample.reference, sizeof(CGO_Point)), 0);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back.records[i].runtimeClass, sample.records[i].runtimeClass);
        EXPECT_EQ(std::memcmp(back.records[i].values.data(), sample.records[i].values.data(),
                              sizeof(float) * back.records[i].values.size()),
                  0);
    }
    EXPECT_NE(clipboard::DxfText(sample).find("CIRCLE"), std::string::npos);
}

TEST(ClipboardRecord, DamagedOrForeignTextIsRefused)
{
    const std::string good = clipboard::Encode(Sample());
    const struct {
        const char* why;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"foreign", "0\nSECTION\n"},
        {"truncated", good.substr(0, good.size() / 2)},
        {"no end", good.substr(0, good.rfind("end"))},
        {"trailing words", good + "more\n"},
        {"unknown kind", "lumen7 objects 1\nreference 00000000 00000000\ncount 1\nCGO_Spline 4 0 0 0 0\nend\n"},
        {"bare object", "lumen7 objects 1\nreference 00000000 00000000\ncount 1\nCGO_GeoObject 0\nend\n"},
        {"wrong value count", "lumen7 objects 1\nreference 00000000 00000000\ncount 1\nCGO_Circle 2 00000000 00000000\nend\n"},
        {"not finite", "lumen7 objects 1\nreference 00000000 00000000\ncount 1\nCGO_Circle 3 7f800000 00000000 3f800000\nend\n"},
        {"not hex", "lumen7 objects 1\nreference 0000000g 00000000\ncount 0\nend\n"},
        {"huge count", "lumen7 objects 1\nreference 00000000 00000000\ncount 99999999999\nend\n"},
    };
    for (const auto& c : cases) {
        CClipboardContent out;
        out.reference = CGO_Point(9, 9);
        std::string error;
        EXPECT_FALSE(clipboard::Decode(c.text, out, error)) << c.why;
        EXPECT_FALSE(error.empty()) << c.why;
        EXPECT_TRUE(out.records.empty() && out.reference.x == 9.0f) << c.why << ": the result was touched";
    }
}
