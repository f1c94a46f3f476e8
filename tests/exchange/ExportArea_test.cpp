// The area a picture shows and the picture's size in pixels.
#include "exchange/ExportArea.h"

#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace exchange;

namespace {

void AddLine(CGO_Database& db, float x1, float y1, float x2, float y2)
{
    auto* line = new CGO_Line;
    line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
    db.Add(line);
}

void AddCircle(CGO_Database& db, float x, float y, float r)
{
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(x, y), r);
    db.Add(circle);
}

} // namespace

TEST(ExportArea, ExtentsWithAMarginOfTheLargerSide)
{
    const WorldCoordinates visible{-10, 20, -30, 40};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* name;
        std::function<void(CGO_Database&)> fill;
        WorldCoordinates expected;
    } cases[] = {
        {"empty: the visible range", [](CGO_Database&) {}, visible},
        {"emptied slots count as empty",
         [](CGO_Database& db) {
             AddLine(db, 0, 0, 1, 1);
             db.RemoveById(db.GetAt(0)->GetId());
         },
         visible},
        {"a line and a circle", [](CGO_Database& db) {
             AddLine(db, 0, 0, 100, 50);
             AddCircle(db, 70, 30, 20);
         },
         {-5, 105, -5, 55}},
        {"a horizontal line gets room above and below", [](CGO_Database& db) { AddLine(db, 0, 0, 200, 0); },
         {-10, 210, -10, 10}},
        {"a point-sized line", [](CGO_Database& db) { AddLine(db, 3, 4, 3, 4); }, {2.8, 3.2, 3.8, 4.2}},
        {"a negative radius is a length", [](CGO_Database& db) { AddCircle(db, 0, 0, -10); },
         {-11, 11, -11, 11}},
        {"objects without finite coordinates are left out",
         [nan](CGO_Database& db) {
             AddLine(db, nan, 0, 1, 1);
             AddLine(db, 0, 0, 10, 10);
         },
         {-0.5, 10.5, -0.5, 10.5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGO_Database db;
        c.fill(db);
        const WorldCoordinates area = ExportArea(db, visible);
        EXPECT_NEAR(area.xMin, c.expected.xMin, 1e-9);
        EXPECT_NEAR(area.xMax, c.expected.xMax, 1e-9);
        EXPECT_NEAR(area.yMin, c.expected.yMin, 1e-9);
        EXPECT_NEAR(area.yMax, c.expected.yMax, 1e-9);
    }
}

TEST(ExportArea, PictureKeepsTheAreasProportions)
{
    const struct {
        WorldCoordinates area;
        int width, height;
    } cases[] = {
        {{0, 110, 0, 60}, 1000, 545},
        {{0, 60, 0, 110}, 545, 1000},
        {{-1, 1, -1, 1}, 1000, 1000},
        {{0, 1e6, 0, 1}, 1000, 1},   // never thinner than a pixel
        {{0, 0, 0, 1}, 1000, 1000},  // no area at all: a square
    };
    for (const auto& c : cases) {
        const PictureSize size = PictureSizeFor(c.area, 1000);
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height, c.height);
    }
}
