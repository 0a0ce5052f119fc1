#include "cli/names_command.h"

#include "planning/typed_input.h"

#include <charconv>
#include <cmath>

#include "conversions/float_chars.h"
#include "conversions/text.h"
#include "names/satellites.h"
#include "plan_io/json_writer.h"
#include "plan_io/plan_batch.h"
#include "plan_text/plan_text.h"
#include "plan_text/problem_text.h"
#include "planning/plan.h"

namespace tarvex {
namespace {

// "56.8519° с.ш., 60.6122° в.д."
std::string Coordinates(double latitude, double longitude) {
    return FixedText(std::fabs(latitude), 4) + (latitude < 0 ? "° ю.ш., " : "° с.ш., ") +
           FixedText(std::fabs(longitude), 4) + (longitude < 0 ? "° з.д." : "° в.д.");
}

// {"name":[...]}: each item as `write` writes it.
template <typename Items, typename Write>
std::string JsonList(std::string_view name, const Items& items, Write write) {
    JsonWriter list;
    list.BeginObject();
    list.Key(name);
    list.BeginArray();
    for (const auto& item : items) {
        write(list, item);
    }
    list.EndArray();
    list.EndObject();
    return std::move(list).Finish();
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
        case names::SiteReading::Outcome::Ambiguous:
            return quoted + " reads more than one way: " + AmbiguousSiteInEnglish(reading.readings);
        case names::SiteReading::Outcome::Unreadable:
            break;
    }
    return TypedTextEnglish("a latitude and a longitude", text, reading.problem);
}

int ListSatellites(std::string_view text, bool json, std::ostream& out, std::ostream& err) {
    const std::vector<names::SatellitePosition> positions = names::FindSatellites(text);
    if (json) {
        out << JsonList("positions", positions, [](JsonWriter& list, const auto& position) {
            list.BeginObject();
            list.Key("lon");
            list.Number(position.longitude_deg);
            list.Key("names");
            list.BeginArray();
            for (const std::string_view name : position.names) {
                list.String(name);
            }
            list.EndArray();
            list.EndObject();
        }) << '\n';
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
        out << JsonList("places", places, WritePlace) << '\n';
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
