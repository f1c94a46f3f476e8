// The range arithmetic behind zoom, pan and fit, without a window: the point
// under the cursor stays put, pans move by whole pixels, fits show the
// drawing square and whole, and no step ever leaves a drawable range.
#include "view/scene/ViewRange.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

using namespace viewrange;

namespace {

constexpr int kSide = 500;

double PixelX(const WorldCoordinates& r) { return (r.xMax - r.xMin) / kSide; }

// Where a world point lies in the viewport, in pixels from the lower left.
double ScreenX(const WorldCoordinates& r, double x) { return (x - r.xMin) / (r.xMax - r.xMin) * kSide; }
double ScreenY(const WorldCoordinates& r, double y) { return (y - r.yMin) / (r.yMax - r.yMin) * kSide; }

void ExpectDrawable(const WorldCoordinates& r)
{
    ASSERT_TRUE(std::isfinite(r.xMin) && std::isfinite(r.xMax) && std::isfinite(r.yMin) && std::isfinite(r.yMax));
    ASSERT_LT(r.xMin, r.xMax);
    ASSERT_LT(r.yMin, r.yMax);
    ASSERT_TRUE(IsDrawable(r, kSide));
}

} // namespace

TEST(ViewRange, ZoomingInAndOutAboutAPointKeepsItUnderTheCursor)
{
    const struct {
        WorldCoordinates range;
        double x, y;
    } cases[] = {
        {kDefaultRange, 0, 0},
        {kDefaultRange, 123.4, -321.9},
        {kDefaultRange, -499, 499},
        {{1e6, 1e6 + 1e4, -3e3, 7e3}, 1e6 + 2.5e3, 0.1},
        {{-1e-3, 1e-3, -2e-3, 2e-3}, 0.0004, 0.0015},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        const double sx = ScreenX(c.range, c.x);
        const double sy = ScreenY(c.range, c.y);
        WorldCoordinates r = AsFloats(c.range);
        for (int i = 0; i < 20; ++i) {
            r = ZoomAbout(r, c.x, c.y, kZoomStep, kSide);
            ExpectDrawable(r);
            EXPECT_NEAR(ScreenX(r, c.x), sx, 1.0);
            EXPECT_NEAR(ScreenY(r, c.y), sy, 1.0);
        }
        for (int i = 0; i < 20; ++i)
            r = ZoomAbout(r, c.x, c.y, 1.0 / kZoomStep, kSide);
        const WorldCoordinates start = AsFloats(c.range);
        EXPECT_NEAR(r.xMin, start.xMin, PixelX(start));
        EXPECT_NEAR(r.xMax, start.xMax, PixelX(start));
        EXPECT_NEAR(r.yMin, start.yMin, (start.yMax - start.yMin) / kSide);
        EXPECT_NEAR(r.yMax, start.yMax, (start.yMax - start.yMin) / kSide);
    }
}

TEST(ViewRange, PanMovesByExactlyThePixelsGiven)
{
    // 2 world units per pixel on x, 1 on y.
    const WorldCoordinates r{-500, 500, -250, 250};
    const WorldCoordinates moved = PanByPixels(r, 10, -4, kSide);
    EXPECT_EQ(moved.xMin, -520);
    EXPECT_EQ(moved.xMax, 480);
    EXPECT_EQ(moved.yMin, -246);
    EXPECT_EQ(moved.yMax, 254);
    // There and back again lands where it started.
    EXPECT_EQ(PanByPixels(moved, -10, 4, kSide).xMin, r.xMin);
}

