#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What every field an installer types is read by, alike in the command line, its batch, the
// plan window and the phone page: one set of rules for blanks, decimal commas, minus signs and
// hemispheres, and the reason a text is refused, as a kind for the text layer to word. Each
// reader costs time in proportion to its text and stops at the first refusal. Nothing here
// consults the process locale.

namespace tarvex {

// Why a typed text is not read.
enum class TextProblem {
    None,
    NotUtf8,             // bytes that are no UTF-8 text: a cp1251 or Latin-1 text
    TooLong,             // longer than MaxTypedBytes
    NotANumber,          // not a number (an angle for the angle readers) of any form read here
    SignWithHemisphere,  // "-33.9 S": a sign and a hemisphere in one angle
    WrongHemisphere,     // "32N" where a longitude is asked for, "4E" for a latitude
};

// The longest text a field takes, in bytes. Twice the longest entry the lists write (a town with
// its region and country, "Порт-Элизабет, Восточно-Капская провинция, Южно-Африканская
// Республика", 131 bytes; a satellite position with its names, 64), and five times a site
// in degrees, minutes and seconds with Russian hemispheres (about 50): no text a person types or
// pastes into one field is longer, and a longer one is refused before any reading.
inline constexpr std::size_t MaxTypedBytes = 256;

// What any reader checks first: the length, then that the text is UTF-8 (no overlong forms, no
// surrogates, nothing past U+10FFFF).
//   "Сочи" -> None;  "Сочи" in cp1251 "\xd1\xee\xf7\xe8" -> NotUtf8;  "\xff" -> NotUtf8;
//   257 times "1" -> TooLong;  ("a note of 300 bytes", 4096) -> None
TextProblem CheckTypedText(std::string_view text, std::size_t max_bytes = MaxTypedBytes);

// The longest free text a saved job keeps (the customer, a note), in bytes: a paragraph.
inline constexpr std::size_t MaxJobTextBytes = 4096;

// Which hemisphere letters an angle may carry.
enum class AngleKind {
    Longitude,  // E/W, в.д./з.д.
    Latitude,   // N/S, с.ш./ю.ш.
};

struct NumberReading {
    std::optional<double> value;  // none with a problem
    TextProblem problem = TextProblem::None;
};

// A number written in full, for lengths and ratios: blanks around it dropped, an optional sign,
// digits with a decimal point or a decimal comma, an optional exponent.
//   "600" -> 600;  "+600" -> 600;  " 600,5 " -> 600.5;  "1e3" -> 1000;  "-0.5" -> -0.5;
//   "inf", "1e999", "600 mm", "", "1,5,2" -> NotANumber;  "6\xff" -> NotUtf8
NumberReading ReadNumber(std::string_view text);

struct AngleReading {
    std::optional<double> degrees;        // west and south negative; none with a problem
    std::optional<AngleKind> hemisphere;  // the kind its hemisphere names; none: no hemisphere
    TextProblem problem = TextProblem::None;
};

// An angle in degrees: decimal degrees (with a point or a comma), degrees:minutes[:seconds] or
// degrees, minutes and seconds with their signs as GeographicLib's DMS reads them; a sign before
// it or a hemisphere (N S E W in either case; с.ш. ю.ш. в.д. з.д. in either case, with or without
// points and blanks) before or after it, never both; blanks around it and between its parts
// dropped. U+2212, U+2010 to U+2015, U+2796, U+FE63 and U+FF0D are the minus they look like.
//   "35.4615" -> 35.4615;  "35,4615" -> 35.4615;  "1e2" -> 100;  "35:27.69" -> 35.4615;
//   "-4:30" -> -4.5 (the sign is the whole angle's);  "−4:30" -> -4.5;  " 19.2 " -> 19.2;
//   "55°45′21″" -> 55.75583..;  "4:30 W" -> -4.5;  "19.2 в.д." -> 19.2;  "35.4615 вд" -> 35.4615;
//   "33.9 ю.ш." -> -33.9 (Latitude);  "N55.7558" -> 55.7558 (Latitude)
//   "-4:30W", "−4:30W", "–35:27.69E", "+5E", "N-55" -> SignWithHemisphere;
//   "13:60", "13.5:10", "70+1", "1 2", "inf", "1e999", "", "4:30WE" -> NotANumber
AngleReading ReadAngle(std::string_view text);

// The same, for a longitude or a latitude: a hemisphere of the other kind is refused.
//   ("32N", Longitude) -> WrongHemisphere;  ("4 в.д.", Latitude) -> WrongHemisphere;
//   ("32N", Latitude) -> 32
AngleReading ReadAngle(std::string_view text, AngleKind kind);

// The text as the angle readers see it, for a reader that cuts a text into angles first: minus
// signs made '-', plus signs '+', spaces of every width ' ', the Russian hemispheres N S E W set
// apart by blanks. The text must have passed CheckTypedText.
//   "−4:30 з. д." -> "-4:30  W ";  "55,7\u00A037,6" -> "55,7 37,6"
std::string AngleText(std::string_view text);

// One angle of an AngleText, read as ReadAngle reads it.
AngleReading ReadAngleText(std::string_view angle_text);

}  // namespace tarvex
