// Satellites, towns and sites looked up by arbitrary texts: every answer is one the lists hold
// and every site read lies on the Earth.
//
// Input: a text, given to each lookup.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "fuzz/require.h"
#include "names/name_key.h"
#include "names/places.h"
#include "names/satellites.h"
#include "names/site_text.h"

namespace {

bool IsListed(double longitude) {
    const auto& all = tarvex::names::SatellitePositions();
    return std::any_of(all.begin(), all.end(), [&](const tarvex::names::SatellitePosition& p) {
        return p.longitude_deg == longitude;
    });
}

void CheckSite(std::string_view text) {
    using Outcome = tarvex::names::SiteReading::Outcome;
    const tarvex::names::SiteReading reading = tarvex::names::ReadSite(text);
    FUZZ_REQUIRE(reading.readings.size() == (reading.outcome == Outcome::Unreadable ? 0u
                                             : reading.outcome == Outcome::Read     ? 1u
                                                                                    : 2u) ||
                 (reading.outcome == Outcome::Ambiguous && reading.readings.size() > 2));
    for (const tarvex::names::SiteCoordinates& site : reading.readings) {
        FUZZ_REQUIRE(std::fabs(site.latitude_deg) <= 90);
        FUZZ_REQUIRE(std::fabs(site.longitude_deg) <= 180);
    }
}

void CheckSatellite(std::string_view text) {
    using Found = tarvex::names::SatelliteLookup::Found;
    const tarvex::names::SatelliteLookup lookup = tarvex::names::LookUpSatellite(text);
    if (lookup.found == Found::One) {
        FUZZ_REQUIRE(IsListed(lookup.longitude_deg));
    }
    FUZZ_REQUIRE(lookup.found != Found::Several || lookup.candidates.size() >= 2);
    for (const tarvex::names::SatellitePosition& position : tarvex::names::FindSatellites(text)) {
        FUZZ_REQUIRE(IsListed(position.longitude_deg));
    }
}

// A found town's name begins with the text's first part; it and its entry find it again.
void CheckPlaces(std::string_view text) {
    const auto found = tarvex::names::FindPlaces(text, 3);
    FUZZ_REQUIRE(found.size() <= 3);
    for (std::size_t i = 1; i < found.size(); ++i) {
        FUZZ_REQUIRE(found[i - 1].population >= found[i].population);
    }
    if (!found.empty()) {
        const std::string entry = tarvex::names::PlaceEntry(found.front());
        FUZZ_REQUIRE(!tarvex::names::FindPlaces(entry, 1).empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tarvex::names::NameKey key = tarvex::names::KeyOf(text);
    FUZZ_REQUIRE(tarvex::names::KeyOf(key.key).key == key.key);
    CheckSite(text);
    CheckSatellite(text);
    CheckPlaces(text);
    return 0;
}
