// The scene: what a full redraw puts into the drawing buffer, the log lines
// of drawing every list, and which world ranges are taken.
#include "view/scene/Graphics.h"

#include "support/LogTail.h"
#include "view/ViewTestSupport.h"

#include <cmath>
#include <limits>

using testsupport::LogTail;
using viewtest::CountPixels;
using viewtest::IsBlack;
using viewtest::IsWhite;

namespace {

using ViewScene = viewtest::ViewFixture;

TEST_F(ViewScene, EmptyDrawingRendersAllWhiteAndLogsOnlyTheEnd)
{
    LogTail tail;
    view.Render();
    const QImage image = view.GrabFramebuffer();
    EXPECT_EQ(CountPixels(image, IsWhite), image.width() * image.height());
    EXPECT_EQ(tail.Lines(), std::vector<std::string>{"[DEBUG] Drawn all display lists."});
}

TEST_F(ViewScene, HorizontalLineLightsOnlyTheMiddleRow)
{
    AddLine(-250, 0, 250, 0);
    view.Render();
    const QImage image = view.GrabFramebuffer();
    const int black = CountPixels(image, IsBlack);
    EXPECT_EQ(black + CountPixels(image, IsWhite), image.width() * image.height());

    // One unbroken pixel row at the middle of the square, a quarter to three
    // quarters across.
    const QRect bounds = viewtest::BlackBounds(image);
    const double side = Side();
    EXPECT_EQ(bounds.height(), 1);
    EXPECT_NEAR(bounds.top(), image.height() - side / 2, 1.0);
    EXPECT_NEAR(bounds.left(), side / 4, 1.0);
    EXPECT_NEAR(bounds.right(), side * 3 / 4, 1.0);
    EXPECT_EQ(black, bounds.width());
}

TEST_F(ViewScene, RedrawSkipsAnEmptiedSlotAndKeepsTheOrder)
{
    AddLine(-100, -100, 100, -100);
    AddLine(-100, 0, 100, 0);
    AddLine(-100, 100, 100, 100);
    CGO_Database* database = view.GetGraphics()->GetDatabase();
    database->RemoveAt(1);
    ASSERT_EQ(database->GetSize(), 3);

    LogTail tail;
    view.Render();
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{
                                "[DEBUG] Drawing display list #0...",
                                "[DEBUG] Display list #1 not found!",
                                "[DEBUG] Drawing display list #2...",
                                "[DEBUG] Drawn all display lists.",
                            }));
    // The removed line in the middle is gone from the picture as well.
    const QImage image = view.GrabFramebuffer();
    const QPointF middle = DevicePointOf(0, 0);
    for (int dy = -2; dy <= 2; ++dy)
        EXPECT_TRUE(IsWhite(image.pixel(static_cast<int>(middle.x()), static_cast<int>(middle.y()) + dy)));
}

struct RangeCase {
    const char* name;
    float xMin, xMax, yMin, yMax;
    bool taken;
    const char* logLine;
};

TEST_F(ViewScene, WorldRangeIsTakenOnlyWhenFiniteAndIncreasing)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const RangeCase cases[] = {
        {"valid", -10, 10, -5, 5, true, "[DEBUG] World coordinates are now X(-10.0, 10.0), Y(-5.0,  5.0)"},
        {"fractions widen to double", 0.5f, 1.25f, -0.5f, 100, true,
         "[DEBUG] World coordinates are now X( 0.5,  1.2), Y(-0.5, 100.0)"},
        {"equal x edges", 100, 100, 0, 10, false, nullptr},
        {"reversed x", 10, -10, 0, 10, false, nullptr},
        {"equal y edges", 0, 10, 5, 5, false, nullptr},
        {"reversed y", 0, 10, 5, -5, false, nullptr},
        {"infinite edge", -inf, 10, 0, 10, false, nullptr},
        {"not a number", 0, nan, 0, 10, false, nullptr},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        CGraphics graphics;
        LogTail tail;
        EXPECT_EQ(graphics.SetWorldCoordinates(c.xMin, c.xMax, c.yMin, c.yMax), c.taken);
        const WorldCoordinates range = graphics.GetWorldCoordinates();
        if (c.taken) {
            EXPECT_EQ(range.xMin, static_cast<double>(c.xMin));
            EXPECT_EQ(range.xMax, static_cast<double>(c.xMax));
            EXPECT_EQ(range.yMin, static_cast<double>(c.yMin));
            EXPECT_EQ(range.yMax, static_cast<double>(c.yMax));
            EXPECT_EQ(tail.Lines(), std::vector<std::string>{c.logLine});
        } else {
            EXPECT_EQ(range.xMin, -500.0);
            EXPECT_EQ(range.xMax, 500.0);
            EXPECT_EQ(range.yMin, -500.0);
            EXPECT_EQ(range.yMax, 500.0);
            EXPECT_TRUE(tail.Lines().empty());
        }
    }
}

TEST_F(ViewScene, NewRangeTakesEffectAtTheNextRender)
{
    // An x span twice the y span on the same square: a circle turns out
    // twice as tall as wide.
    AddCircle(0, 0, 4);
    ASSERT_TRUE(view.GetGraphics()->SetWorldCoordinates(-10, 10, -5, 5));
    view.Render();
    const QRect bounds = viewtest::BlackBounds(view.GrabFramebuffer());
    EXPECT_NEAR(bounds.width(), Side() * 8 / 20, 2.0);
    EXPECT_NEAR(bounds.height(), Side() * 8 / 10, 2.0);
}

} // namespace
