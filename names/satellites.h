#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "conversions/typed_text.h"

// Satellites by name: the orbital positions of Debian's dtv-scan-tables (2019), each with every
// name the list gives it, compiled in. Positions outlive satellites, names do not: a longitude
// can always be typed instead.

namespace tarvex::names {

struct SatellitePosition {
    double longitude_deg = 0;             // east positive, (-180, 180], tenths of a degree
    std::vector<std::string_view> names;  // Latin, alphabetical without regard to spaces
};

// Every position, west to east.
const std::vector<SatellitePosition>& SatellitePositions();

// How many files of dtv-scan-tables the list was made from.
std::size_t SatelliteSourceFileCount();

// The positions with a name containing `text`, or whose longitude begins with it, west to east;
// case, spaces, dashes and a degree sign do not count, but a leading minus means west. Every
// position for an empty text; none for a text CheckTypedText refuses.
//   "amu" -> {36.1 Express AMU1};  "36" -> {35.9 Eutelsat 36B, 36.1 Express AMU1};
//   "36.1e" -> {36.1};  "5.0w", "-5.0" -> {-5.0 Eutelsat5, Eutelsat 5 West A};  "zzz" -> {}
std::vector<SatellitePosition> FindSatellites(std::string_view text);

// A position as the plan window lists it.
//   {36.1, {"Express AMU1"}} -> "36.1° в.д. — Express AMU1";
//   {-5, {"Eutelsat5", "Eutelsat 5 West A"}} -> "5.0° з.д. — Eutelsat5, Eutelsat 5 West A"
std::string SatelliteEntry(const SatellitePosition& position);

// What a satellite's name stands for.
struct SatelliteLookup {
    enum class Found { One, Several, None };
    Found found = Found::None;
    double longitude_deg = 0;  // with One
    // With Several: the positions the text could mean. With None: the positions of names close
    // to it (a letter or two apart), perhaps none.
    std::vector<SatellitePosition> candidates;
    // With None and no candidates: a text no name is looked up for (NotUtf8, TooLong, or a
    // longitude ReadAngle refuses for its sign and hemisphere or a latitude's hemisphere).
    TextProblem problem = TextProblem::None;
};

// The position a typed name means: a name equal to `text` (without regard to case, spaces and
// dashes), else one containing it, as long as all such names lie at one position. An entry as
// SatelliteEntry writes it, or a listed position written with its hemisphere, means that position.
//   "express amu1", "Express-AMU1", "amu", "36.1° в.д. — Express AMU1", "36.1E",
//   "36,1° в.д." -> One, 36.1
//   "Amos 4" -> One, 65.0 (a name equal to the text wins over "Amos" at 4.0 W)
//   "Astra" -> Several: 19.2, 23.5, 28.2;  "Expres AMU1" -> None, candidates {36.1, 40.0}
//   "-36.1E", "-36.1 в.д.", "-5.0W" -> None, SignWithHemisphere (the minus is no part of a name)
SatelliteLookup LookUpSatellite(std::string_view text);

// A satellite typed as a longitude (ReadAngle) or as a name (LookUpSatellite).
//   "13", " 19.2 ", "36,1" -> One, 13 ...;  "express amu1" -> One, 36.1;  "-4:30" -> One, -4.5;
//   "−36.1E" -> None, SignWithHemisphere;  "Astra" -> Several
SatelliteLookup ReadSatellite(std::string_view text);

}  // namespace tarvex::names
