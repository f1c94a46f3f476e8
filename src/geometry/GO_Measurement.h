// What "Messen" reports of two points: the distance, the direction and the
// offsets along the axes, and how the status line and the log word them.
#pragma once

#include "geometry/GO_Point.h"

#include <string>

struct CGO_Measurement {
    double distance = 0;
    double angle = 0; // degrees, counter-clockwise from the x axis, 0 to below 360
    double dx = 0;
    double dy = 0;

    static CGO_Measurement Between(CGO_Point from, CGO_Point to);

    // "Abstand: 223.61  Winkel: 26.6°  Δx: 200.00  Δy: 100.00"; a figure that
    // rounds to zero is shown without a sign.
    std::string StatusText() const;
    // The log's line, with every digit a float holds.
    std::string LogText(CGO_Point from, CGO_Point to) const;
};
