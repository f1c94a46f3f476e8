// Measuring between two points, in double precision from the stored floats.
#include "geometry/GO_Measurement.h"

#include "log/CFormat.h"

#include <cmath>

namespace {

// Rounded first, so that -0.001 reads "0.00" and not "-0.00".
std::string Fixed(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0;
    return StringFormatC("%.*f", decimals, rounded);
}

} // namespace

CGO_Measurement CGO_Measurement::Between(CGO_Point from, CGO_Point to)
{
    CGO_Measurement m;
    m.dx = static_cast<double>(to.x) - from.x;
    m.dy = static_cast<double>(to.y) - from.y;
    m.distance = std::hypot(m.dx, m.dy);
    m.angle = std::atan2(m.dy, m.dx) * 180.0 / M_PI;
    if (m.angle < 0)
        m.angle += 360.0;
    // A direction just below the x axis would otherwise read "360.0°".
    if (std::round(m.angle * 10.0) >= 3600.0)
        m.angle = 0;
    return m;
}

std::string CGO_Measurement::StatusText() const
{
    return "Abstand: " + Fixed(distance, 2) + "  Winkel: " + Fixed(angle, 1) + "°  Δx: " + Fixed(dx, 2) +
           "  Δy: " + Fixed(dy, 2);
}

std::string CGO_Measurement::LogText(CGO_Point from, CGO_Point to) const
{
    return StringFormatC("Measured from (%.9g, %.9g) to (%.9g, %.9g): distance %.9g, angle %.9g degrees, "
                         "dx %.9g, dy %.9g.",
                         static_cast<double>(from.x), static_cast<double>(from.y), static_cast<double>(to.x),
                         static_cast<double>(to.y), distance, angle, dx, dy);
}
