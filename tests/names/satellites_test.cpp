#include "names/satellites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

using tarvex::names::SatelliteLookup;
using tarvex::names::SatellitePosition;

std::vector<double> Longitudes(const std::vector<SatellitePosition>& positions) {
    std::vector<double> longitudes;
    for (const SatellitePosition& position : positions) {
        longitudes.push_back(position.longitude_deg);
    }
    return longitudes;
}

const SatellitePosition* At(double longitude) {
    const auto& all = tarvex::names::SatellitePositions();
    const auto found = std::find_if(all.begin(), all.end(), [&](const SatellitePosition& p) {
        return p.longitude_deg == longitude;
    });
    return found == all.end() ? nullptr : &*found;
}

// The file names the list is made of: "Astra-19.2E", "Astra-1KR-19.2E", ..., "ABS-2-75.0E",
// "ABS2-75.0E", "ABS-2A-75.0E", "Galaxy13_C-127.0W", "Galaxy-13Horizons-1-127.0W",
// "Eutelsat5_5.0W", "Eutelsat-5-West-A-5.0W".
TEST(SatellitePositions, KeepEveryNameOfAPositionOnce) {
    struct Row {
        double longitude;
        std::vector<std::string_view> names;
    };
    const Row rows[] = {
        {19.2, {"Astra", "Astra 1KR", "Astra 1L", "Astra 1M", "Astra 1N"}},
        {75.0, {"ABS 2", "ABS 2A"}},                            // "ABS2" is "ABS 2" again
        {-127.0, {"Galaxy 13", "Horizons 1"}},                  // "_C": the C band of the same one
        {45.0, {"AzerSpace 2", "Intelsat 12", "Intelsat 38"}},  // "AzerSpace-2Intelsat-38-45.0E"
        {-121.0, {"EchoStar 9", "Galaxy 23"}},
        {-5.0, {"Eutelsat5", "Eutelsat 5 West A"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.longitude);
        const SatellitePosition* position = At(row.longitude);
        ASSERT_NE(position, nullptr);
        EXPECT_EQ(position->names, row.names);
    }
    const std::vector<double> all = Longitudes(tarvex::names::SatellitePositions());
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    EXPECT_GT(all.front(), -180);
    EXPECT_LE(all.back(), 180);
}

TEST(LookUpSatellite, NamesLooselyAndRefusesWhatIsNotOnePosition) {
    using Found = SatelliteLookup::Found;
    struct Row {
        const char* text;
        Found found;
        double longitude;                // with One
        std::vector<double> candidates;  // with Several and None
    };
    const Row rows[] = {
        {"express amu1", Found::One, 36.1, {}},
        {"EXPRESS-AMU1", Found::One, 36.1, {}},
        {"  Express_amu 1 ", Found::One, 36.1, {}},
        {"amu", Found::One, 36.1, {}},  // in one name only
        {"36.1° в.д. — Express AMU1", Found::One, 36.1, {}},
        {"5.0W", Found::One, -5.0, {}},  // a listed position, as the lists write it
        {"36,1° в.д.", Found::One, 36.1, {}},
        {"Amos 4", Found::One, 65.0, {}},  // equal beats "Amos" at 4.0 W containing it
        {"Astra", Found::Several, 0, {19.2, 23.5, 28.2}},
        {"yamal 40", Found::Several, 0, {54.9, 90.0}},
        {"Expres AMU1", Found::None, 0, {36.1, 40.0}},  // "ExpressAM1" is as close
        {"Zzzzzz", Found::None, 0, {}},
        {"", Found::None, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const SatelliteLookup lookup = tarvex::names::LookUpSatellite(row.text);
        EXPECT_EQ(lookup.found, row.found);
        if (row.found == Found::One) {
            EXPECT_EQ(lookup.longitude_deg, row.longitude);
        } else {
            EXPECT_EQ(Longitudes(lookup.candidates), row.candidates);
        }
    }
}

// A longitude first, as every angle field reads it; a name only for a text that is no angle.
TEST(ReadSatellite, ReadsALongitudeOrANameAndNeverUndoesARefusal) {
    using Found = SatelliteLookup::Found;
    using tarvex::TextProblem;
    const std::tuple<const char*, Found, double, TextProblem> rows[] = {
        {" 19.2", Found::One, 19.2, TextProblem::None},
        {"36,1", Found::One, 36.1, TextProblem::None},
        {"express amu1", Found::One, 36.1, TextProblem::None},
        {"-36.1E", Found::None, 0, TextProblem::SignWithHemisphere},
        {"-36.1 в.д.", Found::None, 0, TextProblem::SignWithHemisphere},
        {"-5.0W", Found::None, 0, TextProblem::SignWithHemisphere},
        {"\u221236.1E", Found::None, 0, TextProblem::SignWithHemisphere},
        {"36.1N", Found::None, 0, TextProblem::WrongHemisphere},
        {"\xff", Found::None, 0, TextProblem::NotUtf8},
    };
    for (const auto& [text, found, longitude, problem] : rows) {
        SCOPED_TRACE(text);
        const SatelliteLookup lookup = tarvex::names::ReadSatellite(text);
        EXPECT_EQ(lookup.found, found);
        EXPECT_EQ(lookup.longitude_deg, longitude);
        EXPECT_EQ(lookup.problem, problem);
        EXPECT_TRUE(lookup.candidates.empty());
    }
    EXPECT_EQ(tarvex::names::LookUpSatellite("-36.1E").problem, TextProblem::SignWithHemisphere);
}

TEST(FindSatellites, ByNameOrLongitudeAsTheListShowsThem) {
    struct Row {
        const char* text;
        std::vector<std::string> entries;
    };
    const Row rows[] = {
        {"amu", {"36.1° в.д. — Express AMU1"}},
        {"36", {"35.9° в.д. — Eutelsat 36B", "36.1° в.д. — Express AMU1"}},  // not 136.0 E
        {"36,1°", {"36.1° в.д. — Express AMU1"}},
        {"5.0w", {"5.0° з.д. — Eutelsat5, Eutelsat 5 West A"}},
        {"-5.0", {"5.0° з.д. — Eutelsat5, Eutelsat 5 West A"}},
        {"thor",
         {"1.0° з.д. — Intelsat 10 02, Thor", "0.8° з.д. — Thor 5, Thor 6", "0.6° з.д. — Thor 7"}},
        {"zzz", {}},
        {"\xff", {}},  // not "y": no UTF-8 text
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::vector<std::string> entries;
        for (const SatellitePosition& position : tarvex::names::FindSatellites(row.text)) {
            entries.push_back(tarvex::names::SatelliteEntry(position));
        }
        EXPECT_EQ(entries, row.entries);
    }
    EXPECT_EQ(tarvex::names::FindSatellites("").size(), tarvex::names::SatellitePositions().size());
}

}  // namespace
