#pragma once

#include <string>

#include "geometry/angles.h"

// Where the second feed goes: its rotation about its own axis, and how far its centre lies from
// the first feed's centre, vertically and horizontally.

namespace tarvex {

// FormatNumber pattern of the elevation and azimuth shifts: radians with five decimals.
inline constexpr const char* ShiftPattern = "##0.00000";

inline constexpr const char* SignMinus = " -";
inline constexpr const char* SignPlus = " +";

struct FeedRotationResult {
    double rotation_angle = 0;  // degrees, never negative
    std::string rotation_sign;  // " -", " +" or empty
};

// Rotation of the second feed, from the three angle texts read back by ParseLeadingNumber:
// |arctan(sin(site lon - sat2 lon) / tan(lat))| in degrees (limit at the equator: 90, or 0 when
// the longitudes are equal). The sign is " +" for a satellite west of the site, " -" for one less
// than half a turn east of it, also across the 180 meridian; empty when the longitudes are equal
// or exactly half a turn apart. South of the equator the feed turns the other way: " +" and
// " -" swap.
//   (" .6189199", " .572613438758473", " .3351032") -> 23.4787..., " +"
// Throws RuntimeError on arithmetic faults (absurd inputs).
FeedRotationResult FeedRotation(const AngleTexts& texts);

enum class Hemisphere { Northern, Southern };

// Southern for a latitude below 0; a negative zero is the equator, Northern.
Hemisphere HemisphereOf(double latitude);

struct FeedOffset {
    std::string shift;    // the angular shift in radians, by ShiftPattern: "-0.05547"
    double distance = 0;  // F * sin(|shift read back|), in the unit of F
    std::string word;     // direction word
    // The distance with the shift's sign: negative below or to the left of the first feed.
    double signed_distance = 0;
};

struct FeedOffsetsResult {
    FeedOffset vertical;    // from the elevations: "ВЫШЕ" or "НИЖЕ"
    FeedOffset horizontal;  // from the azimuths: "СПРАВА" or "СЛЕВА"
};

// Offsets of the second feed's centre from the first's.
// Vertical: x = ((BETA1 - BETA2) * PI) / 180; "НИЖЕ" when the shift text reads below 0.
// Horizontal: the same with the azimuths (their difference first brought into (-180, 180] for a
// southern site); "СЛЕВА" when the shift reads below 0, else "СПРАВА".
//   (217.344291652777, 44.8168471212995, 208.29555f, 47.994846f, 600, Northern)
//     -> vertical   {"-0.05547", 33.2649349..., "НИЖЕ", -33.2649349...}
//        horizontal {"0.15793",  94.3645838..., "СПРАВА", 94.3645838...}
// Throws RuntimeError "Overflow" for a focal length beyond the double range.
FeedOffsetsResult FeedOffsets(double alfa1, double beta1, float alfa2, float beta2,
                              double focal_length, Hemisphere hemisphere);

}  // namespace tarvex
