// Zoom, pan and fit as arithmetic on the range, in double precision and then
// rounded to the floats the scene keeps; every result is checked to be
// drawable before it is handed out.
#include "view/scene/ViewRange.h"

#include "log/CFormat.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace viewrange {

namespace {

// Below this span the projection's own float arithmetic runs out of range,
// whatever the coordinates are.
constexpr double kMinSpan = 1e-30;
// The span a fit gives a drawing without extent (a point, or nothing but
// coordinates near zero).
constexpr double kPointSpan = 100.0;
// Fitted to a point, the view stays this much coarser than the float
// resolution there, so the next steps in still have room.
constexpr double kPointSpanPerMagnitude = 1e-3;
// The viewport side a fit assumes when it checks the float resolution: larger
// than any screen, so the fitted range is drawable on every one.
constexpr int kFitSide = 8192;

double MaxAbs(const WorldCoordinates& r)
{
    return std::max({std::fabs(r.xMin), std::fabs(r.xMax), std::fabs(r.yMin), std::fabs(r.yMax)});
}

bool IsFinite(const WorldCoordinates& r)
{
    return std::isfinite(r.xMin) && std::isfinite(r.xMax) && std::isfinite(r.yMin) && std::isfinite(r.yMax);
}

double LargerSpan(const WorldCoordinates& r)
{
    return std::max(r.xMax - r.xMin, r.yMax - r.yMin);
}

WorldCoordinates Scaled(const WorldCoordinates& r, double x, double y, double factor)
{
    return AsFloats({x - (x - r.xMin) / factor, x + (r.xMax - x) / factor, y - (y - r.yMin) / factor,
                     y + (r.yMax - y) / factor});
}

// A square range of the given span about a centre, its edges kept within the
// floats.
WorldCoordinates Square(double cx, double cy, double span)
{
    const double half = span / 2.0;
    const auto clamp = [](double v) { return std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)); };
    return AsFloats({clamp(cx - half), clamp(cx + half), clamp(cy - half), clamp(cy + half)});
}

} // namespace

WorldCoordinates AsFloats(const WorldCoordinates& r)
{
    return {static_cast<float>(r.xMin), static_cast<float>(r.xMax), static_cast<float>(r.yMin),
            static_cast<float>(r.yMax)};
}

bool IsDrawable(const WorldCoordinates& r, int side)
{
    if (!IsFinite(r) || !(r.xMin < r.xMax) || !(r.yMin < r.yMax) || side <= 0)
        return false;
    const double spanX = r.xMax - r.xMin;
    const double spanY = r.yMax - r.yMin;
    // The projection divides by the span in float.
    if (spanX > FLT_MAX || spanY > FLT_MAX || std::min(spanX, spanY) < kMinSpan)
        return false;
    // One pixel must still be at least one float step of the largest
    // coordinate in view, or neighbouring pixels would show the same point.
    const float largest = static_cast<float>(MaxAbs(r));
    const double resolution = std::nextafter(largest, FLT_MAX) - largest;
    return std::min(spanX, spanY) / side >= resolution;
}

RangeFault CheckTypedRange(const WorldCoordinates& r, int side)
{
    if (!IsFinite(r))
        return RangeFault::kNotFinite;
    if (!(r.xMin < r.xMax) || !(r.yMin < r.yMax))
        return RangeFault::kReversed;
    if (LargerSpan(r) > kMaxZoomSpan)
        return RangeFault::kTooWide;
    return IsDrawable(r, side > 0 ? side : kFitSide) ? RangeFault::kNone : RangeFault::kTooFine;
}

