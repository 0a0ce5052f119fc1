#pragma once

#include <cstddef>
#include <numbers>

// Facts about the hardware and the models that the plan, its texts and its drawings share: each
// is written here once.

namespace tarvex::planning {

// A date of the proleptic Gregorian calendar, as plain numbers; std::chrono does the arithmetic.
struct Date {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31

    friend bool operator==(const Date&, const Date&) = default;
};

// Degrees in a radian: the plan, its drawings and its texts convert angles by this one factor
// (multiplying radians, dividing degrees). The main window's own conversions are its design's
// (geometry/angles.h).
inline constexpr double DegreesPerRadian = 180 / std::numbers::pi;

// A dish carries two to four feeds; the first is the one the dish points at.
inline constexpr std::size_t MinFeeds = 2;
inline constexpr std::size_t MaxFeeds = 4;

// A usual LNB's collar is about 40 mm across: it is drawn as a circle of this diameter, and
// centres closer than that do not fit side by side.
inline constexpr double FeedBodyMm = 40;

// Below this elevation trees, buildings and the thicker air in front of the dish cost signal.
inline constexpr double MinElevationDeg = 5;
// Beyond this angle from the boresight a feed sees a badly defocused beam: a large loss.
inline constexpr double MaxOffAxisDeg = 12;

// The World Magnetic Model 2025 holds from its epoch to the day before its successor's.
inline constexpr Date MagneticModelFirstDay{2025, 1, 1};
inline constexpr Date MagneticModelLastDay{2029, 12, 31};
inline constexpr double MagneticModelEpoch = 2025.0;  // the decimal year of its first day
inline constexpr double MagneticModelEnd = 2030.0;    // the decimal year after its last day

}  // namespace tarvex::planning
