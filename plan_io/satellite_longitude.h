#pragma once

#include <string_view>
#include <variant>

#include "planning/plan_inputs.h"

// A satellite as `tarvex-calc plan --sat`, the batch's "sats", the plan window and the phone page
// take it: apart from the rest of the names, so that the phone page has it without the towns.

namespace tarvex {

// A satellite typed as a longitude (as planning::ParseAngle reads it) or as a name of the
// compiled-in list; else the problem, with the text as its value (the text layer lists the
// candidates).
//   "13" -> 13;  "express amu1" -> 36.1;  "-4:30" -> -4.5
//   "Astra" -> {SatelliteAmbiguous, value "Astra"};  "Expres AMU1" -> {SatelliteUnknown, ...}
std::variant<double, planning::InputProblem> SatelliteLongitude(std::string_view text);

}  // namespace tarvex
