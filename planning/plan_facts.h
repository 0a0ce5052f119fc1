#pragma once

#include <cstddef>

#include "conversions/angle_units.h"

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

using tarvex::DegreesPerRadian;

// A dish carries two to four feeds; the first is the one the dish points at.
inline constexpr std::size_t MinFeeds = 2;
inline constexpr std::size_t MaxFeeds = 4;

// A usual LNB's collar is about 40 mm across: it is drawn as a circle of this diameter.
inline constexpr double FeedBodyMm = 40;
// The widest part of a common universal LNB, its horn's mouth with the scalar rings around it:
// about 60 mm across on the usual single and twin Ku-band universal LNBs with a 40 mm collar,
// half as wide again as the collar. (A figure of the trade, not of one data sheet: the installer
// measures the LNB in hand, and the plan takes that.) Centres closer than the LNB's width do not
// fit side by side.
inline constexpr double DefaultLnbWidthMm = 60;

// The band the optics are worked out for: Ku (10.7 to 12.75 GHz) by default; accepted from L to Ka.
inline constexpr double DefaultFrequencyGhz = 11.7;
inline constexpr double MinFrequencyGhz = 1;
inline constexpr double MaxFrequencyGhz = 40;
// The rim's illumination below the reflector's centre's, dB: the usual design of a dish's feed;
// accepted above 0 up to this.
inline constexpr double DefaultEdgeTaperDb = 11;
inline constexpr double MaxEdgeTaperDb = 30;

// A feed's verdict by its loss against feed 1: up to the first almost as good, up to the second
// weaker, up to the optics' degraded loss only for a strong satellite with margin.
inline constexpr double AsFeedOneLossDb = 1;
inline constexpr double WeakerLossDb = 3;
// Another satellite in the middle is advised when it makes the worst feed this much better.
inline constexpr double BetterFocusDb = 1;

// Below this elevation trees, buildings and the thicker air in front of the dish cost signal.
inline constexpr double MinElevationDeg = 5;
// Beyond this angle from the boresight a feed sees a badly defocused beam: a large loss. The
// formula's plan (optics off) warns of it; the optics give each feed's loss instead.
inline constexpr double MaxOffAxisDeg = 12;

// The World Magnetic Model 2025 holds from its epoch to the day before its successor's.
inline constexpr Date MagneticModelFirstDay{2025, 1, 1};
inline constexpr Date MagneticModelLastDay{2029, 12, 31};
inline constexpr double MagneticModelEpoch = 2025.0;  // the decimal year of its first day
inline constexpr double MagneticModelEnd = 2030.0;    // the decimal year after its last day

}  // namespace tarvex::planning