WorldCoordinates ZoomAbout(const WorldCoordinates& range, double x, double y, double factor, int side)
{
    if (!(factor > 0.0) || !std::isfinite(factor) || factor == 1.0 || !std::isfinite(x) || !std::isfinite(y))
        return range;
    const auto allowed = [&](const WorldCoordinates& r) {
        if (!IsDrawable(r, side))
            return false;
        return factor > 1.0 || LargerSpan(r) <= kMaxZoomSpan;
    };
    WorldCoordinates wanted = Scaled(range, x, y, factor);
    if (allowed(wanted))
        return wanted;
    // Cut the step back to the limit it would pass: search the exponent of
    // the factor, since the limit lies somewhere between no step and all of it.
    double possible = 0.0;
    double impossible = 1.0;
    for (int i = 0; i < 60; ++i) {
        const double share = (possible + impossible) / 2.0;
        if (allowed(Scaled(range, x, y, std::pow(factor, share))))
            possible = share;
        else
            impossible = share;
    }
    if (possible == 0.0)
        return range;
    const WorldCoordinates limited = Scaled(range, x, y, std::pow(factor, possible));
    return allowed(limited) ? limited : range;
}

WorldCoordinates PanByPixels(const WorldCoordinates& range, double dx, double dy, int side)
{
    if (side <= 0 || !std::isfinite(dx) || !std::isfinite(dy))
        return range;
    const double shiftX = dx * (range.xMax - range.xMin) / side;
    const double shiftY = dy * (range.yMax - range.yMin) / side;
    const WorldCoordinates moved =
        AsFloats({range.xMin - shiftX, range.xMax - shiftX, range.yMin - shiftY, range.yMax - shiftY});
    // Near the float limit a pan could lose an edge to infinity or squeeze the
    // span below the resolution; then the view stays where it is.
    return IsDrawable(moved, side) ? moved : range;
}

WorldCoordinates FitToBox(const CGO_Box& box)
{
    const bool finite = std::isfinite(box.xMin) && std::isfinite(box.xMax) && std::isfinite(box.yMin) &&
                        std::isfinite(box.yMax);
    if (!finite || box.xMin > box.xMax || box.yMin > box.yMax)
        return FitToNothing();
    const double cx = box.xMin / 2.0 + box.xMax / 2.0;
    const double cy = box.yMin / 2.0 + box.yMax / 2.0;
    const double magnitude = std::max({std::fabs(box.xMin), std::fabs(box.xMax), std::fabs(box.yMin),
                                       std::fabs(box.yMax)});
    double span = std::max(box.Width(), box.Height()) * (1.0 + 2.0 * kFitMargin);
    if (span == 0.0)
        span = std::max(kPointSpan, magnitude * kPointSpanPerMagnitude);
    // The projection divides by the span in float: a drawing wider than the
    // floats reach is shown about its centre as widely as they allow.
    span = std::min(span, static_cast<double>(FLT_MAX));
    // A drawing smaller than the float resolution where it lies is shown as
    // finely as floats allow.
    WorldCoordinates fitted = Square(cx, cy, span);
    for (int i = 0; i < 200 && !IsDrawable(fitted, kFitSide); ++i) {
        span *= 2.0;
        fitted = Square(cx, cy, span);
    }
    return IsDrawable(fitted, kFitSide) ? fitted : FitToNothing();
}

WorldCoordinates FitToNothing()
{
    return kDefaultRange;
}

std::string Caption(const WorldCoordinates& r)
{
    // Enough decimals for every float: the smallest drawable span needs far
    // fewer, a range typed into the dialog may need more.
    constexpr int kMostDecimals = 60;
    int decimals = 1;
    for (; decimals < kMostDecimals; ++decimals) {
        const bool xApart = StringFormatC("%3.*f", decimals, r.xMin) != StringFormatC("%3.*f", decimals, r.xMax);
        const bool yApart = StringFormatC("%3.*f", decimals, r.yMin) != StringFormatC("%3.*f", decimals, r.yMax);
        if (xApart && yApart)
            break;
    }
    return StringFormatC("CAD-Programm (%3.*f, %3.*f | %3.*f, %3.*f)", decimals, r.xMin, decimals, r.xMax, decimals,
                         r.yMin, decimals, r.yMax);
}

} // namespace viewrange
