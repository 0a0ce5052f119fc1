// Build step: the towns of Debian's libgeonames (GeoNames data, CC-BY-4.0) with their Russian
// names, regions and countries from its Russian message catalogue, written as C++ to compile in,
// so that the programs neither load GLib nor depend on the process locale to find a town.
//   tarvex_make_place_table /usr/share/locale/ru/LC_MESSAGES/geonames.mo build/place_table.cpp
// Exits 0 having written the table; 1 when the catalogue cannot be read or the output cannot be
// written.

#include <geonames.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "names/name_key.h"

namespace {

// A GNU message catalogue (.mo): message id -> translation. The catalogue of libgeonames is keyed
// by GeoNames ids: a town's number, "RU" for a country, "RU.71" for a region.
using Catalogue = std::map<std::string, std::string>;

bool ReadCatalogue(const std::string& path, Catalogue& catalogue) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const auto word = [&bytes](std::size_t at) -> std::uint32_t {
        if (at + 4 > bytes.size()) {
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value =
                value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        }
        return value;
    };
    if (word(0) != 0x950412de) {
        return false;
    }
    const std::uint32_t count = word(8);
    const std::uint32_t originals = word(12);
    const std::uint32_t translations = word(16);
    const auto text = [&](std::uint32_t table, std::uint32_t index) -> std::optional<std::string> {
        const std::size_t length = word(table + index * 8);
        const std::size_t offset = word(table + index * 8 + 4);
        if (offset > bytes.size() || length > bytes.size() - offset) {
            return std::nullopt;
        }
        return bytes.substr(offset, length);
    };
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::optional<std::string> id = text(originals, i);
        const std::optional<std::string> translation = text(translations, i);
        if (!id || !translation) {
            return false;
        }
        catalogue[*id] = *translation;
    }
    return count > 0;
}

struct Place {
    std::string name;
    std::string latin_name;
    std::string region;
    std::string country;
    std::string latin_region;
    std::string latin_country;
    double latitude = 0;
    double longitude = 0;
    std::uint32_t population = 0;
};

std::string Translated(const Catalogue& catalogue, const std::string& id,
                       const std::string& otherwise) {
    const auto found = catalogue.find(id);
    return found == catalogue.end() || found->second.empty() ? otherwise : found->second;
}

// The library's own getters translate by the process locale; the fields themselves do not.
// A town is the tuple (id, name, region code, region, country code, country, time zone,
// population, latitude, longitude).
std::optional<Place> PlaceOf(GeonamesCity* city, const Catalogue& catalogue) {
    if (!g_variant_is_of_type(city, G_VARIANT_TYPE("(sssssssudd)"))) {
        return std::nullopt;
    }
    const gchar* id = nullptr;
    const gchar* name = nullptr;
    const gchar* region_code = nullptr;
    const gchar* region = nullptr;
    const gchar* country_code = nullptr;
    const gchar* country = nullptr;
    const gchar* time_zone = nullptr;
    Place place;
    g_variant_get(city, "(&s&s&s&s&s&s&sudd)", &id, &name, &region_code, &region, &country_code,
                  &country, &time_zone, &place.population, &place.latitude, &place.longitude);
    place.latin_name = name;
    place.name = Translated(catalogue, id, name);
    place.region = Translated(catalogue, std::string(country_code) + "." + region_code, region);
    place.country = Translated(catalogue, country_code, country);
    place.latin_region = region;
    place.latin_country = country;
    return place;
}

// One literal per text, so that an escape never runs into the next text's digits.
std::string Literal(const std::string& text) {
    std::string literal = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\' || c == '?') {
            literal += '\\';
        }
        if (c == '\n') {
            literal += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            literal += ' ';
        } else {
            literal += c;
        }
    }
    return literal + "\\0\"\n";
}

std::string Number(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Makes the compiled-in towns from libgeonames.", "tarvex_make_place_table");
    std::string catalogue_path;
    std::string output;
    app.add_option("catalogue", catalogue_path, "libgeonames' Russian geonames.mo")
        ->required()
        ->check(CLI::ExistingFile);
    app.add_option("output", output, "The C++ file to write")->required();
    CLI11_PARSE(app, argc, argv);

    Catalogue catalogue;
    if (!ReadCatalogue(catalogue_path, catalogue)) {
        std::fprintf(stderr, "tarvex_make_place_table: %s is not a message catalogue\n",
                     catalogue_path.c_str());
        return 1;
    }
    std::vector<Place> places;
    const gint count = geonames_get_n_cities();
    for (gint i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        if (city == nullptr) {
            continue;
        }
        if (std::optional<Place> place = PlaceOf(city, catalogue)) {
            places.push_back(std::move(*place));
        }
        geonames_city_free(city);
    }
    if (places.empty()) {
        std::fprintf(stderr, "tarvex_make_place_table: libgeonames holds no towns\n");
        return 1;
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const Place& a, const Place& b) { return a.population > b.population; });

    std::string text;
    std::map<std::string, std::size_t> offsets;
    std::size_t size = 0;
    const auto offset_of = [&](const std::string& value) {
        const auto [found, added] = offsets.emplace(value, size);
        if (added) {
            text += Literal(value);
            size += value.size() + 1;
        }
        return std::to_string(found->second);
    };
    std::string records;
    std::size_t russian = 0;
    for (const Place& place : places) {
        russian += place.name != place.latin_name;
        records += "    {" + offset_of(place.name) + ", " + offset_of(place.latin_name) + ", " +
                   offset_of(place.region) + ", " + offset_of(place.country) + ", " +
                   offset_of(place.latin_region) + ", " + offset_of(place.latin_country) + ", " +
                   offset_of(tarvex::names::WordStarts(tarvex::names::KeyOf(place.name)) +
                             tarvex::names::WordStarts(tarvex::names::KeyOf(place.latin_name))) +
                   ", " + Number(place.latitude) + ", " + Number(place.longitude) + ", " +
                   std::to_string(place.population) + "},\n";
    }

    std::ofstream out(output, std::ios::trunc);
    out << "// Written by tarvex_make_place_table from libgeonames (GeoNames, CC-BY-4.0) and\n// "
        << catalogue_path << "; do not edit. " << places.size() << " towns, " << russian
        << " with a Russian name.\n"
        << "#include <iterator>\n\n#include \"names/place_table.h\"\n\n"
        << "// One block of texts, far longer than the least a compiler must take.\n"
        << "#pragma GCC diagnostic ignored \"-Woverlength-strings\"\n\n"
        << "namespace tarvex::names::detail {\n\nconst char PlaceText[] =\n"
        << text << ";\n\nconst PlaceRecord PlaceRecords[] = {\n"
        << records << "};\nconst std::size_t PlaceCount = std::size(PlaceRecords);\n\n"
        << "}  // namespace tarvex::names::detail\n";
    out.close();
    if (out.fail()) {
        std::fprintf(stderr, "tarvex_make_place_table: cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("tarvex_make_place_table: %zu towns, %zu with a Russian name\n", places.size(),
                russian);
    return 0;
}
