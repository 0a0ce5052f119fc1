#pragma once

#include <optional>

#include "planning/plan_facts.h"

// The sun as a compass: where the sun stands for a site and an instant, and when it stands at a
// satellite's azimuth. At that moment the dish faces the sun's direction, and a vertical stick's
// shadow points exactly away from the satellite: no steel near a compass to spoil it.
//
// The sun's place is Meeus's low-accuracy method (J. Meeus, "Astronomical Algorithms", 2nd ed.,
// 1998, ch. 25, with the sidereal time of ch. 12, the nutation of ch. 22 and the horizontal
// coordinates of ch. 13), which NOAA's solar calculator uses too: about 0.01 degrees in the
// sun's longitude, so an azimuth within 0.05 degrees and a time within about 15 s. Directions are
// geometric, as the satellites' are: no refraction; the elevation is topocentric.
//
// Instants are seconds since 1970-01-01T00:00:00 UTC without leap seconds (POSIX time), taken as
// UT1: the two differ by less than 0.9 s.

namespace tarvex::planning {

// The sun's apparent geocentric right ascension and declination.
struct SunEquatorial {
    double right_ascension_deg = 0;  // [0, 360)
    double declination_deg = 0;
};

// For a Julian Ephemeris Day (Terrestrial Time).
//   2448908.5 (1992-10-13 0h TD) -> 198.38083, -7.78507 (Meeus, example 25.a)
SunEquatorial SunApparentEquatorial(double julian_ephemeris_day);

struct SunDirection {
    double azimuth_deg = 0;  // true, [0, 360), clockwise from north
    double elevation_deg = 0;
};

// The sun seen from a site (degrees north and east) at an instant.
//   39.742476 N, -105.1786 E, 2003-10-17T19:30:30Z -> 194.340, 39.872 (Reda and Andreas 2004,
//     whose 50.11162 zenith angle holds 0.01633 of refraction)
//   39.743 N, -105.178 E, 2020-01-01T20:10:00Z -> 196.776, 25.410 (NREL's calculator)
SunDirection SunDirectionAt(double latitude_deg, double longitude_deg, double unix_seconds);

// The first moment of a day at which the sun, above the horizon, stands at an azimuth.
struct SunAtAzimuth {
    Date day;  // the day searched in which it happens
    double unix_seconds = 0;
    double elevation_deg = 0;
};

// Where the day searched for a date starts at a longitude: 00:00 of the site's mean solar time,
// UTC - longitude / 15 h. It lasts 86400 s.
//   (2026-12-07, 35.4615 E) -> 1796593089.24 (2026-12-06T21:38:09Z);  (2026-12-07, -90 E) ->
//   2026-12-07T06:00:00Z;  200 E is 160 W
double SunDayStart(const Date& date, double longitude_deg);

// The first moment in the day searched for a real date (IsRealDate) when the sun, above the
// horizon, stands at a true azimuth, to within a millisecond of this method's sun; none when it
// does not that day. Latitude within [-90, 90], everything finite.
//   32.808333 N, 35.4615 E, 2026-12-07, 217.3698 (satellite 13) -> 1796644608.2
//     (2026-12-07T11:56:48Z), elevation 24.367
//   14.7167 N, -17.4677 E, 2026-06-21, 68 -> 07:26:11Z, the first of two: the sun turns back
//     at 71.6 and passes 68 again at 11:14Z
//   51.5 N, -0.1 E, 2026-12-21, 0 (north) -> none: the sun stays in the south
std::optional<SunAtAzimuth> SunAtAzimuthOn(double latitude_deg, double longitude_deg,
                                           const Date& date, double azimuth_deg);

// The next such moment at or after now: in the day searched for the date, else in the next day's;
// none when neither has one still to come.
//   the Tiberias example with now at 11:00Z -> that day's 11:56:48Z; at 12:00Z ->
//     2026-12-08T11:57:33Z (day 2026-12-08)
std::optional<SunAtAzimuth> NextSunAtAzimuth(double latitude_deg, double longitude_deg,
                                             const Date& date, double azimuth_deg,
                                             double now_unix_seconds);

}  // namespace tarvex::planning
