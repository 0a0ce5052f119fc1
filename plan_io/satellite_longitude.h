#pragma once

#include <string>
#include <string_view>
#include <variant>

// A satellite as `tarvex-calc plan --sat` and the batch's "sats" take it: apart from the rest of
// names_command.h, so that the phone page has it without the towns.

namespace tarvex {

// A satellite typed as a longitude (as planning::ParseAngle reads it) or as a name of the
// compiled-in list; else why not, in English, with the candidates.
//   "13" -> 13;  "express amu1" -> 36.1;  "-4:30" -> -4.5
//   "Astra" -> "\"Astra\" is more than one position: 19.2E (Astra, Astra 1KR, ...); ..."
//   "Expres AMU1" -> "no satellite is named \"Expres AMU1\"; close: 36.1E (Express AMU1); ..."
std::variant<double, std::string> SatelliteLongitude(std::string_view text);

}  // namespace tarvex
