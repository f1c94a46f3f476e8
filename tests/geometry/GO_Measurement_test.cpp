// What "Messen" shows for pairs of points: directions all round, signs,
// figures that round to zero, and the log's full digits.
#include "geometry/GO_Measurement.h"

#include <gtest/gtest.h>

namespace {

TEST(GO_Measurement, StatusAndLogTextByTable)
{
    const struct { CGO_Point from, to; const char* text; } rows[] = {
        {{0, 0}, {200, 100}, "Abstand: 223.61  Winkel: 26.6°  Δx: 200.00  Δy: 100.00"},
        {{0, 0}, {0, -50}, "Abstand: 50.00  Winkel: 270.0°  Δx: 0.00  Δy: -50.00"},
        {{1.5f, 2}, {-1.5f, -2}, "Abstand: 5.00  Winkel: 233.1°  Δx: -3.00  Δy: -4.00"},
        {{10, 10}, {10, 10}, "Abstand: 0.00  Winkel: 0.0°  Δx: 0.00  Δy: 0.00"},
        {{0, 0}, {-3, -0.001f}, "Abstand: 3.00  Winkel: 180.0°  Δx: -3.00  Δy: 0.00"},
        {{0, 0}, {100, -0.01f}, "Abstand: 100.00  Winkel: 0.0°  Δx: 100.00  Δy: -0.01"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CGO_Measurement::Between(row.from, row.to).StatusText(), row.text) << row.text;
    // The log keeps every digit.
    EXPECT_EQ(CGO_Measurement::Between(rows[0].from, rows[0].to).LogText(rows[0].from, rows[0].to),
              "Measured from (0, 0) to (200, 100): distance 223.606798, angle 26.5650512 degrees, dx 200, dy 100.");
}

} // namespace
