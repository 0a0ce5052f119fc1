#pragma once

#include <numbers>

namespace tarvex {

// Degrees in a radian: the plan, the optics, the sun, their drawings and their texts convert
// angles by this one factor (multiplying radians, dividing degrees). The main window's own
// conversions are its design's (geometry/angles.h).
//   0.5 * DegreesPerRadian -> 28.64788975654116;  90 / DegreesPerRadian -> 1.5707963267948966
inline constexpr double DegreesPerRadian = 180 / std::numbers::pi;

}  // namespace tarvex
