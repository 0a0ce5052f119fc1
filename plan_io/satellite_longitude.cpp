#include "cli/satellite_longitude.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "conversions/float_chars.h"
#include "names/satellites.h"
#include "planning/typed_input.h"

namespace tarvex {
namespace {

// "36.1E (Express AMU1)"
std::string PositionText(const names::SatellitePosition& position) {
    char tenths[32];
    const double magnitude = std::fabs(position.longitude_deg);
    std::string text(tenths, float_chars::ToChars(tenths, tenths + sizeof tenths, magnitude,
                                                  std::chars_format::fixed, 1)
                                 .ptr);
    text += position.longitude_deg < 0 ? "W (" : "E (";
    for (std::size_t i = 0; i < position.names.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::string(position.names[i]);
    }
    return text + ")";
}

std::string PositionsText(const std::vector<names::SatellitePosition>& positions) {
    std::string text;
    for (const names::SatellitePosition& position : positions) {
        text += (text.empty() ? "" : "; ") + PositionText(position);
    }
    return text;
}

}  // namespace

std::variant<double, std::string> SatelliteLongitude(std::string_view text) {
    if (const std::optional<double> longitude = planning::ParseAngle(text)) {
        return *longitude;
    }
    const names::SatelliteLookup lookup = names::LookUpSatellite(text);
    const std::string quoted = "\"" + std::string(text) + "\"";
    switch (lookup.found) {
        case names::SatelliteLookup::Found::One:
            return lookup.longitude_deg;
        case names::SatelliteLookup::Found::Several:
            return quoted + " is more than one position: " + PositionsText(lookup.candidates) +
                   "; give one of their names or the longitude";
        case names::SatelliteLookup::Found::None:
            break;
    }
    return "not a longitude, and no satellite is named " + quoted +
           (lookup.candidates.empty() ? "" : "; close: " + PositionsText(lookup.candidates)) +
           " (tarvex-calc satellites lists them)";
}

}  // namespace tarvex
