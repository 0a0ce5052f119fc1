#pragma once

#include <cstddef>
#include <cstdint>

// The compiled-in towns, written by tools/make_place_table.cpp into the build folder. Texts are
// offsets into one block rather than pointers, so that loading the program relocates nothing.
// Read it through names/places.h.

namespace tarvex::names::detail {

struct PlaceRecord {
    std::uint32_t name;        // Russian where the data translates it, else the same as latin_name
    std::uint32_t latin_name;  // offsets into PlaceText of texts ended by '\0'
    std::uint32_t region;      // Russian where the data translates it
    std::uint32_t country;
    std::uint32_t latin_region;
    std::uint32_t latin_country;
    std::uint32_t word_starts;  // names::WordStarts of both names' keys, made by the build
    double latitude_deg;
    double longitude_deg;
    std::uint32_t population;
};

extern const char PlaceText[];
// Most populous first.
extern const PlaceRecord PlaceRecords[];
extern const std::size_t PlaceCount;

}  // namespace tarvex::names::detail
