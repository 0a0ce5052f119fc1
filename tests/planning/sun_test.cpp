#include "planning/sun.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "planning/instant.h"

namespace {

using tarvex::planning::Date;
using tarvex::planning::SunAtAzimuth;

void ExpectAzimuth(double expected, double actual, double tolerance) {
    EXPECT_NEAR(std::remainder(actual - expected, 360.0), 0, tolerance) << "azimuth " << actual;
}

// Published positions: Reda and Andreas, "Solar position algorithm for solar radiation
// applications" (NREL/TP-560-34302, 2004), table A5.1 (the elevation is 90 - 50.11162 less its
// 0.016332 of refraction), and rows of NREL's online calculator for Golden, Colorado, on
// 2020-01-01 (uncorrected topocentric elevation).
TEST(SunDirectionAt, MatchesPublishedPositions) {
    struct Row {
        const char* name;
        double latitude, longitude, unix_seconds, azimuth, elevation;
    };
    const Row rows[] = {
        {"SPA paper, 2003-10-17 12:30:30 -7h", 39.742476, -105.1786, 1066419030, 194.34024,
         39.872046},
        {"NREL, 20:10Z", 39.743, -105.178, 1577909400, 196.775752, 25.410294},
        {"NREL, 22:00Z", 39.743, -105.178, 1577916000, 221.421616, 15.069731},
        {"NREL, 23:30Z", 39.743, -105.178, 1577921400, 237.600699, 1.911870},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto sun =
            tarvex::planning::SunDirectionAt(row.latitude, row.longitude, row.unix_seconds);
        ExpectAzimuth(row.azimuth, sun.azimuth_deg, 0.01);
        EXPECT_NEAR(sun.elevation_deg, row.elevation, 0.01);
    }
}

// Meeus, "Astronomical Algorithms", example 25.a: 1992 October 13.0 TD by this method, and
// within 0.01 degrees of example 25.b's full theory (13h13m30.749s, -7 47' 01.74").
TEST(SunApparentEquatorial, MeeusExample25a) {
    const auto sun = tarvex::planning::SunApparentEquatorial(2448908.5);
    EXPECT_NEAR(sun.right_ascension_deg, 198.38083, 1e-4);
    EXPECT_NEAR(sun.declination_deg, -7.78507, 1e-4);
    EXPECT_NEAR(sun.right_ascension_deg, 198.378121, 0.01);
    EXPECT_NEAR(sun.declination_deg, -7.783817, 0.01);
}

// tests/planning/sun_reference.py finds these by the Astronomical Almanac's formulas and a
// minute-by-minute scan; Golden's is NREL's own row of the test above, read backwards.
TEST(SunAtAzimuthOn, MatchesIndependentTimes) {
    struct Row {
        const char* name;
        double latitude, longitude;
        Date date;
        double azimuth;
        std::optional<double> unix_seconds;
        double elevation;
        // The two methods' 0.01 degrees apart is a few seconds where the azimuth turns fast, more
        // where it turns slowly: at Dakar it is near its morning's turning back, 0.0008 degrees/s.
        double seconds = 3;
    };
    const Row rows[] = {
        {"Tiberias, satellite 13",
         32.808333,
         35.4615,
         {2026, 12, 7},
         217.369781328184,
         1796644607.115,
         24.3729},
        {"Golden, NREL's row", 39.743, -105.178, {2020, 1, 1}, 196.775752, 1577909400, 25.4103},
        {"Sydney, a satellite in the north",
         -33.8688,
         151.2093,
         {2026, 12, 7},
         8.55949817450988,
         1796607546.977,
         78.6033},
        {"Rio, the sun 0.3 degrees from the zenith",
         -22.9068,
         -43.1729,
         {2026, 12, 7},
         45,
         1796654583.151,
         89.6318},
        {"Dakar, the first of two passages",
         14.7167,
         -17.4677,
         {2026, 6, 21},
         68,
         1782026767.314,
         9.0335,
         12},
        {"Tromso, midnight sun just after the day starts",
         69.6492,
         18.9553,
         {2026, 6, 21},
         5,
         1781996859.481,
         3.1664},
        {"Tromso, just before it ends",
         69.6492,
         18.9553,
         {2026, 6, 21},
         355,
         1782080659.767,
         3.1657},
        {"London, north in December", 51.5, -0.1, {2026, 12, 21}, 0, std::nullopt, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<SunAtAzimuth> sun =
            tarvex::planning::SunAtAzimuthOn(row.latitude, row.longitude, row.date, row.azimuth);
        ASSERT_EQ(sun.has_value(), row.unix_seconds.has_value());
        if (sun) {
            EXPECT_EQ(sun->day, row.date);
            EXPECT_NEAR(sun->unix_seconds, *row.unix_seconds, row.seconds);
            EXPECT_NEAR(sun->elevation_deg, row.elevation, 0.02);
        }
    }
}

TEST(NextSunAtAzimuth, TodaysUntilItHasPassed) {
    // sun_reference.py: 2026-12-07T11:56:47.115Z and 2026-12-08T11:57:31.702Z.
    const Date today{2026, 12, 7};
    const double todays = 1796644607.115, tomorrows = 1796731051.702;
    const struct {
        double now;
        std::optional<double> expected;
        Date day;
    } rows[] = {{todays - 3600, todays, today},
                {todays + 60, tomorrows, {2026, 12, 8}},
                {tomorrows + 60, std::nullopt, {}}};
    for (const auto& row : rows) {
        const auto sun = tarvex::planning::NextSunAtAzimuth(32.808333, 35.4615, today,
                                                            217.369781328184, row.now);
        ASSERT_EQ(sun.has_value(), row.expected.has_value()) << row.now;
        if (sun) {
            EXPECT_EQ(sun->day, row.day);
            EXPECT_NEAR(sun->unix_seconds, *row.expected, 3);
        }
    }
}

TEST(SunDayStart, MidnightOfMeanSolarTime) {
    // Python: datetime(2026, 12, 7, tzinfo=utc).timestamp() - longitude / 15 * 3600.
    EXPECT_NEAR(tarvex::planning::SunDayStart({2026, 12, 7}, 35.4615), 1796593089.24, 1e-3);
    EXPECT_NEAR(tarvex::planning::SunDayStart({2026, 12, 7}, -90), 1796601600 + 21600, 1e-3);
    // 200 E is 160 W.
    EXPECT_NEAR(tarvex::planning::SunDayStart({2026, 12, 7}, 200), 1796601600 + 38400, 1e-3);
}

// Python's datetime.isoformat gives the same, offsets in seconds included.
TEST(Instant, Iso8601UnderAnyLocale) {
    const char* locale = std::setlocale(LC_ALL, "ru_RU.UTF-8");
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "ru_RU" : "C");
        EXPECT_EQ(tarvex::planning::IsoUtc(0), "1970-01-01T00:00:00Z");
        EXPECT_EQ(tarvex::planning::IsoUtc(1796644607), "2026-12-07T11:56:47Z");
        EXPECT_EQ(tarvex::planning::IsoUtc(-1), "1969-12-31T23:59:59Z");
        EXPECT_EQ(tarvex::planning::IsoUtc(-62135596800), "0001-01-01T00:00:00Z");
        EXPECT_EQ(tarvex::planning::IsoUtc(253402300799), "9999-12-31T23:59:59Z");
        EXPECT_EQ(tarvex::planning::IsoLocal(1796644607, 7200), "2026-12-07T13:56:47+02:00");
        EXPECT_EQ(tarvex::planning::IsoLocal(1796644607, -12600), "2026-12-07T08:26:47-03:30");
        EXPECT_EQ(tarvex::planning::IsoLocal(1796644607, 0), "2026-12-07T11:56:47+00:00");
        EXPECT_EQ(tarvex::planning::IsoLocal(1796644607, 8440), "2026-12-07T14:17:27+02:20:40");
        EXPECT_EQ(tarvex::planning::IsoLocal(1796687999, 7200), "2026-12-08T01:59:59+02:00");
        std::setlocale(LC_ALL, "C");
    }
    EXPECT_NE(locale, nullptr) << "ru_RU.UTF-8 is not installed";
}

TEST(Instant, OffsetOfTheTimeZone) {
    const char* saved = std::getenv("TZ");
    const std::optional<std::string> before =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    const struct {
        const char* zone;
        long long unix_seconds;
        std::optional<int> offset;
    } rows[] = {{"EET-2EEST,M3.5.0/3,M10.5.0/4", 1796644607, 7200},   // 2026-12-07
                {"EET-2EEST,M3.5.0/3,M10.5.0/4", 1782864000, 10800},  // 2026-07-01
                {"<+0530>-5:30", 1796644607, 19800},
                {"<-03>3", 1796644607, -10800},
                {"Nowhere/Town", 1796644607, std::nullopt},
                {"", 1796644607, std::nullopt}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.zone);
        ::setenv("TZ", row.zone, 1);
        EXPECT_EQ(tarvex::planning::LocalUtcOffset(row.unix_seconds), row.offset);
    }
    if (before) {
        ::setenv("TZ", before->c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
}

}  // namespace
