#include "names/places.h"

#include <algorithm>

#include "conversions/typed_text.h"
#include "names/name_key.h"
#include "names/place_table.h"

namespace tarvex::names {
namespace {

Place PlaceAt(std::size_t index) {
    const detail::PlaceRecord& record = detail::PlaceRecords[index];
    return {detail::PlaceText + record.name,
            detail::PlaceText + record.latin_name,
            detail::PlaceText + record.region,
            detail::PlaceText + record.country,
            detail::PlaceText + record.latin_region,
            detail::PlaceText + record.latin_country,
            record.latitude_deg,
            record.longitude_deg,
            record.population};
}

std::vector<std::string> Parts(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(KeyOf(text.substr(start, comma - start)).key);
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

bool NameBegins(const std::string& query, std::string_view name) {
    return BeginsAWord(query, KeyOf(name));
}

bool BeginsRegionOrCountry(const std::string& part, const Place& place) {
    const std::string_view names[] = {place.region, place.country, place.latin_region,
                                      place.latin_country};
    return part.empty() ||
           std::any_of(std::begin(names), std::end(names),
                       [&part](std::string_view name) { return NameBegins(part, name); });
}

}  // namespace

std::size_t PlaceCount() {
    return detail::PlaceCount;
}

std::vector<Place> FindPlaces(std::string_view text, std::size_t limit) {
    if (CheckTypedText(text) != TextProblem::None) {
        return {};
    }
    const std::vector<std::string> parts = Parts(text);
    const std::string& query = parts.front();
    std::vector<Place> found;
    if (query.empty()) {
        return found;
    }
    const std::string word_start = '\n' + query;
    for (std::size_t i = 0; i < detail::PlaceCount && found.size() < limit; ++i) {
        const std::string_view word_starts =
            detail::PlaceText + detail::PlaceRecords[i].word_starts;
        if (word_starts.find(word_start) == std::string_view::npos) {
            continue;
        }
        const Place place = PlaceAt(i);
        if (std::all_of(parts.begin() + 1, parts.end(), [&](const std::string& part) {
                return BeginsRegionOrCountry(part, place);
            })) {
            found.push_back(place);
        }
    }
    return found;
}

std::string PlaceEntry(const Place& place) {
    std::string entry(place.name);
    if (place.region != place.name && !place.region.empty()) {
        entry += ", " + std::string(place.region);
    }
    return entry + ", " + std::string(place.country);
}

}  // namespace tarvex::names
