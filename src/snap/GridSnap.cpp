// Grid spacing and grid rounding. Grid values are formed as a whole number
// times a power of ten in one rounding wherever the power is exact in
// double, so 0.3 on a grid of 0.1 is the float nearest 0.3.
#include "snap/GridSnap.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace gridsnap {

namespace {

constexpr int kMinExponent = -45;
constexpr int kMaxExponent = 38;
constexpr int kMantissas[3] = {1, 2, 5};

// Powers of ten as literals, each the double nearest to its value.
constexpr double kPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31,
    1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38, 1e39, 1e40, 1e41, 1e42, 1e43, 1e44, 1e45};

// Grid lines further apart than this many float steps of a coordinate are
// not finer than the floats there.
constexpr double kFloatSteps = 0x1p24;

bool IsUsable(const CGridSpacing& spacing)
{
    return spacing.m_nExponent >= kMinExponent && spacing.m_nExponent <= kMaxExponent &&
           (spacing.m_nMantissa == 1 || spacing.m_nMantissa == 2 || spacing.m_nMantissa == 5);
}

bool SnapCoordinate(double v, const CGridSpacing& spacing, float& out)
{
    if (!(std::fabs(v) <= FLT_MAX))
        return false;
    const double cells = v / spacing.Value();
    if (!(std::fabs(cells) < kFloatSteps)) {
        out = static_cast<float>(v);
        return true;
    }
    double n = std::round(cells);
    double grid = spacing.Multiple(n);
    if (std::fabs(grid) > FLT_MAX)
        grid = spacing.Multiple(n - std::copysign(1.0, n));
    out = static_cast<float>(grid);
    return true;
}

} // namespace

double CGridSpacing::Value() const
{
    return Multiple(1.0);
}

double CGridSpacing::Multiple(double n) const
{
    const CGridSpacing spacing = IsUsable(*this) ? *this : CGridSpacing();
    const double whole = n * spacing.m_nMantissa;
    if (spacing.m_nExponent >= 0)
        return whole * kPowersOfTen[spacing.m_nExponent];
    return whole / kPowersOfTen[-spacing.m_nExponent];
}

CGridSpacing GridSpacing(double worldPerPixel, double minPixels)
{
    if (!(worldPerPixel > 0.0 && std::isfinite(worldPerPixel)))
        return CGridSpacing();
    if (!(minPixels > 0.0 && std::isfinite(minPixels)))
        minPixels = kMinCellPixels;
    const double target = worldPerPixel * minPixels;
    // log10 may be off by one either way near a power of ten; the search
    // starts a decade lower and looks through three.
    const double decade = std::floor(std::log10(target));
    const int first = static_cast<int>(std::clamp(decade - 1.0, double(kMinExponent), double(kMaxExponent)));
    for (int exponent = first; exponent <= std::min(first + 2, kMaxExponent); ++exponent) {
        for (int mantissa : kMantissas) {
            const CGridSpacing spacing{mantissa, exponent};
            // 5e38 lies beyond the float range.
            if (exponent == kMaxExponent && mantissa == 5)
                continue;
            if (spacing.Value() >= target)
                return spacing;
        }
    }
    // Only a target beyond the float range gets here.
    return CGridSpacing{2, kMaxExponent};
}

bool SnapToGrid(double x, double y, const CGridSpacing& spacing, CGO_Point& out)
{
    float gx = 0.0f;
    float gy = 0.0f;
    if (!SnapCoordinate(x, spacing, gx) || !SnapCoordinate(y, spacing, gy))
        return false;
    out = CGO_Point(gx, gy);
    return true;
}

} // namespace gridsnap
