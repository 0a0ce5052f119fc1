#pragma once

#include <optional>
#include <string_view>

#include "conversions/typed_text.h"
#include "planning/plan_facts.h"

// What an installer types for a plan, read alike by `tarvex-calc plan` and the plan window: none
// for anything the readers of conversions/typed_text.h refuse, which also say why. Nothing here
// consults the process locale.

namespace tarvex::planning {

using tarvex::AngleKind;

// An angle in degrees as ReadAngle (conversions/typed_text.h) reads it; none for anything it
// refuses. West and south are negative.
//   "35.4615" -> 35.4615;  "1e2" -> 100;  "35:27.69" -> 35.4615;  "-4:30" -> -4.5;
//   "55°45′21″" -> 55.75583..;  "4:30W" -> -4.5;  "19.2 в.д." -> 19.2;  "33.9 ю.ш." -> -33.9
//   (Latitude);  " 13,5 " -> 13.5;  "13:60" -> none;  "13.5:10" -> none;  "inf" -> none;
//   "1e999" -> none;  "" -> none;  "32N" read as a Longitude -> none;  "-4:30W" -> none (a minus
//   and a hemisphere);  "−4:30W" -> none (U+2212 is a minus too)
std::optional<double> ParseAngle(std::string_view text, AngleKind kind = AngleKind::Longitude);

// A number as ReadNumber (conversions/typed_text.h) reads it, for lengths: optional sign,
// digits, optional fraction and exponent, blanks around it.
//   "600" -> 600;  "+600" -> 600;  "1e3" -> 1000;  "-0.5" -> -0.5;  "600,5" -> 600.5;
//   "inf" -> none;  "600 mm" -> none;  "" -> none
std::optional<double> ParseNumber(std::string_view text);

// A date that exists in the calendar, years 0001 to 9999, written ГГГГ-ММ-ДД or ДД.ММ.ГГГГ.
//   "2026-12-07" -> {2026, 12, 7};  "07.12.2026" -> {2026, 12, 7};  "2028-02-29" -> {2028, 2, 29};
//   "2026-02-29" -> none;  "2026-1-7" -> none
std::optional<Date> ParseDate(std::string_view text);

}  // namespace tarvex::planning
