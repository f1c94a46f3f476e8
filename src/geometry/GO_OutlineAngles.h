// The sine and cosine of every angle of a circle's outline, one vertex per
// degree. The angle of vertex i depends on i alone, so an outline needs only
// the products with its radius; the values are those a per-vertex
// computation would give.
#pragma once

#include "geometry/GO_Circle.h"
#include "geometry/GO_Math.h"

#include <cmath>

struct CGO_OutlineAngles {
    double sine[CGO_Circle::OUTLINE_VERTICES];
    double cosine[CGO_Circle::OUTLINE_VERTICES];

    static const CGO_OutlineAngles& Get()
    {
        static const CGO_OutlineAngles angles;
        return angles;
    }

private:
    CGO_OutlineAngles()
    {
        for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i) {
            const float a = static_cast<float>(i) * geo::kPi / geo::kHalfCircle;
            sine[i] = std::sin(static_cast<double>(a));
            cosine[i] = std::cos(static_cast<double>(a));
        }
    }
};
