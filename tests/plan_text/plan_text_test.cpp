#include "plan_text/plan_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

namespace tarvex {
namespace {

planning::PlanInput Example(std::vector<double> satellites = {13, 19.2}) {
    return {35.4615, 32 + 48.5 / 60, std::move(satellites), 600, std::nullopt, {2026, 12, 7}, {}};
}

planning::Plan PlanOf(const planning::PlanInput& input) {
    return std::get<planning::Plan>(planning::MakePlan(input));
}

TEST(PlanText, NumbersKeepTheirRangesAfterRounding) {
    const std::pair<std::string, std::string> rows[] = {
        {FixedText(-0.04, 1), "0.0"},
        {FixedText(-0.0, 2), "0.00"},
        {FixedText(63.64, 1), "63.6"},
        {FixedText(-2.5, 0), "-2"},
        {AzimuthText(359.96), "0.0°"},
        {AzimuthText(359.94), "359.9°"},
        {AzimuthText(0), "0.0°"},
        {SatelliteText(-180.04), "180.0° в.д."},
        {SatelliteText(375), "15.0° в.д."},
        {SatelliteText(-0.01), "0.0°"},
        {RotationText(-89.97), "90.0° по часовой"},
        {RotationText(89.96), "90.0° по часовой"},
        {RotationText(-0.04), "0.0°"},
        {DeclinationText(5.097), "5.1° к востоку"},
        {DeclinationText(-11.15), "11.2° к западу"},
        {DeclinationText(-0.02), "0.0°"},
        {SiteText(-3.7038, -33.86881), "3.7038° з.д., 33.8688° ю.ш."},
        {LineText(63.64, -37.10), "вправо и вниз, под 30° к горизонтали"},
        {LineText(-61.9, 1e-9), "влево, по горизонтали"},
        {LineText(-61.9, -1e-12), "влево, по горизонтали"},
        {LineText(0.1, 50), "вверх, по вертикали"},
        {LineText(-40, 40), "влево и вверх, под 45° к горизонтали"},
        {DateText({987, 3, 4}), "0987-03-04"},
    };
    for (const auto& [shown, expected] : rows) {
        EXPECT_EQ(shown, expected);
    }
}

// Over sites and satellites that reach every quarter of the sky, no text shows an azimuth of
// 360, a tilt or any number of "-0.0".
TEST(PlanText, NoAngleLeavesItsRangeAcrossASweep) {
    int plans = 0;
    for (double longitude = -179; longitude <= 180; longitude += 17) {
        for (double latitude = -75; latitude <= 75; latitude += 15) {
            for (const double step : {-3.0, 0.0, 3.0}) {
                const planning::PlanInput input{
                    longitude,    latitude, {longitude, longitude + step + 5}, 600, 900,
                    {2026, 6, 1}, {}};
                const auto made = planning::MakePlan(input);
                if (!std::holds_alternative<planning::Plan>(made)) {
                    continue;
                }
                ++plans;
                const std::string text = PlanText(input, std::get<planning::Plan>(made), {});
                EXPECT_EQ(text.find("360.0°"), std::string::npos) << text;
                EXPECT_EQ(text.find("-0.0"), std::string::npos) << text;
            }
        }
    }
    EXPECT_GT(plans, 500);
}

// Each names its feed once, at its start, and says what to do. The formula's plan: the optics
// would judge the feeds by their beams instead.
TEST(PlanText, WarningsNameTheirFeedOnceAndARemedy) {
    struct Row {
        std::vector<double> satellites;
        planning::Date date;
        const char* starts;
        const char* remedy;
    };
    const Row rows[] = {
        {{13, 16},
         {2026, 12, 7},
         "Конвертор 2: его центр в 39.2 мм от центра конвертора 1",
         "моноблок"},
        {{13, 28.2}, {2026, 12, 7}, "Конвертор 2: спутник дальше 12°", "посередине"},
        {{13, 19.2},
         {2030, 1, 1},
         "Дата 2030-01-01 вне срока магнитной модели WMM2025 (2025-01-01 – 2029-12-31)",
         "приблизительны"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.starts);
        planning::PlanInput input = Example(row.satellites);
        input.date = row.date;
        input.diameter_mm = 1000;
        input.optics = false;
        const std::vector<std::string> lines = WarningLines(PlanOf(input));
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind(row.starts, 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(row.remedy), std::string::npos) << lines[0];
        EXPECT_EQ(lines[0].find("онвертор 2", 20), std::string::npos) << lines[0];
    }
    planning::PlanInput low = Example({10, 0});
    low.site_longitude_deg = 0;
    low.site_latitude_deg = 76.3;
    low.diameter_mm = 1000;
    low.optics = false;
    EXPECT_EQ(WarningLines(PlanOf(low)),
              std::vector<std::string>{"Конвертор 1: спутник ниже 5° над горизонтом: сигнал могут "
                                       "закрыть деревья и постройки. Проверьте, что в его сторону "
                                       "ничего не мешает."});
}

// The sun's time on the zone's clock to the minute, the date where it is not the plan's.
TEST(PlanText, SunTimes) {
    const auto at = [](std::int64_t unix_seconds, std::optional<int> offset) {
        return std::optional<planning::SunTime>(
            planning::SunTime{unix_seconds, 24.37, {2026, 12, 7}, offset});
    };
    // 1796644607 is 2026-12-07T11:56:47Z, 1796731053 2026-12-08T11:57:33Z.
    const std::pair<std::optional<planning::SunTime>, std::string> rows[] = {
        {at(1796644607, 7200), "13:57 UTC+2, высота 24.4°"},
        {at(1796731053, std::nullopt), "2026-12-08 11:58 UTC, высота 24.4°"},
        {at(1796644607, -12600), "08:27 UTC-3:30, высота 24.4°"},
        {at(1796644607, 8440), "14:17 UTC+2:20:40, высота 24.4°"},
        {at(1796644607, 46800), "2026-12-08 00:57 UTC+13, высота 24.4°"},
        {std::nullopt, "сегодня не будет"}};
    for (const auto& [sun, text] : rows) {
        EXPECT_EQ(SunTimeText(sun, {2026, 12, 7}), text);
    }
}

// A beam's verdict by its loss, an axial shift in words, the focus advice and the LNB's width a
// collision is measured against.
TEST(PlanText, BeamsVerdictsAndTheFocusAdvice) {
    const auto feed = [](double loss, planning::BeamKind beam = planning::BeamKind::Clean) {
        planning::FeedPlan plan;
        plan.loss_db = loss;
        plan.beam = beam;
        return plan;
    };
    const planning::Plan plan = PlanOf(Example());
    const planning::PlanWarning advice{
        planning::WarningKind::BetterFocus, 2, std::nullopt, {}, 1.23, 2.46};
    const planning::PlanWarning collision{planning::WarningKind::Collision, 2, 1, {}, 75};
    const std::pair<std::string, std::string> rows[] = {
        {VerdictText(feed(0.42)), "почти как конвертор 1"},
        {VerdictText(feed(1.0)), "почти как конвертор 1"},
        {VerdictText(feed(2.21)), "слабее на 2.2 дБ"},
        {VerdictText(feed(4)), "слабее на 4.0 дБ, только для сильного спутника с запасом"},
        {VerdictText(feed(2, planning::BeamKind::Degraded)),
         "не на этой антенне: нужна вторая антенна"},
        {AxialText(12.1), "на 12 мм ближе к зеркалу"},
        {AxialText(-8), "на 8 мм дальше от зеркала"},
        {AxialText(0.3), ""},
        {CardFeedText(plan.feeds.at(1), plan), "19.2° в.д. Astra"},
        {WarningText(advice, plan),
         "Лучше навести антенну на 19.2° в.д.: худший конвертор −1.2 дБ вместо −2.5 дБ."},
    };
    for (const auto& [shown, expected] : rows) {
        EXPECT_EQ(shown, expected);
    }
    EXPECT_NE(WarningText(collision, plan).find("конвертора 1, меньше 75 мм:"), std::string::npos);
}

// Qt sets the process locale from LANG at start-up: under a locale whose decimal separator is a
// comma the texts still carry points.
TEST(PlanText, PointsUnderACommaLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr)
        << "the locale ru_RU.UTF-8 is missing: `make deps` generates it";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");  // the locale does use a comma
    planning::PlanInput input = Example({13, 19.2, 16});
    input.diameter_mm = 1000;
    const planning::Plan plan = PlanOf(input);
    std::string all = PlanText(input, plan, planning::SunTimes(input, plan, {}));
    for (const std::string& line : ReportLines(input, plan)) {
        all += line + "\n";
    }
    for (const ReportRow& row : FeedTable(plan)) {
        for (const std::string& cell : row.cells) {
            all += cell + "\n";
        }
    }
    std::setlocale(LC_ALL, "C");
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t comma = all.find(','); comma != std::string::npos;
         comma = all.find(',', comma + 1)) {
        EXPECT_FALSE(comma > 0 && digit(all[comma - 1]) && digit(all[comma + 1]))
            << "a decimal comma in: " << all;
    }
    EXPECT_NE(all.find("217.4°"), std::string::npos) << all;
    EXPECT_NE(all.find("фокусное расстояние 600.0 мм, диаметр 1000 мм, f/D 0.60"),
              std::string::npos)
        << all;
}

}  // namespace
}  // namespace tarvex
