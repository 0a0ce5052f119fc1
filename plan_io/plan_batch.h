#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "names/places.h"
#include "planning/plan_inputs.h"
#include "planning/plan_sun.h"

// The plan's input read from a batch line, and the plan written as JSON: what `tarvex-calc plan`
// prints and reads, and what the phone page answers.

namespace tarvex {

// The plan as one JSON object on one line (no line end): place (where the site was chosen by
// name: name, region, country, latin_name, lat, lon, population), beam_deviation_factor,
// declination_deg, dish (type "prime" or "offset", focal_mm, effective_focal_mm, aperture_mm,
// offset_angle_deg, f_over_d, face_tilt_deg, feed_axis_elevation_deg; aperture_mm and f_over_d
// null when not known), feeds (sat, azimuth_deg, magnetic_azimuth_deg, elevation_deg,
// separation_deg, right_mm, up_mm, distance_mm, tilt_deg, rotation_deg, relative_rotation_deg,
// aim_deg; with the optics also axial_mm, loss_db, beamwidth_deg, beam "clean" or "degraded" and
// formula {right_mm, up_mm, distance_mm}), dish.optics (frequency_ghz, edge_taper_db,
// feed_exponent, gain_dbi, efficiency; null without the optics), focus ([{sat, worst_loss_db}],
// [] without the optics), best_focus_sat (null without them), warnings (code, feed where it
// applies, message in the words of plan_text.h), and where `sun` is given (SunTimes) sun (per
// feed: sat, utc, local with its offset or null where no zone is known, elevation_deg; null where
// the sun does not come to the satellite's azimuth); numbers as AppendJsonNumber writes them, a
// zero without its sign.
//   default example -> {"beam_deviation_factor":1.0,"declination_deg":5.096889154102898,
//                       "dish":{"type":"prime","focal_mm":600.0,...,"aperture_mm":null,...},
//                       "feeds":[{"sat":13.0,...},...],"warnings":[{"code":"no_dish_size",...}],
//                       "sun":[{"sat":13.0,"utc":"2026-12-07T11:56:48Z",
//                               "local":"2026-12-07T13:56:48+02:00","elevation_deg":24.36...},...]}
std::string PlanJson(const planning::Plan& plan, const names::Place* place = nullptr,
                     const std::vector<std::optional<planning::SunTime>>* sun = nullptr);

// A town as the plan's JSON and `tarvex-calc places --json` write it:
//   {"name":"Екатеринбург","region":...,"country":...,"latin_name":...,"lat":56.8519,
//    "lon":60.6122,"population":1349772}
class JsonWriter;
void WritePlace(JsonWriter& json, const names::Place& place);

// What a batch line takes for a key it lacks: the options given on the command line.
struct PlanBatchDefaults {
    std::optional<double> longitude_deg;
    std::optional<double> latitude_deg;
    std::vector<double> satellites_deg;  // empty: none given
    std::optional<double> focal_length_mm;
    std::optional<double> diameter_mm;
    planning::DishMeasurements dish;  // prime focus unless given
    planning::Date date;              // today unless given
    double frequency_ghz = planning::DefaultFrequencyGhz;
    double edge_taper_db = planning::DefaultEdgeTaperDb;
    double lnb_width_mm = planning::DefaultLnbWidthMm;
    bool optics = true;
};

// The input the options alone give; a site not given is 0, 0.
planning::PlanInput PlanInputOf(const PlanBatchDefaults& given);

// One batch line: a JSON object of the keys of planning::PlanInputs (sats an array), each at
// most once; numbers, or strings read as the options read them (a satellite by name too); a key
// that is absent takes its value from `defaults`; lon, lat, sats and (for a prime-focus dish
// without a depth) focal_mm are required. Anything else gives the problem, naming the key and
// the element of sats it concerns.
//   {"lon":35.4615,"lat":"32:48.5","sats":[13,"19:12"],"focal_mm":600} -> input
//   {"lon":35} -> {Missing, "lat"};  {"lon":true,...} -> {NotOfItsKind, "lon"}
//   {"lon":1e400,...} -> {OutOfRange, "lon"};  {"lon":1,"lon":2,...} -> {GivenTwice, "lon"}
//   {...,"sats":[13,"Astra"]} -> {SatelliteAmbiguous, "sats", 2, "Astra"}
//   {...,"dish":"round"} -> {NotOfItsKind, "dish"};  {...,"optics":"off"} -> input.optics false
std::variant<planning::PlanInput, planning::InputProblem> ParsePlanBatchLine(
    std::string_view line, const PlanBatchDefaults& defaults);

// The output line (without its line end) for batch input line number `line_number` (from 1):
// the plan's JSON object, or {"error":"line N: ..."} for a rejected line or a refused set-up.
// Second: false when the line was rejected or refused. Without the sun: its search would cost
// each line some thirty times the plan itself, and a batch plans set-ups, not a roof today.
std::pair<std::string, bool> PlanBatchOutputLine(std::string_view line, long line_number,
                                                 const PlanBatchDefaults& defaults);

}  // namespace tarvex