TEST(ViewRange, FitShowsTheDrawingSquareWithAMarginOrTheDefaultWhenEmpty)
{
    EXPECT_EQ(FitToNothing().xMin, -500);
    EXPECT_EQ(FitToNothing().yMax, 500);
    const struct {
        const char* what;
        CGO_Box box;
    } cases[] = {
        {"wide", {-100, 0, 300, 50}},
        {"tall", {0, -1000, 10, 1000}},
        {"a point", {7, -3, 7, -3}},
        {"a horizontal line", {-20, 5, 40, 5}},
        {"a vertical line", {1, -1, 1, 1}},
        {"huge coordinates", {1e30, 1e30, 1e30, 1e30}},
        {"near the float limit", {-3e38, -3e38, 3e38, 3e38}},
        {"tiny beside huge", {1e20, 0, 1e20 + 1, 1e-20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const WorldCoordinates r = FitToBox(c.box);
        ExpectDrawable(r);
        const double spanX = r.xMax - r.xMin;
        const double spanY = r.yMax - r.yMin;
        const double larger = std::max(c.box.Width(), c.box.Height());
        if (larger * 1.1 > FLT_MAX) {
            // Wider than a float span: as wide as floats allow, about the centre.
            EXPECT_GE(spanX, 0.99 * FLT_MAX);
            continue;
        }
        // The whole drawing is in view.
        EXPECT_LE(r.xMin, c.box.xMin);
        EXPECT_GE(r.xMax, c.box.xMax);
        EXPECT_LE(r.yMin, c.box.yMin);
        EXPECT_GE(r.yMax, c.box.yMax);
        // One world unit as long on both axes, to the floats' resolution there.
        const float edge = static_cast<float>(std::max(std::fabs(r.xMax), std::fabs(r.yMax)));
        EXPECT_LE(std::fabs(spanX - spanY), 2.0 * (std::nextafter(edge, FLT_MAX) - edge) + 1e-9 * spanX);
        // 5% on each side, or more where floats cannot resolve less.
        EXPECT_GE(std::max(spanX, spanY), larger * 1.1 * (1 - 1e-6));
        if (larger > 1.0 && larger < 1e30) {
            EXPECT_NEAR(std::max(spanX, spanY), larger * 1.1, larger * 1e-6) << "5% on each side";
        }
    }
}

TEST(ViewRange, ZoomStopsAtTheFloatResolutionAndAtTheLargestSpan)
{
    for (const double centre : {0.0, 1.0, 1e6, -3e7, 1e20}) {
        SCOPED_TRACE(centre);
        WorldCoordinates r = FitToBox({centre, centre, centre, centre});
        for (int i = 0; i < 400; ++i) {
            const WorldCoordinates next = ZoomAbout(r, centre, centre, kZoomStep, kSide);
            ExpectDrawable(next);
            r = next;
        }
        // No further step in is possible: the next pixel would not be a new float.
        EXPECT_EQ(ZoomAbout(r, centre, centre, kZoomStep, kSide).xMin, r.xMin);
        const float largest = static_cast<float>(std::max(std::fabs(r.xMin), std::fabs(r.xMax)));
        EXPECT_GE(PixelX(r), std::nextafter(largest, FLT_MAX) - largest);
    }
    WorldCoordinates r = kDefaultRange;
    for (int i = 0; i < 200; ++i) {
        r = ZoomAbout(r, 10, 10, 1.0 / kZoomStep, kSide);
        ExpectDrawable(r);
    }
    EXPECT_LE(std::max(r.xMax - r.xMin, r.yMax - r.yMin), kMaxZoomSpan);
    EXPECT_GT(std::max(r.xMax - r.xMin, r.yMax - r.yMin), kMaxZoomSpan / kZoomStep);
}

TEST(ViewRange, RandomStepsNeverLeaveADrawableRange)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    WorldCoordinates r = kDefaultRange;
    for (int i = 0; i < 20000; ++i) {
        const double span = r.xMax - r.xMin;
        switch (i % 3) {
        case 0:
            r = ZoomAbout(r, r.xMin + span * unit(random), r.yMin + span * unit(random),
                          std::pow(kZoomStep, 8 * unit(random)), kSide);
            break;
        case 1:
            r = PanByPixels(r, 1e4 * unit(random), 1e4 * unit(random), kSide);
            break;
        default: {
            // Junk from a broken wheel or key repeat must change nothing.
            const double junk[] = {NAN, INFINITY, -INFINITY, 0.0, -1.0};
            EXPECT_EQ(ZoomAbout(r, 0, 0, junk[i % 5], kSide).xMin, r.xMin);
            EXPECT_EQ(ZoomAbout(r, junk[i % 5], 0, 2.0, kSide).xMin,
                      std::isfinite(junk[i % 5]) ? ZoomAbout(r, junk[i % 5], 0, 2.0, kSide).xMin : r.xMin);
            if (!std::isfinite(junk[i % 5])) {
                EXPECT_EQ(PanByPixels(r, junk[i % 5], 0, kSide).xMin, r.xMin);
            }
        }
        }
        ExpectDrawable(r);
        if (HasFatalFailure())
            return;
    }
}

TEST(ViewRange, CaptionUsesOneDecimalUnlessTheEdgesNeedMore)
{
    EXPECT_EQ(Caption(kDefaultRange), "CAD-Programm (-500.0, 500.0 | -500.0, 500.0)");
    EXPECT_EQ(Caption({-100, 100, -50, 50}), "CAD-Programm (-100.0, 100.0 | -50.0, 50.0)");
    EXPECT_EQ(Caption({0, 0.00001, 0, 0.00001}), "CAD-Programm (0.00000, 0.00001 | 0.00000, 0.00001)");
    EXPECT_EQ(Caption({0.25, 0.75, 0, 2}), "CAD-Programm (0.2, 0.8 | 0.0, 2.0)");
    EXPECT_EQ(Caption({1.0, 1.02, 0, 1}), "CAD-Programm (1.00, 1.02 | 0.00, 1.00)");
}
