#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Conversions between text and numbers. Texts are UTF-8. The decimal separator is "." in every
// locale, for reading and writing alike; no function here consults the process locale, so a
// results file written under one locale reads the same under any other.

namespace tarvex {

// Reads the longest leading number of a text: blanks and tabs skipped, then an optional sign,
// digits with at most one ".", and an optional exponent (E or e, optional sign, digits).
// Whatever follows is ignored; a text without digits reads as 0. Never fails.
//   "" -> 0;  "  12abc" -> 12;  ".5" -> 0.5;  "27,69" -> 27;  "1E3" -> 1000;  "1e" -> 1;
//   "-" -> 0;  "abc" -> 0;  "1e999" -> +infinity (the next checked operation reports Overflow)
double ParseLeadingNumber(std::string_view text);

// Reads a text that must be a number as a whole, blanks around it allowed.
//   "12." -> 12;  " -0.05547" -> -0.05547;  "1E-05" -> 1e-05
// Throws RuntimeError "Type mismatch: '<text>'" for "", ".", "12a", "1,5";
// RuntimeError "Overflow" for a number beyond the double range such as "1e999".
double ParseNumberStrict(std::string_view text);

// Rounds to the nearest single (ties to even).
//   0.6189199326959691 -> 0.6189199090003967f
// Throws RuntimeError "Overflow" for 1e39, infinity or not-a-number.
float AsSingle(double x);

// Nearest whole number, exact halves to the even neighbour.
//   2.5 -> 2;  3.5 -> 4;  -2.5 -> -2;  1500.4 -> 1500
// Throws RuntimeError "Overflow" outside -32768..32767 (32767.5 -> 32768 throws).
std::int16_t RoundToInt16(double x);

// Greatest whole number not above x.  -20.3 -> -21;  187.9 -> 187.  Never fails.
double FloorNumber(double x);

// Renders a number with a sign position first: a blank for zero and positive values, "-" for
// negative ones. At most 15 significant digits for a double, 7 for a single; no zero before the
// point below 1; whole values without a point. Exponent form exactly where C's %G would use it
// (decimal exponent below -4 or not below the digit count), with "E", a sign and two or more
// digits.
//   0 -> " 0";  -0.0 -> " 0";  -0.25 -> "-.25";  1.0f / 3 -> " .3333333";
//   217.34429165277737 -> " 217.344291652777";  1e15 -> " 1E+15";  0.00001 -> " 1E-05"
// Throws RuntimeError "Overflow" for infinity or not-a-number.
std::string NumberToText(double x);
std::string NumberToText(float x);

// Renders a whole single as plain digits with "-" before negatives and no blank.
//   187 -> "187";  -21 -> "-21";  1e10f -> "10000000000"
std::string WholeToText(float whole);

// Renders a number by a pattern of "#" (a digit or nothing), "0" (a digit or zero) and at most
// one "." (always written). The exact binary value is rounded to the pattern's decimals, exact
// halves away from zero; "-" stands before a negative value, also when it rounds to zero.
// Integer digits beyond the pattern's are all written.
//   (0.5, "##0.00000") -> "0.50000";  (-0.0554666, "##0.00000") -> "-0.05547";
//   (-0.000001, "##0.00000") -> "-0.00000";  (0.46, "##.#") -> ".5";  (12, "##.#") -> "12.";
//   (0.04, "##.#") -> "."  (no digit at all: it does not read back as a number)
// Throws RuntimeError "Overflow" for infinity or not-a-number; std::invalid_argument for a
// pattern with other characters.
std::string FormatNumber(double x, std::string_view pattern);

}  // namespace tarvex
