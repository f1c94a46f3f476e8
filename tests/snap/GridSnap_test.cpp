// Grid spacing from the zoom, and rounding to the grid: the smallest spacing
// of 1, 2 or 5 x 10^k that keeps cells 12 pixels wide, and grid points as
// the floats nearest their decimal values.
#include "snap/GridSnap.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

using gridsnap::CGridSpacing;

TEST(GridSnap, SpacingKeepsCellsAtLeastTwelvePixelsWide)
{
    const struct {
        double worldPerPixel;
        double minPixels;
        int mantissa, exponent;
    } cases[] = {
        {1.0, 12, 2, 1},       // 12 world units: 20
        {2.0, 12, 5, 1},       // the default view, 1000 units on 500 pixels: 50
        {0.5, 12, 1, 1},
        {0.25, 12, 5, 0},
        {0.0625, 12, 1, 0},
        {0.1, 12, 2, 0},
        {1.0, 20, 2, 1},       // exactly 20 pixels is wide enough
        {1.0, 100, 1, 2},
        {1e-40, 12, 2, -39},
        {1e-50, 12, 1, -45},   // finer than the float range: the finest
        {1e37, 12, 2, 38},
        {1e38, 12, 2, 38},     // coarser than the float range: the coarsest
        {0.0, 12, 1, 0},       // unusable sizes
        {-1.0, 12, 1, 0},
        {NAN, 12, 1, 0},
        {INFINITY, 12, 1, 0},
        {1.0, 0.0, 2, 1},      // an unusable width means the usual 12
    };
    for (const auto& c : cases) {
        const CGridSpacing spacing = gridsnap::GridSpacing(c.worldPerPixel, c.minPixels);
        EXPECT_EQ(spacing.m_nMantissa, c.mantissa) << c.worldPerPixel << " " << c.minPixels;
        EXPECT_EQ(spacing.m_nExponent, c.exponent) << c.worldPerPixel << " " << c.minPixels;
    }
}

TEST(GridSnap, SpacingIsTheFinestThatIsWideEnough)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> decade(-44.0, 36.0);
    for (int i = 0; i < 20000; ++i) {
        const double worldPerPixel = std::pow(10.0, decade(random));
        const CGridSpacing spacing = gridsnap::GridSpacing(worldPerPixel);
        const double target = worldPerPixel * gridsnap::kMinCellPixels;
        ASSERT_GE(spacing.Value(), target) << worldPerPixel;
        // The next finer step: 5 -> 2 -> 1 -> 5 of the decade below.
        CGridSpacing finer = spacing;
        if (spacing.m_nMantissa == 1)
            finer = {5, spacing.m_nExponent - 1};
        else
            finer.m_nMantissa = spacing.m_nMantissa == 5 ? 2 : 1;
        ASSERT_LT(finer.Value(), target) << worldPerPixel;
    }
}

TEST(GridSnap, RoundsToTheNearestGridPoint)
{
    const struct {
        double x, y;
        CGridSpacing spacing;
        float ex, ey;
    } cases[] = {
        {0.26, 0.34, {1, -1}, 0.3f, 0.3f},       // the float nearest 0.3, not 3 x 0.1
        {-0.25, 0.25, {5, -1}, -0.5f, 0.5f},     // halves go away from zero
        {13.0, -7.0, {1, 1}, 10.0f, -10.0f},
        {-0.0, 0.4, {1, 0}, 0.0f, 0.0f},
        {1e30, 5.0, {1, 0}, 1e30f, 5.0f},        // a grid finer than the floats there
        {FLT_MAX, -FLT_MAX, {2, 38}, 2e38f, -2e38f}, // 4e38 is beyond the float range
        {123456.7, 0.0, {2, 3}, 124000.0f, 0.0f},
    };
    for (const auto& c : cases) {
        CGO_Point out;
        ASSERT_TRUE(gridsnap::SnapToGrid(c.x, c.y, c.spacing, out)) << c.x;
        EXPECT_EQ(out.x, c.ex) << c.x;
        EXPECT_EQ(out.y, c.ey) << c.y;
    }
    CGO_Point out(1, 2);
    EXPECT_FALSE(gridsnap::SnapToGrid(NAN, 0, {1, 0}, out));
    EXPECT_FALSE(gridsnap::SnapToGrid(0, INFINITY, {1, 0}, out));
    EXPECT_FALSE(gridsnap::SnapToGrid(1e39, 0, {1, 0}, out));
    EXPECT_EQ(out.x, 1.0f);
    EXPECT_EQ(out.y, 2.0f);
}

TEST(GridSnap, GridPointsAreTheFloatsNearestTheirDecimalValues)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cells(-1000000, 1000000);
    std::uniform_int_distribution<int> exponent(-20, 20);
    std::uniform_int_distribution<int> mantissa(0, 2);
    std::uniform_real_distribution<double> offset(-0.4, 0.4);
    const int mantissas[3] = {1, 2, 5};
    for (int i = 0; i < 20000; ++i) {
        const CGridSpacing spacing{mantissas[mantissa(random)], exponent(random)};
        const long long n = cells(random);
        const double x = spacing.Multiple(static_cast<double>(n) + offset(random));
        CGO_Point out;
        ASSERT_TRUE(gridsnap::SnapToGrid(x, 0.0, spacing, out));
        // strtof rounds the exact decimal value correctly.
        const std::string text = std::to_string(n * spacing.m_nMantissa) + "e" + std::to_string(spacing.m_nExponent);
        ASSERT_EQ(out.x, std::strtof(text.c_str(), nullptr)) << text;
    }
}
