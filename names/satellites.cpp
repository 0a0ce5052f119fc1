#include "names/satellites.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <set>

#include "conversions/float_chars.h"
#include "names/name_key.h"
#include "names/satellite_table.h"

namespace tarvex::names {
namespace {

std::string Tenths(double degrees) {
    char text[32];
    return std::string(text, float_chars::ToChars(text, text + sizeof text, std::fabs(degrees),
                                                  std::chars_format::fixed, 1)
                                 .ptr);
}

// "36.1e", "5.0w": what a typed position is matched with.
std::string PositionKey(double longitude) {
    return Tenths(longitude) + (longitude < 0 ? "w" : "e");
}

// The key of a typed text, with the degree sign dropped, a decimal comma read as a point and
// the Russian hemispheres as letters: "36,1° в.д." -> "36.1e".
std::string TypedKey(std::string_view text) {
    std::string typed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "°") {
            ++i;
        } else if (text[i] == ',' || text[i] == '.') {
            typed += '.';
        } else if (text[i] != ' ' && text[i] != '-' && text[i] != '_') {
            typed +=
                static_cast<char>(text[i] >= 'A' && text[i] <= 'Z' ? text[i] - 'A' + 'a' : text[i]);
        }
    }
    for (const auto& [russian, letter] : {std::pair{"в.д.", "e"}, std::pair{"з.д.", "w"}}) {
        if (typed.ends_with(russian)) {
            typed.replace(typed.size() - std::string_view(russian).size(), std::string::npos,
                          letter);
        }
    }
    return typed;
}

constexpr std::size_t MaxCloseLength = 40;

// Letters to insert, delete or change to make one text the other.
std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<SatellitePosition> PositionsAt(const std::set<double>& longitudes) {
    std::vector<SatellitePosition> positions;
    for (const SatellitePosition& position : SatellitePositions()) {
        if (longitudes.count(position.longitude_deg) != 0) {
            positions.push_back(position);
        }
    }
    return positions;
}

SatelliteLookup Lookup(const std::set<double>& longitudes, SatelliteLookup::Found several) {
    SatelliteLookup lookup;
    if (longitudes.size() == 1) {
        lookup.found = SatelliteLookup::Found::One;
        lookup.longitude_deg = *longitudes.begin();
    } else {
        lookup.found = several;
        lookup.candidates = PositionsAt(longitudes);
    }
    return lookup;
}

}  // namespace

namespace {

// Each name's key with its position's longitude, made once.
const std::vector<std::pair<double, std::string>>& NameKeys() {
    static const std::vector<std::pair<double, std::string>> keys = [] {
        std::vector<std::pair<double, std::string>> all;
        for (const SatellitePosition& position : SatellitePositions()) {
            for (const std::string_view name : position.names) {
                all.emplace_back(position.longitude_deg, KeyOf(name).key);
            }
        }
        return all;
    }();
    return keys;
}

struct PositionTexts {
    double longitude_deg;
    std::string entry;  // SatelliteEntry
    std::string key;    // PositionKey
};

// Each position as SatelliteEntry writes it and as its longitude is typed, made once: a batch may
// look up thousands of names.
const std::vector<PositionTexts>& PositionsAsTyped() {
    static const std::vector<PositionTexts> texts = [] {
        std::vector<PositionTexts> all;
        for (const SatellitePosition& position : SatellitePositions()) {
            all.push_back({position.longitude_deg, SatelliteEntry(position),
                           PositionKey(position.longitude_deg)});
        }
        return all;
    }();
    return texts;
}

}  // namespace

const std::vector<SatellitePosition>& SatellitePositions() {
    static const std::vector<SatellitePosition> positions = [] {
        std::vector<SatellitePosition> all;
        for (std::size_t i = 0; i < detail::SatelliteNameCount; ++i) {
            const detail::SatelliteName& name = detail::SatelliteNames[i];
            const double longitude = name.tenths_east / 10.0;
            if (all.empty() || all.back().longitude_deg != longitude) {
                all.push_back({longitude, {}});
            }
            all.back().names.emplace_back(name.name);
        }
        return all;
    }();
    return positions;
}

