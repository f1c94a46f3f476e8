// File types by extension, and the name a file chosen with a type filter is
// written under.
#include "exchange/FileFormat.h"

#include <gtest/gtest.h>

using namespace exchange;

TEST(FileFormat, ExtensionsNameTheirFormatWhateverTheirCase)
{
    const struct {
        const char* path;
        FileFormat format;
        FileFormat opened;
    } cases[] = {
        {"a.dat", FORMAT_DAT, FORMAT_DAT},     {"a.DXF", FORMAT_DXF, FORMAT_DXF},
        {"/x/y.Dxf", FORMAT_DXF, FORMAT_DXF},  {"b.svg", FORMAT_SVG, FORMAT_DAT},
        {"b.PDF", FORMAT_PDF, FORMAT_DAT},     {"c.png", FORMAT_PNG, FORMAT_DAT},
        {"drawing", FORMAT_UNKNOWN, FORMAT_DAT}, {"a.dxf.bak", FORMAT_UNKNOWN, FORMAT_DAT},
        {".dxf", FORMAT_UNKNOWN, FORMAT_DAT},  {"dir.dxf/drawing", FORMAT_UNKNOWN, FORMAT_DAT},
        {"", FORMAT_UNKNOWN, FORMAT_DAT},      {"x.", FORMAT_UNKNOWN, FORMAT_DAT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FormatOfPath(c.path), c.format);
        EXPECT_EQ(FormatForOpening(c.path), c.opened);
    }
    EXPECT_STREQ(ExtensionOf(FORMAT_DXF), "dxf");
    EXPECT_STREQ(ExtensionOf(FORMAT_UNKNOWN), "");
}

TEST(FileFormat, AFilterAddsItsExtensionUnlessTheNameHasOneOfItsGroup)
{
    const struct {
        const char* path;
        FileFormat filter;
        const char* expected;
    } cases[] = {
        {"plan", FORMAT_DXF, "plan.dxf"},
        {"plan.dxf", FORMAT_DAT, "plan.dxf"},   // the name's own drawing type wins
        {"plan.DAT", FORMAT_DXF, "plan.DAT"},
        {"plan.png", FORMAT_DXF, "plan.png.dxf"}, // a picture is no drawing
        {"plan.v2", FORMAT_DAT, "plan.v2.dat"},
        {"plan", FORMAT_SVG, "plan.svg"},
        {"plan.pdf", FORMAT_PNG, "plan.pdf"},
        {"plan.dxf", FORMAT_PDF, "plan.dxf.pdf"},
        {"plan", FORMAT_UNKNOWN, "plan"},
        {"", FORMAT_DXF, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathForFilter(c.path, c.filter), c.expected);
    }
}
