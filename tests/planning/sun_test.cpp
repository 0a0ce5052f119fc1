#include "planning/sun.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "planning/instant.h"
#include "planning/plan_sun.h"

namespace {

using tarvex::planning::Date;

// Reda and Andreas, "Solar position algorithm for solar radiation applications" (NREL/TP-560-34302,
// 2004), table A5.1: its elevation is 90 - 50.11162 less 0.016332 of refraction. Then rows of
// NREL's online calculator for Golden, Colorado, 2020-01-01 (uncorrected topocentric elevation).
TEST(SunDirectionAt, MatchesPublishedPositions) {
    // Latitude, longitude, instant, azimuth, elevation.
    const double rows[][5] = {{39.742476, -105.1786, 1066419030, 194.34024, 39.872046},
                              {39.743, -105.178, 1577909400, 196.775752, 25.410294},
                              {39.743, -105.178, 1577916000, 221.421616, 15.069731},
                              {39.743, -105.178, 1577921400, 237.600699, 1.911870}};
    for (const auto& row : rows) {
        const auto sun = tarvex::planning::SunDirectionAt(row[0], row[1], row[2]);
        EXPECT_NEAR(sun.azimuth_deg, row[3], 0.01) << row[2];
        EXPECT_NEAR(sun.elevation_deg, row[4], 0.01) << row[2];
    }
}

// Meeus, "Astronomical Algorithms", example 25.a: 1992 October 13.0 TD.
TEST(SunApparentEquatorial, MeeusExample25a) {
    const auto sun = tarvex::planning::SunApparentEquatorial(2448908.5);
    EXPECT_NEAR(sun.right_ascension_deg, 198.38083, 1e-4);
    EXPECT_NEAR(sun.declination_deg, -7.78507, 1e-4);
}

// tests/planning/sun_reference.py finds these by the Astronomical Almanac's formulas and a
// minute-by-minute scan; Golden's is NREL's row above read backwards. The two methods' 0.01
// degrees apart is a few seconds, more where the azimuth turns slowly: at Dakar it is about to
// turn back, 0.0008 degrees/s.
TEST(SunAtAzimuthOn, MatchesIndependentTimes) {
    constexpr double None = NAN;
    const struct {
        Date date;
        double latitude, longitude, azimuth, unix_seconds, elevation, seconds;
    } rows[] = {
        // Tiberias, satellite 13; Golden.
        {{2026, 12, 7}, 32.808333, 35.4615, 217.369781328184, 1796644607.115, 24.3729, 3},
        {{2020, 1, 1}, 39.743, -105.178, 196.775752, 1577909400, 25.4103, 3},
        // Sydney, a satellite in the north; Rio, 0.3 degrees from the zenith.
        {{2026, 12, 7}, -33.8688, 151.2093, 8.55949817450988, 1796607546.977, 78.6033, 3},
        {{2026, 12, 7}, -22.9068, -43.1729, 45, 1796654583.151, 89.6318, 3},
        // Dakar, the first of two passages.
        {{2026, 6, 21}, 14.7167, -17.4677, 68, 1782026767.314, 9.0335, 12},
        // Tromso's midnight sun, just after the day starts and just before it ends.
        {{2026, 6, 21}, 69.6492, 18.9553, 5, 1781996859.481, 3.1664, 3},
        {{2026, 6, 21}, 69.6492, 18.9553, 355, 1782080659.767, 3.1657, 3},
        // London: never in the north in December.
        {{2026, 12, 21}, 51.5, -0.1, 0, None, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.latitude);
        const auto sun =
            tarvex::planning::SunAtAzimuthOn(row.latitude, row.longitude, row.date, row.azimuth);
        ASSERT_EQ(sun.has_value(), !std::isnan(row.unix_seconds));
        if (sun) {
            EXPECT_EQ(sun->day, row.date);
            EXPECT_NEAR(sun->unix_seconds, row.unix_seconds, row.seconds);
            EXPECT_NEAR(sun->elevation_deg, row.elevation, 0.02);
        }
    }
}

// sun_reference.py: Tiberias's 2026-12-07T11:56:47.115Z and 2026-12-08T11:57:31.702Z.
TEST(NextSunAtAzimuth, TodaysUntilItHasPassed) {
    const double todays = 1796644607.115, tomorrows = 1796731051.702;
    // Now, then the moment expected and its day (0: none).
    const double rows[][3] = {
        {todays - 3600, todays, 7}, {todays + 60, tomorrows, 8}, {tomorrows + 60, 0, 0}};
    for (const auto& [now, expected, day] : rows) {
        const auto sun = tarvex::planning::NextSunAtAzimuth(32.808333, 35.4615, {2026, 12, 7},
                                                            217.369781328184, now);
        ASSERT_EQ(sun.has_value(), day != 0) << now;
        if (sun) {
            EXPECT_NEAR(sun->unix_seconds, expected, 3);
            EXPECT_EQ(sun->day, (Date{2026, 12, static_cast<int>(day)}));
        }
    }
}

// A plan's sun: the date's own moment, or for today on the clock's calendar the next one still to
// come (sun_reference.py's times as above); the zone's offset where the clock knows one.
TEST(SunTimes, TodaysNextOtherDaysOwn) {
    const tarvex::planning::PlanInput input{35.4615, 32.808333,     {13, 19.2}, 600,
                                            {},      {2026, 12, 7}, {}};
    const auto plan = std::get<tarvex::planning::Plan>(tarvex::planning::MakePlan(input));
    using Offset = std::optional<int> (*)(std::int64_t);
    const Offset east2 = [](std::int64_t) -> std::optional<int> { return 7200; };
    const double todays = 1796644607.115, tomorrows = 1796731051.702;
    const struct {
        double now;
        Offset offset;
        double expected;
    } rows[] = {{1796796000, east2, todays},     // 2026-12-09: the date's own
                {todays - 3600, east2, todays},  // today, still to come
                {todays + 60, east2, tomorrows},
                // 22:30Z: already 2026-12-08 at UTC+2, so the date's own; still the 7th in UTC.
                {1796682600, east2, todays},
                {1796682600, nullptr, tomorrows}};
    for (const auto& row : rows) {
        const auto sun = tarvex::planning::SunTimes(input, plan, {row.now, row.offset});
        ASSERT_EQ(sun.size(), 2u);
        ASSERT_TRUE(sun[0].has_value()) << row.now;
        EXPECT_NEAR(static_cast<double>(sun[0]->unix_seconds), row.expected, 3) << row.now;
        EXPECT_EQ(sun[0]->utc_offset_seconds,
                  row.offset != nullptr ? std::optional<int>(7200) : std::nullopt);
    }
}

// Python's datetime.isoformat writes the same, offsets in seconds included.
TEST(Instant, Iso8601UnderTheRussianLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr);
    EXPECT_EQ(tarvex::planning::IsoUtc(-1), "1969-12-31T23:59:59Z");
    EXPECT_EQ(tarvex::planning::IsoUtc(253402300799), "9999-12-31T23:59:59Z");
    EXPECT_EQ(tarvex::planning::IsoLocal(1796687999, 7200), "2026-12-08T01:59:59+02:00");
    EXPECT_EQ(tarvex::planning::IsoLocal(1796644607, -12600), "2026-12-07T08:26:47-03:30");
    EXPECT_EQ(tarvex::planning::IsoLocal(1796644607, 8440), "2026-12-07T14:17:27+02:20:40");
    std::setlocale(LC_ALL, "C");
}

TEST(Instant, OffsetOfTheTimeZone) {
    const struct {
        const char* zone;
        long long unix_seconds;
        std::optional<int> offset;
    } rows[] = {{"EET-2EEST,M3.5.0/3,M10.5.0/4", 1796644607, 7200},   // 2026-12-07
                {"EET-2EEST,M3.5.0/3,M10.5.0/4", 1782864000, 10800},  // 2026-07-01
                {"<-03>3", 1796644607, -10800},
                {"Nowhere/Town", 1796644607, std::nullopt},
                {"", 1796644607, std::nullopt}};
    for (const auto& row : rows) {
        ::setenv("TZ", row.zone, 1);
        EXPECT_EQ(tarvex::planning::LocalUtcOffset(row.unix_seconds), row.offset) << row.zone;
    }
    ::unsetenv("TZ");
}

}  // namespace
