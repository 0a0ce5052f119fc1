#include "names/site_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Outcome = tarvex::names::SiteReading::Outcome;

TEST(ReadSite, ReadsWhatMapsCopyAndRefusesWhatReadsTwoWays) {
    struct Row {
        const char* text;
        Outcome outcome;
        std::vector<std::pair<double, double>> readings;  // latitude, longitude
    };
    const Row rows[] = {
        {"55.7558, 37.6173", Outcome::Read, {{55.7558, 37.6173}}},
        {"55.7558,37.6173", Outcome::Read, {{55.7558, 37.6173}}},
        {"55°45′21″N 37°37′03″E", Outcome::Read, {{55.7558333333, 37.6175}}},
        {"55° 45′ 21″ с. ш., 37° 37′ 3″ в. д.", Outcome::Read, {{55.7558333333, 37.6175}}},
        {"55.7558 с.ш. 37.6173 в.д.", Outcome::Read, {{55.7558, 37.6173}}},
        {"32.8 С.Ш., 35.4615 вд", Outcome::Read, {{32.8, 35.4615}}},
        {"N55.7558 E37.6173", Outcome::Read, {{55.7558, 37.6173}}},
        {"37.6173 E, 55.7558 N", Outcome::Read, {{55.7558, 37.6173}}},
        {"-33.8688; 151.2093", Outcome::Read, {{-33.8688, 151.2093}}},
        {"55,7558 37,6173", Outcome::Read, {{55.7558, 37.6173}}},
        {"1,5,2", Outcome::Ambiguous, {{1, 5.2}, {1.5, 2}}},
        {"55.7558", Outcome::Unreadable, {}},
        {"95, 37", Outcome::Unreadable, {}},        // a latitude beyond 90
        {"55 N, 37 S", Outcome::Unreadable, {}},    // two latitudes
        {"55, 181", Outcome::Unreadable, {}},       // a longitude beyond 180
        {"7.0E+1, 3", Outcome::Read, {{70, 3}}},    // an exponent, as in every field
        {"55 45 21, 37", Outcome::Unreadable, {}},  // bare numbers apart
        {"Екатеринбург", Outcome::Unreadable, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const tarvex::names::SiteReading reading = tarvex::names::ReadSite(row.text);
        EXPECT_EQ(reading.outcome, row.outcome);
        ASSERT_EQ(reading.readings.size(), row.readings.size());
        for (std::size_t i = 0; i < row.readings.size(); ++i) {
            EXPECT_NEAR(reading.readings[i].latitude_deg, row.readings[i].first, 1e-9);
            EXPECT_NEAR(reading.readings[i].longitude_deg, row.readings[i].second, 1e-9);
        }
    }
}

TEST(ReadSite, SaysWhyItReadsNone) {
    using tarvex::TextProblem;
    std::string pairs;
    for (int i = 0; i < 8000; ++i) {
        pairs += "1 ";
    }
    const std::pair<std::string, TextProblem> rows[] = {
        {"-33.8688 S, 151.2093 E", TextProblem::SignWithHemisphere},
        {"32.808333N, -35.4615E", TextProblem::SignWithHemisphere},
        {"55\xff, 37", TextProblem::NotUtf8},
        {pairs, TextProblem::TooLong},
        {pairs.substr(0, 40), TextProblem::NotANumber},  // 20 words: no site
    };
    for (const auto& [text, problem] : rows) {
        SCOPED_TRACE(text.substr(0, 40));
        const tarvex::names::SiteReading reading = tarvex::names::ReadSite(text);
        EXPECT_EQ(reading.outcome, Outcome::Unreadable);
        EXPECT_EQ(reading.problem, problem);
    }
}

}  // namespace
