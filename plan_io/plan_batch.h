#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "planning/plan.h"

// `tarvex-calc plan`: the precise multifeed plan as an installer's table, as one JSON object, or
// as JSON Lines.

namespace tarvex {

// Today's date in UTC.
planning::Date TodayUtc();

// The plan as one JSON object on one line (no line end): beam_deviation_factor,
// declination_deg, dish (type "prime" or "offset", focal_mm, effective_focal_mm, aperture_mm,
// offset_angle_deg, f_over_d, face_tilt_deg, feed_axis_elevation_deg; aperture_mm and f_over_d
// null when not known), feeds (sat, azimuth_deg, magnetic_azimuth_deg, elevation_deg,
// separation_deg, right_mm, up_mm, distance_mm, tilt_deg, rotation_deg, relative_rotation_deg,
// aim_deg), warnings (code, feed where it applies, message in the words of plan_text.h); numbers
// at full double precision, a zero without its sign.
//   default example -> {"beam_deviation_factor":1.0,"declination_deg":5.096889154102898,
//                       "dish":{"type":"prime","focal_mm":600.0,...,"aperture_mm":null,...},
//                       "feeds":[{"sat":13.0,...},...],"warnings":[{"code":"no_dish_size",...}]}
std::string PlanJson(const planning::Plan& plan);

// What a batch line takes for a key it lacks: the options given on the command line.
struct PlanBatchDefaults {
    std::optional<double> longitude_deg;
    std::optional<double> latitude_deg;
    std::vector<double> satellites_deg;  // empty: none given
    std::optional<double> focal_length_mm;
    std::optional<double> diameter_mm;
    planning::DishMeasurements dish;  // prime focus unless given
    planning::Date date;              // today unless given
};

// One batch line: a JSON object with lon, lat, sats (an array), focal_mm, optionally
// diameter_mm and date (YYYY-MM-DD or DD.MM.YYYY), and the dish's measurements: dish ("prime" or "offset"),
// depth_mm, width_mm, height_mm, feed_distance_mm, rim_low_mm, rim_high_mm (focal_mm is not
// needed for an offset dish or a depth); numbers, or strings read as the options read them; a
// key that is absent takes its value from `defaults`. Anything else gives the reason it was
// rejected. The line is read as events, never built as a document: time in proportion to its
// length, and no nesting too deep for the stack.
//   {"lon":35.4615,"lat":"32:48.5","sats":[13,"19:12"],"focal_mm":600} -> input
//   {"lon":35} -> "missing \"lat\"";  {"lon":true,...} -> "the value of \"lon\" is not a number"
//   {"lon":1e400,...} -> "the value of \"lon\" is a number out of range"
//   {"lon":1,"lon":2,...} -> "the key \"lon\" is given twice"
//   {...,"dish":"round"} -> "the value of \"dish\" is not \"prime\" or \"offset\""
std::variant<planning::PlanInput, std::string> ParsePlanBatchLine(
    std::string_view line, const PlanBatchDefaults& defaults);

// The output line (without its line end) for batch input line number `line_number` (from 1):
// the plan's JSON object, or {"error":"line N: ..."} for a rejected line or a refused set-up.
// Second: false when the line was rejected or refused.
std::pair<std::string, bool> PlanBatchOutputLine(std::string_view line, long line_number,
                                                 const PlanBatchDefaults& defaults);

}  // namespace tarvex