std::size_t SatelliteSourceFileCount() {
    return detail::SatelliteSourceFiles;
}

std::vector<SatellitePosition> FindSatellites(std::string_view text) {
    if (CheckTypedText(text) != TextProblem::None) {
        return {};
    }
    const std::string query = KeyOf(text).key;
    const std::string typed = TypedKey(text);
    // "-5" is a longitude west, as the plan's fields take it, not a part of "Eutelsat 5".
    const bool west =
        text.substr(std::min(text.find_first_not_of(' '), text.size())).starts_with('-');
    std::vector<SatellitePosition> found;
    for (const SatellitePosition& position : SatellitePositions()) {
        const bool named =
            !west && !query.empty() &&
            std::any_of(position.names.begin(), position.names.end(), [&](std::string_view name) {
                return KeyOf(name).key.find(query) != std::string::npos;
            });
        if (named || typed.empty() ||
            (PositionKey(position.longitude_deg).starts_with(typed) &&
             (!west || position.longitude_deg < 0))) {
            found.push_back(position);
        }
    }
    return found;
}

std::string SatelliteEntry(const SatellitePosition& position) {
    std::string entry = Tenths(position.longitude_deg) + "° " +
                        (position.longitude_deg < 0 ? "з.д." : "в.д.") + " —";
    for (std::size_t i = 0; i < position.names.size(); ++i) {
        entry += (i == 0 ? " " : ", ") + std::string(position.names[i]);
    }
    return entry;
}

SatelliteLookup LookUpSatellite(std::string_view text) {
    // "-36.1E" would be 36.1E once the key drops the minus: what the angle reader refuses as an
    // angle is no name either.
    const TextProblem problem = ReadAngle(text, AngleKind::Longitude).problem;
    if (problem != TextProblem::None && problem != TextProblem::NotANumber) {
        SatelliteLookup refused;
        refused.problem = problem;
        return refused;
    }
    for (const PositionTexts& position : PositionsAsTyped()) {
        if (position.entry == text) {
            return Lookup({position.longitude_deg}, SatelliteLookup::Found::Several);
        }
    }
    const std::string query = KeyOf(text).key;
    if (query.empty()) {
        return {};
    }
    const std::string typed = TypedKey(text);
    for (const PositionTexts& position : PositionsAsTyped()) {
        if (position.key == typed) {
            return Lookup({position.longitude_deg}, SatelliteLookup::Found::Several);
        }
    }
    std::set<double> equal;
    std::set<double> containing;
    for (const auto& [longitude, key] : NameKeys()) {
        if (key == query) {
            equal.insert(longitude);
        }
        if (key.find(query) != std::string::npos) {
            containing.insert(longitude);
        }
    }
    if (!equal.empty()) {
        return Lookup(equal, SatelliteLookup::Found::Several);
    }
    if (!containing.empty()) {
        return Lookup(containing, SatelliteLookup::Found::Several);
    }
    std::set<double> close;
    // No name is near as long: a long text is not worth comparing letter by letter.
    for (const auto& [longitude, key] : NameKeys()) {
        if (query.size() <= MaxCloseLength &&
            Distance(key, query) <= std::min<std::size_t>(2, query.size() / 4)) {
            close.insert(longitude);
        }
    }
    SatelliteLookup none;
    none.candidates = PositionsAt(close);
    return none;
}

SatelliteLookup ReadSatellite(std::string_view text) {
    if (const std::optional<double> longitude = ReadAngle(text, AngleKind::Longitude).degrees) {
        SatelliteLookup found;
        found.found = SatelliteLookup::Found::One;
        found.longitude_deg = *longitude;
        return found;
    }
    return LookUpSatellite(text);
}

}  // namespace tarvex::names
