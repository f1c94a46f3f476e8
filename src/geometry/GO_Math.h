// Single-precision constants shared by the geometry.
#pragma once

namespace geo {
constexpr float kPi = 3.1415927f;
constexpr float kHalfCircle = 180.0f;
} // namespace geo
