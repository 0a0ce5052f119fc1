#include "cli/names_command.h"

#include "planning/typed_input.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "conversions/float_chars.h"
#include "names/satellites.h"
#include "plan_window/plan_text.h"
#include "planning/plan.h"

namespace tarvex {
namespace {

using Json = nlohmann::ordered_json;

std::string Fixed(double value, int decimals) {
    char text[64];
    return std::string(text, float_chars::ToChars(text, text + sizeof text, value,
                                                  std::chars_format::fixed, decimals)
                                 .ptr);
}

std::string Shortest(double value) {
    char text[64];
    return std::string(text, float_chars::ToChars(text, text + sizeof text, value).ptr);
}

// "56.8519° с.ш., 60.6122° в.д."
std::string Coordinates(double latitude, double longitude) {
    return Fixed(std::fabs(latitude), 4) + (latitude < 0 ? "° ю.ш., " : "° с.ш., ") +
           Fixed(std::fabs(longitude), 4) + (longitude < 0 ? "° з.д." : "° в.д.");
}

Json PlaceJson(const names::Place& place) {
    return {{"name", place.name},
            {"region", place.region},
            {"country", place.country},
            {"latin_name", place.latin_name},
            {"lat", place.latitude_deg},
            {"lon", place.longitude_deg},
            {"population", place.population}};
}

std::string Dump(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A text as typed, quoted for a message of one line: a line break or a terminal's control
// sequence in it is written as an escape, not obeyed.
//   "Анадырь" -> "\"Анадырь\"";  "a\nb" -> "\"a\\nb\""
std::string Quoted(std::string_view text) {
    return Dump(Json(std::string(text)));
}

}  // namespace

std::variant<names::Place, std::string> PlaceNamed(std::string_view text) {
    const std::vector<names::Place> places = names::FindPlaces(text, 1);
    if (const TextProblem problem = CheckTypedText(text); problem != TextProblem::None) {
        return TypedTextEnglish("a town", text, problem);
    }
    if (places.empty()) {
        return "no town is named " + Quoted(text) + " (tarvex-calc places TEXT finds them)";
    }
    return places.front();
}

std::variant<names::SiteCoordinates, std::string> PastedSite(std::string_view text) {
    const names::SiteReading reading = names::ReadSite(text);
    const std::string quoted = Quoted(text);
    switch (reading.outcome) {
        case names::SiteReading::Outcome::Read:
            return reading.readings.front();
        case names::SiteReading::Outcome::Ambiguous: {
            std::string ways;
            for (const names::SiteCoordinates& site : reading.readings) {
                ways += (ways.empty() ? "" : " or ") + Shortest(site.latitude_deg) + ", " +
                        Shortest(site.longitude_deg);
            }
            return quoted + " reads more than one way: " + ways +
                   " (latitude, longitude); write it with points and a comma between them";
        }
        case names::SiteReading::Outcome::Unreadable:
            break;
    }
    return TypedTextEnglish("a latitude and a longitude", quoted, reading.problem);
}

std::string PlanJsonWithPlace(const std::string& plan_json, const names::Place& place) {
    Json json = {{"place", PlaceJson(place)}};
    const Json plan = Json::parse(plan_json);
    for (const auto& [key, value] : plan.items()) {
        json[key] = value;
    }
    return Dump(json);
}

int ListSatellites(std::string_view text, bool json, std::ostream& out, std::ostream& err) {
    const std::vector<names::SatellitePosition> positions = names::FindSatellites(text);
    if (json) {
        Json list = Json::array();
        for (const names::SatellitePosition& position : positions) {
            list.push_back({{"lon", position.longitude_deg}, {"names", position.names}});
        }
        out << Dump({{"positions", list}}) << '\n';
    } else {
        for (const names::SatellitePosition& position : positions) {
            out << names::SatelliteEntry(position) << '\n';
        }
        if (const TextProblem problem = CheckTypedText(text); problem != TextProblem::None) {
            err << "tarvex-calc satellites: " << TypedTextEnglish("a name", text, problem) << '\n';
        } else if (positions.empty()) {
            err << "tarvex-calc satellites: no satellite matches " << Quoted(text) << '\n';
        }
    }
    return positions.empty() ? 1 : 0;
}

int ListPlaces(std::string_view text, bool json, std::ostream& out, std::ostream& err) {
    const std::vector<names::Place> places = names::FindPlaces(text);
    if (json) {
        Json list = Json::array();
        for (const names::Place& place : places) {
            list.push_back(PlaceJson(place));
        }
        out << Dump({{"places", list}}) << '\n';
    } else {
        for (const names::Place& place : places) {
            out << Coordinates(place.latitude_deg, place.longitude_deg) << "  "
                << names::PlaceEntry(place) << '\n';
        }
        if (const TextProblem problem = CheckTypedText(text); problem != TextProblem::None) {
            err << "tarvex-calc places: " << TypedTextEnglish("a town", text, problem) << '\n';
        } else if (places.empty()) {
            err << "tarvex-calc places: no town is named " << Quoted(text) << '\n';
        }
    }
    return places.empty() ? 1 : 0;
}

}  // namespace tarvex
