#pragma once

#include <string>
#include <string_view>

#include "planning/plan.h"

// The phone page's one call into the plan: a query string in, one JSON object out.

namespace tarvex::web {

// The answer to a query string of batch keys (`lon=35.4615&lat=32.808333&sats=13,19.2&
// focal_mm=600&date=2026-12-07`; `sats` comma-separated, percent-encoding and '+' decoded, an
// empty value left out), as one JSON object:
//   a plan     -> {"json": what `tarvex-calc plan --json` prints for the same input, without the
//                  line end, "text": the plan's Russian table, "ignored": [keys the plan does not
//                  know]}
//   a refusal  -> {"json": "{\"error\":...,\"field\":...}", "error": the reason, "field": the key
//                  it concerns ("" when it concerns none), "ignored": [...]}
// The keys are passed on to the batch reader as they are, so every key it knows works here.
std::string PlanAnswer(std::string_view query, const planning::Date& today);

}  // namespace tarvex::web
