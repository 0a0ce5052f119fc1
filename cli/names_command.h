#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

#include "names/places.h"
#include "names/site_text.h"

// Satellites and towns by name and sites pasted from a map, for `tarvex-calc plan`, and the
// `tarvex-calc satellites` and `tarvex-calc places` lists.

namespace tarvex {

// The town `--place` means: the most populous FindPlaces gives; else why not.
//   "Екатеринбург" -> Yekaterinburg;  "Xyzzy" -> "no town is named \"Xyzzy\""
std::variant<names::Place, std::string> PlaceNamed(std::string_view text);

// The site of a pasted text (names::ReadSite); else why not, naming each reading of an ambiguous
// text.
//   "55.7558, 37.6173" -> {55.7558, 37.6173};  "1,5,2" -> "\"1,5,2\" reads more than one way:
//   1, 5.2 or 1.5, 2 (latitude, longitude); write it with points and a comma between them"
std::variant<names::SiteCoordinates, std::string> PastedSite(std::string_view text);

// `tarvex-calc satellites [TEXT]`: the positions FindSatellites gives, one line each as the plan
// window lists them, or one JSON object {"positions": [{"lon", "names"}]}. 0, or 1 when none
// matches (and a message on `err` for the text).
int ListSatellites(std::string_view text, bool json, std::ostream& out, std::ostream& err);

// `tarvex-calc places TEXT`: the towns FindPlaces gives, each with its latitude and longitude,
// or one JSON object {"places": [...]} of objects as WritePlace (plan_io/plan_batch.h) writes them. 0, or 1 when none
// matches.
int ListPlaces(std::string_view text, bool json, std::ostream& out, std::ostream& err);

}  // namespace tarvex
