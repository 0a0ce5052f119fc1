#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "planning/dish.h"

// The precise multifeed plan: where each feed of one dish really goes, for two to four
// geostationary satellites, from the geometry of the lines of sight rather than from differences
// of azimuth and elevation. Plain C++; the geodesy and the magnetic model come from GeographicLib.

namespace tarvex::planning {

// A calendar date (proleptic Gregorian), for the magnetic model.
struct Date {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

// What an installer knows about the site and the dish. Degrees east and north positive.
struct PlanInput {
    double site_longitude_deg = 0;
    double site_latitude_deg = 0;
    std::vector<double> satellites_deg;  // 2 to 4; the first is the one the dish points at
    // Prime focus: F, or none to have it from the diameter and the depth (`dish`).
    std::optional<double> focal_length_mm;
    // Prime focus, for the beam deviation factor; none: factor 1, warning "no_dish_size".
    std::optional<double> diameter_mm;
    Date date;              // for the magnetic declination
    DishMeasurements dish;  // the type and the other measurements; prime focus by default
};

// One feed. Feed 1 (the satellite the dish points at) has every offset and angle of separation 0.
struct FeedPlan {
    double satellite_deg = 0;
    double azimuth_deg = 0;           // true, [0, 360), clockwise from north
    double magnetic_azimuth_deg = 0;  // azimuth - declination, [0, 360)
    double elevation_deg = 0;         // geometric, no refraction
    double separation_deg = 0;        // angle between this satellite and satellite 1, at the site
    double right_mm = 0;              // from feed 1's centre, seen from behind the dish
    double up_mm = 0;
    double distance_mm = 0;            // hypot(right_mm, up_mm)
    double tilt_deg = 0;               // of the line from feed 1, above the horizontal
    double rotation_deg = 0;           // (-90, 90], positive clockwise seen from behind
    double relative_rotation_deg = 0;  // rotation - feed 1's rotation, folded the same way
    double aim_deg =
        0;  // toward the reflector's centre, from feed 1's axis: atan(distance / F_eff)
};

struct PlanWarning {
    std::string code;         // "collision", "low_elevation", "far_off_axis", "magnetic_model_date"
    std::optional<int> feed;  // 1-based feed number where the warning concerns one feed
    std::string message;      // one Russian sentence
};

struct Plan {
    double beam_deviation_factor = 1;
    double declination_deg = 0;   // east positive
    DishFigures dish;             // the dish pointed at satellite 1
    std::vector<FeedPlan> feeds;  // in input order
    std::vector<PlanWarning> warnings;
};

// Why an input was refused, naming the input, in Russian.
struct PlanRefusal {
    std::string message;
};

// Warning thresholds.
// Feed bodies are about 40 mm across: centres closer than that do not fit side by side.
inline constexpr double MinFeedSpacingMm = 40;
// Below this elevation trees, buildings and the thicker air in front of the dish cost signal.
inline constexpr double MinElevationDeg = 5;
// Beyond this angle from the boresight a feed sees a badly defocused beam: a large loss.
inline constexpr double MaxOffAxisDeg = 12;

// The factor by which a beam from an off-axis feed deviates less than the feed's angle, for a
// dish of focal length F and diameter D (q = D / (4 F)): (1 + 0.36 q^2) / (1 + q^2); 1 without a
// diameter. Both lengths finite and > 0.
//   (600, 1000) -> 0.90532544378698...;  (300, 1000) -> 0.73770491803278...;  (600, none) -> 1
double BeamDeviationFactor(double focal_length_mm, std::optional<double> diameter_mm);

// The plan, or the reason the input was refused. Never throws for any input values.
//   site 35.4615 E, 32.808333 N, satellites {13, 19.2}, F 600, no diameter, 2026-12-07 ->
//     feed 2: right_mm 63.640, up_mm -37.100, distance_mm 73.665, tilt_deg -30.24,
//     separation_deg 6.9994, relative_rotation_deg -0.648; declination_deg 5.097
//   the same with diameter 1000 -> beam_deviation_factor 0.9053, feed 2 right_mm 70.373,
//     up_mm -41.025
//   satellites 13 and 16 -> feed 2 31 mm from feed 1: warning "collision" for feed 2
// A dish measured otherwise (see MeasureDish) places the feeds with F_eff for F and its aperture
// for D, in the plane square to feed 1's axis ("up" along that plane, which on an offset dish is
// turned alpha further forward than the face); each feed's aim_deg is atan(distance_mm / F_eff).
//   the same site, offset dish W 800, H 883, depth 79 -> F_eff 558.861, alpha 25.041,
//     beam_deviation_factor 0.92734, feed 2 right_mm 63.973, up_mm -37.295, aim_deg 7.548;
//     dish face_tilt_deg 19.782, feed_axis_elevation_deg 5.259
//   prime focus D 1000, depth 104 -> F 600.962, feed 2 right_mm 70.465, up_mm -41.079,
//     aim_deg 7.729; face_tilt_deg 44.823, feed_axis_elevation_deg -44.823
// Refused (the message names the input): fewer than 2 or more than 4 satellites, a longitude
// that is not finite, |latitude| > 90, a focal length or diameter that is not a finite number
// > 0, a date that is not in the calendar, a dish refused by MeasureDish, a satellite below the
// horizon, a satellite so far from satellite 1 that its beam would leave at a right angle to the
// dish's axis or more, and offsets too large for a double.
std::variant<Plan, PlanRefusal> MakePlan(const PlanInput& input);

// An angle typed as decimal degrees ("35.4615", "-4.5") or degrees:minutes ("35:27.69",
// "-4:30" is 4 degrees 30 minutes west). None for anything else.
//   "35:27.69" -> 35.4615;  "-0:30" -> -0.5;  "+13" -> 13;  "1e2" -> 100;  "13:60" -> none
//   (minutes are below 60);  "13.5:10" -> none;  "inf" -> none;  "1e999" -> none;  "" -> none
std::optional<double> ParseAngle(std::string_view text);

// A number written in full: optional sign, digits, optional fraction and exponent.
//   "600" -> 600;  "1e3" -> 1000;  "-0.5" -> -0.5;  "inf" -> none;  "600 mm" -> none;  "" -> none
std::optional<double> ParseNumber(std::string_view text);

// A date written YYYY-MM-DD that exists in the calendar, years 0001 to 9999.
//   "2026-12-07" -> {2026, 12, 7};  "2028-02-29" -> {2028, 2, 29};  "2026-02-29" -> none;
//   "2026-1-7" -> none
std::optional<Date> ParseDate(std::string_view text);

// True for a date that exists in the calendar, years 1 to 9999.
//   {2024, 2, 29} -> true;  {1900, 2, 29} -> false;  {2026, 4, 31} -> false;  {0, 1, 1} -> false
bool IsRealDate(const Date& date);

}  // namespace tarvex::planning
