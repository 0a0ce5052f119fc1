#pragma once

#include <string>
#include <string_view>

#include "planning/plan_facts.h"
#include "planning/plan_sun.h"

// The phone page's calls into the plan and the names: a text in, one JSON object out.

namespace tarvex::web {

// The answer to a query string of batch keys (`lon=35.4615&lat=32.808333&sats=13,19.2&
// focal_mm=600&date=2026-12-07`; `sats` comma-separated, percent-encoding and '+' decoded, an
// empty value left out), as one JSON object:
//   a plan     -> {"plan": the plan's JSON object, "text": the table `tarvex-calc plan` prints,
//                  "sun_text": [each feed's sun time in words (SunTimeText)], "sun_hint": how
//                  to use them, "ignored": [keys the plan does not know]}
//   a refusal  -> {"error": why, in Russian (the plan's own words where the plan refused it),
//                  "field": the key it concerns ("" when it concerns none), "satellite": the
//                  element of `sats` it names (from 1; only where it names one), "ignored": [...]}
// and, in `shown`, the text the page shows for checking and copying: what `tarvex-calc plan
// --json` prints for the same input (without the line end), or {"error":...,"field":...}.
// The keys are passed on to the batch reader as they are, so every key it knows works here; a
// satellite is a longitude or a name of the compiled-in list. A known key given twice (even
// blank), and a key or value that is not UTF-8, are refused naming the key; unknown keys are
// listed in "ignored", each once. The sun's times are told by `clock`.
std::string PlanAnswer(std::string_view query, const planning::Date& today,
                       const planning::SunClock& clock, std::string& shown);

// The plan's inputs for the page's form (planning::PlanInputs and the facts it draws by), as one
// JSON object: {"inputs": [{"key", "kind", "unit", "dish": the dish types whose ways of measuring
// use it ("prime offset"), "label", "hint", "placeholder"}], "feed_body_mm", "min_feeds",
// "max_feeds", "today": YYYY-MM-DD, "ignored_note": what to say beside a key the plan ignores}.
std::string InputsAnswer(const planning::Date& today);

// The satellites a text typed into a satellite's field may mean (names::FindSatellites), as a
// JSON array of {"value": what the field takes for it, "entry": the position with its names}.
//   "amu" -> [{"value":"36.1° в.д.","entry":"36.1° в.д. — Express AMU1"}];  "zzz" -> []
std::string SatelliteSuggestions(std::string_view text);

// A site pasted as one text (names::ReadSite) as one JSON object:
//   "55.7558, 37.6173" -> {"lat":"55.7558","lon":"37.6173"} (the keys of the site's inputs)
//   "1,5,2" -> {"error": the readings, in Russian};  "35.4615" -> {} (one angle: a plain paste)
std::string SiteAnswer(std::string_view text);

}  // namespace tarvex::web
