#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Towns by name: the 24 361 towns of Debian's libgeonames (GeoNames, CC-BY-4.0), with their
// Russian names where it has them, compiled in. Nothing is read until a town is looked for.

namespace tarvex::names {

struct Place {
    std::string_view name;           // Russian where the data has it: "Екатеринбург"
    std::string_view latin_name;     // "Yekaterinburg"
    std::string_view region;         // "Свердловская область"
    std::string_view country;        // "Россия"
    std::string_view latin_region;   // "Sverdlovsk"
    std::string_view latin_country;  // "Russia"
    double latitude_deg = 0;         // north positive
    double longitude_deg = 0;        // east positive
    std::uint32_t population = 0;
};

// How many towns there are.
std::size_t PlaceCount();

// The towns a typed text can mean, most populous first, at most `limit`: a word of the Russian or
// the Latin name begins with the text, without regard to case, spaces, dashes, accents or ё.
// Further parts after commas must each begin a word of the region or the country, in Russian or
// Latin, so that an entry as PlaceEntry writes it finds its town again.
//   "Екатеринбург", "yekaterinburg", "екат" -> Yekaterinburg first (1 349 772 people);
//   "Петербург" -> Saint Petersburg, then Petersburg, Virginia;  "Moscow, Idaho" -> the
//   Moscow of Idaho, US;
//   "Екатеринбург, Свердловская область, Россия" -> Yekaterinburg;  "" -> {};  a text that
//   CheckTypedText refuses (not UTF-8, too long: "Сочи" in cp1251) -> {}
std::vector<Place> FindPlaces(std::string_view text, std::size_t limit = SIZE_MAX);

// A town as the plan window lists it and the plan names it.
//   Yekaterinburg -> "Екатеринбург, Свердловская область, Россия";
//   a town whose region has its name -> "Москва, Россия"
std::string PlaceEntry(const Place& place);

}  // namespace tarvex::names
