#include "conversions/typed_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>

namespace {

using tarvex::AngleKind;
using tarvex::TextProblem;

// Each row one way of typing an angle; degrees worked out by hand (4:30 is 4.5).
TEST(ReadAngle, OneSetOfRulesForEveryField) {
    struct Row {
        std::string text;
        AngleKind kind;
        std::optional<double> degrees;
        TextProblem problem;
    };
    constexpr auto Lon = AngleKind::Longitude;
    constexpr auto Lat = AngleKind::Latitude;
    constexpr auto Sign = TextProblem::SignWithHemisphere;
    constexpr auto NaN = TextProblem::NotANumber;
    constexpr auto None = TextProblem::None;
    const Row rows[] = {
        {"-33.8688 S", Lat, {}, Sign},
        {"-35.4615E", Lon, {}, Sign},
        {"-32.8N", Lat, {}, Sign},
        {"+5E", Lon, {}, Sign},
        {"N-55", Lat, {}, Sign},
        {"-36.1 в.д.", Lon, {}, Sign},
        {"\u22124:30W", Lon, {}, Sign},
        {"\u201335:27.69E", Lon, {}, Sign},
        {"\u221232.8083N", Lat, {}, Sign},
        {"\u20125E", Lon, {}, Sign},
        {"\u20155E", Lon, {}, Sign},
        {"\uFE635E", Lon, {}, Sign},
        {"\uFF0D5E", Lon, {}, Sign},
        {"\u22124:30", Lon, -4.5, None},
        {"\uFF0D4.5", Lon, -4.5, None},
        {"35.4615 В.Д.", Lon, 35.4615, None},
        {"35.4615 вд", Lon, 35.4615, None},
        {"4.5 З. Д.", Lon, -4.5, None},
        {"32.8 с.ш", Lat, 32.8, None},
        {" 19.2", Lon, 19.2, None},
        {"19.2E ", Lon, 19.2, None},
        {"\t19.2\u00A0", Lon, 19.2, None},
        {"36,1E", Lon, 36.1, None},
        {"36,1", Lon, 36.1, None},
        {"55° 45′ 21″ N", Lat, 55 + 45 / 60.0 + 21 / 3600.0, None},
        {"70+1", Lon, {}, NaN},
        {"1 2", Lon, {}, NaN},
        {"4:30WE", Lon, {}, NaN},
        {"1,5,2", Lon, {}, NaN},
        {"32N", Lon, {}, TextProblem::WrongHemisphere},
        {"4 в.д.", Lat, {}, TextProblem::WrongHemisphere},
        {"\xff", Lon, {}, TextProblem::NotUtf8},
        {"35.4615 \xe2.\xe4.", Lon, {}, TextProblem::NotUtf8},  // "в.д." in cp1251
        {"\xc0\xaf", Lon, {}, TextProblem::NotUtf8},            // an overlong "/"
        {"\xed\xa0\x80", Lon, {}, TextProblem::NotUtf8},        // a surrogate
        {std::string(256, '1'), Lon, 1.111111111111111e255, None},
        {std::string(257, '1'), Lon, {}, TextProblem::TooLong},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const tarvex::AngleReading reading = tarvex::ReadAngle(row.text, row.kind);
        EXPECT_EQ(reading.problem, row.problem);
        ASSERT_EQ(reading.degrees.has_value(), row.degrees.has_value());
        if (row.degrees) {
            EXPECT_NEAR(*reading.degrees, *row.degrees, 1e-12 * std::fabs(*row.degrees));
        }
    }
}

TEST(ReadNumber, BlanksAndDecimalCommasAsTheAngles) {
    const std::tuple<std::string, std::optional<double>, TextProblem> rows[] = {
        {" 600,5 ", 600.5, TextProblem::None},
        {"\u22120.5", -0.5, TextProblem::None},
        {"600 mm", {}, TextProblem::NotANumber},
        {"6\xff", {}, TextProblem::NotUtf8},
        {std::string(257, '1'), {}, TextProblem::TooLong},
    };
    for (const auto& [text, value, problem] : rows) {
        SCOPED_TRACE(text);
        const tarvex::NumberReading reading = tarvex::ReadNumber(text);
        EXPECT_EQ(reading.value, value);
        EXPECT_EQ(reading.problem, problem);
    }
}

}  // namespace
