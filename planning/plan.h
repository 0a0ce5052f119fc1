#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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
    double focal_length_mm = 0;
    std::optional<double> diameter_mm;  // for the beam deviation factor; none: factor 1
    Date date;                          // for the magnetic declination
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
};

struct PlanWarning {
    std::string code;         // "collision", "low_elevation", "far_off_axis", "magnetic_model_date"
    std::optional<int> feed;  // 1-based feed number where the warning concerns one feed
    std::string message;      // one Russian sentence
};

struct Plan {
    double beam_deviation_factor = 1;
    double declination_deg = 0;   // east positive
    std::vector<FeedPlan> feeds;  // in input order
    std::vector<PlanWarning> warnings;
};

// Why an input was refused, naming the input, in Russian.
struct PlanRefusal {
    std::string message;
};

// The plan, or the reason the input was refused. Never throws for any input values.
std::variant<Plan, PlanRefusal> MakePlan(const PlanInput& input);

// An angle typed as decimal degrees ("35.4615", "-4.5") or degrees:minutes ("35:27.69",
// "-4:30" is 4 degrees 30 minutes west). None for anything else.
std::optional<double> ParseAngle(std::string_view text);

// A date written YYYY-MM-DD that exists in the calendar.
std::optional<Date> ParseDate(std::string_view text);

}  // namespace tarvex::planning
