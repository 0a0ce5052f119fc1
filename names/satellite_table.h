#pragma once

#include <cstddef>

// The compiled-in satellite list, written by tools/make_satellite_table.cpp into the build folder.
// Read it through names/satellites.h.

namespace tarvex::names::detail {

// One name of a satellite at an orbital position, in tenths of a degree east (west negative), so
// that positions group exactly.
struct SatelliteName {
    short tenths_east;
    const char* name;
};

// West to east, the names of one position together in alphabetical order.
extern const SatelliteName SatelliteNames[];
extern const std::size_t SatelliteNameCount;
// How many files of the source folder the list was made from.
extern const std::size_t SatelliteSourceFiles;

}  // namespace tarvex::names::detail
