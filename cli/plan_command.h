#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "planning/plan.h"

// `tarvex-calc plan`: the precise multifeed plan as an installer's table, as one JSON object, or
// as JSON Lines.

namespace tarvex {

// Today's date in UTC.
planning::Date TodayUtc();

// The plan as one JSON object on one line (no line end): beam_deviation_factor,
// declination_deg, feeds (sat, azimuth_deg, magnetic_azimuth_deg, elevation_deg,
// separation_deg, right_mm, up_mm, distance_mm, tilt_deg, rotation_deg, relative_rotation_deg),
// warnings (code, feed where it applies, message in the words of plan_text.h); numbers at full
// double precision.
//   default example -> {"beam_deviation_factor":1.0,"declination_deg":5.096889154102898,
//                       "feeds":[{"sat":13.0,...},...],"warnings":[]}
std::string PlanJson(const planning::Plan& plan);

// One batch line: a JSON object with lon, lat, sats (an array), focal_mm, optionally
// diameter_mm and date (YYYY-MM-DD or DD.MM.YYYY, else `today`); numbers, or strings read as the options read
// them. Anything else gives the reason it was rejected.
//   {"lon":35.4615,"lat":"32:48.5","sats":[13,"19:12"],"focal_mm":600} -> input
//   {"lon":35} -> "missing \"lat\"";  {"lon":true,...} -> "the value of \"lon\" is not a number"
std::variant<planning::PlanInput, std::string> ParsePlanBatchLine(std::string_view line,
                                                                  const planning::Date& today);

// The output line (without its line end) for batch input line number `line_number` (from 1):
// the plan's JSON object, or {"error":"line N: ..."} for a rejected line or a refused set-up.
// Second: false when the line was rejected or refused.
std::pair<std::string, bool> PlanBatchOutputLine(std::string_view line, long line_number,
                                                 const planning::Date& today);

}  // namespace tarvex
