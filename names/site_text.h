#pragma once

#include <string_view>
#include <vector>

#include "conversions/typed_text.h"

// A site given as one text, as map services copy coordinates: latitude first unless the
// hemispheres say otherwise.

namespace tarvex::names {

struct SiteCoordinates {
    double latitude_deg = 0;   // north positive, [-90, 90]
    double longitude_deg = 0;  // east positive, [-180, 180]
};

struct SiteReading {
    enum class Outcome { Read, Unreadable, Ambiguous };
    Outcome outcome = Outcome::Unreadable;
    // With Read one; with Ambiguous each way the text reads.
    std::vector<SiteCoordinates> readings;
    // With Unreadable, why: NotUtf8, TooLong, SignWithHemisphere (no reading, and an angle had
    // both), else NotANumber.
    TextProblem problem = TextProblem::None;
};

// Two angles, each as ReadAngle (conversions/typed_text.h) reads one, apart by a comma, a
// semicolon or blanks; a comma between digits may be a decimal comma. Every way of cutting the
// text in two is tried: a text that reads more than one way is Ambiguous, not guessed. Time in
// proportion to the text: more than 16 words or 3 commas are no site.
//   "55.7558, 37.6173", "55°45′21″N 37°37′03″E" (37.6175), "55.7558 с.ш. 37.6173 в.д.",
//   "N55.7558 E37.6173", "37.6173 E, 55.7558 N", "55,7558; 37,6173" -> Read {55.7558, 37.6173}
//   "1,5,2" -> Ambiguous {1, 5.2} {1.5, 2};  "55.7558" -> Unreadable;  "95, 37" -> Unreadable
//   (a latitude beyond 90);  "55 N, 37 N" -> Unreadable;  "7.0E+1, 3" -> Read {70, 3}
//   "-33.8688 S, 151.2093 E" -> Unreadable, SignWithHemisphere
// A field that takes a paste should read it when text arrives at once, not at each key: "35 2",
// on the way to "35 27", already reads as a site.
SiteReading ReadSite(std::string_view text);

}  // namespace tarvex::names
