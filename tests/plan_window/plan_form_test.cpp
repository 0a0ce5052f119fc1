#include <gtest/gtest.h>

#include <clocale>
#include <map>

#include "plan_window/plan_form.h"
#include "plan_window/plan_report.h"

namespace tarvex {
namespace {

// The main window's fields, the worked example's by default.
class FakeMainWindow : public CalculationView {
  public:
    std::string FieldText(FieldId field) const override {
        const auto found = texts.find(field);
        return found == texts.end() ? "" : found->second;
    }
    void SetFieldText(FieldId, const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    void WriteResultsFile(double, double) override {}

    std::map<FieldId, std::string> texts = {
        {FieldId::SiteLongitudeDegrees, "35"}, {FieldId::SiteLongitudeMinutes, "27.69"},
        {FieldId::SiteLatitudeDegrees, "32"},  {FieldId::SiteLatitudeMinutes, "48.5"},
        {FieldId::Satellite1Degrees, "13"},    {FieldId::Satellite2Degrees, "19"},
        {FieldId::Satellite2Minutes, "12"},    {FieldId::FocalLength, "600"}};
};

// As the main window reads them: the minutes do not take the sign of the degrees, and a text that
// is not a number counts as 0.
TEST(MainWindowAngleText, DegreesAndMinutesAsTheMainWindowReadsThem) {
    const struct {
        const char* degrees;
        const char* minutes;
        const char* expected;
    } rows[] = {{"35", "27.69", "35:27.69"},
                {"13", "", "13"},
                {"-4", "30", "-3:30"},
                {"-4", "-30", "-4:30"},
                {"19", "72", "20:12"},
                {"13.5", "", "13:30"},
                {"abc", "", "0"},
                {"0", "-30", "-0:30"},
                {"1", "59.9999999", "2"},
                {"", " ", ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.degrees) + " " + row.minutes);
        EXPECT_EQ(MainWindowAngleText(row.degrees, row.minutes), row.expected);
    }
}

// A new job: the main window's inputs, nothing of the last job's extra satellites or dish, the
// date kept.
TEST(FillFromMainWindow, StartsANewJobFromTheMainWindowsInputs) {
    PlanFormTexts texts;
    texts[static_cast<std::size_t>(PlanField::Satellite3)] = "36";
    texts[static_cast<std::size_t>(PlanField::Satellite4)] = "4.9";
    texts[static_cast<std::size_t>(PlanField::Diameter)] = "900";
    texts[static_cast<std::size_t>(PlanField::Date)] = "2026-12-07";
    const PlanFormTexts filled = FillFromMainWindow(texts, FakeMainWindow());
    EXPECT_EQ(filled, (PlanFormTexts{"35:27.69", "32:48.5", "13", "19:12", "", "", "600", "",
                                     "2026-12-07"}));
    const PlanFormReading reading = ReadPlanForm(filled);
    ASSERT_TRUE(reading.input) << reading.errors.front().message;
    EXPECT_NEAR(reading.input->site_longitude_deg, 35.4615, 1e-12);
    EXPECT_EQ(reading.input->satellites_deg, (std::vector<double>{13, 19.2}));
}

// Nothing is planned from a value nobody typed: empty main-window fields arrive empty and are
// marked.
TEST(FillFromMainWindow, EmptyFieldsArriveEmpty) {
    FakeMainWindow main_window;
    main_window.texts.erase(FieldId::Satellite2Degrees);
    main_window.texts.erase(FieldId::Satellite2Minutes);
    main_window.texts[FieldId::FocalLength] = " ";
    PlanFormTexts texts;
    texts[static_cast<std::size_t>(PlanField::Date)] = "2026-12-07";
    const PlanFormTexts filled = FillFromMainWindow(texts, main_window);
    EXPECT_EQ(filled[static_cast<std::size_t>(PlanField::Satellite2)], "");
    EXPECT_EQ(filled[static_cast<std::size_t>(PlanField::FocalLength)], "");
    const PlanFormReading reading = ReadPlanForm(filled);
    EXPECT_FALSE(reading.input);
    ASSERT_EQ(reading.errors.size(), 2u);
    for (const PlanFieldError& error : reading.errors) {
        EXPECT_EQ(error.message, "Заполните поле");
    }
    EXPECT_EQ(reading.errors[0].field, PlanField::Satellite2);
    EXPECT_EQ(reading.errors[1].field, PlanField::FocalLength);
}

// The same reader as the command line, with a decimal comma and blanks around.
TEST(ReadPlanForm, TypedFormsAlikeWithTheCommandLine) {
    const PlanFormReading reading = ReadPlanForm(
        {" 35°27′41,4″ в.д.", "32,80833 с.ш.", "13", "19,2", "", "", "+600", "", "07.12.2026"});
    ASSERT_TRUE(reading.input) << reading.errors.front().message;
    EXPECT_NEAR(reading.input->site_longitude_deg, 35.4615, 1e-12);
    EXPECT_NEAR(reading.input->site_latitude_deg, 32.80833, 1e-12);
    EXPECT_EQ(reading.input->satellites_deg, (std::vector<double>{13, 19.2}));
    EXPECT_EQ(reading.input->focal_length_mm, 600);
    EXPECT_EQ(reading.input->date, (planning::Date{2026, 12, 7}));
    const PlanFormReading east_latitude =
        ReadPlanForm({"35", "32 в.д.", "13", "19", "", "", "600", "", "2026-12-07"});
    ASSERT_EQ(east_latitude.errors.size(), 1u);
    EXPECT_EQ(east_latitude.errors[0].field, PlanField::SiteLatitude);
}

// Lengths read as tarvex-calc reads --focal and --diameter.
TEST(ReadPlanForm, ReadsLengthsAsTheCommandLineDoes) {
    const std::pair<const char*, double> rows[] = {{"+600", 600}, {"6e2", 600}, {" 600,5 ", 600.5}};
    for (const auto& [text, length] : rows) {
        SCOPED_TRACE(text);
        PlanFormTexts texts = {"35", "32", "13", "19", "", "", text, text, "2026-12-07"};
        const PlanFormReading reading = ReadPlanForm(texts);
        ASSERT_TRUE(reading.input) << reading.errors.front().message;
        EXPECT_EQ(reading.input->focal_length_mm, length);
        EXPECT_EQ(reading.input->diameter_mm, length);
    }
}

// The hollow marker is the main window's answer: the example's 94.3646 mm right and 33.2649 mm
// down, and the mirror image for the satellites swapped.
TEST(MainWindowFeed2, IsWhereTheMainWindowPutsFeed2) {
    planning::PlanInput input{35.4615,      32 + 48.5 / 60, {13, 19.2}, 600,
                              std::nullopt, {2026, 12, 7},  {}};
    std::optional<FeedPosition> feed2 = MainWindowFeed2(input);
    ASSERT_TRUE(feed2);
    EXPECT_NEAR(feed2->right_mm, 94.3646, 1e-4);
    EXPECT_NEAR(feed2->up_mm, -33.2649, 1e-4);
    input.satellites_deg = {19.2, 13};
    feed2 = MainWindowFeed2(input);
    ASSERT_TRUE(feed2);
    EXPECT_LT(feed2->right_mm, -90);
    EXPECT_GT(feed2->up_mm, 30);
}

// The form reads and writes the same under a locale whose decimal separator is a comma.
TEST(ReadPlanForm, TheSameUnderACommaLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr)
        << "the locale ru_RU.UTF-8 is missing: `make deps` generates it";
    const PlanFormReading reading =
        ReadPlanForm({"35.4615", "32,80833", "13", "19:12", "", "", "600.5", "", "2026-12-07"});
    const std::string angle = MainWindowAngleText("35", "27.69");
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(reading.input);
    EXPECT_EQ(reading.input->site_longitude_deg, 35.4615);
    EXPECT_EQ(reading.input->site_latitude_deg, 32.80833);
    EXPECT_EQ(reading.input->focal_length_mm, 600.5);
    EXPECT_EQ(angle, "35:27.69");
}

TEST(PlanReport, WordsFollowTheSign) {
    EXPECT_EQ(RotationText(12.34), "12.3° по часовой");
    EXPECT_EQ(RotationText(-0.5), "0.5° против часовой");
    EXPECT_EQ(RotationText(-0.04), "0.0°");
    EXPECT_EQ(OffsetText(64.21, -37.06), "64.2 мм вправо, 37.1 мм вниз");
    EXPECT_EQ(OffsetText(-3, 0.02), "3.0 мм влево, 0.0 мм");
    EXPECT_EQ(SatelliteText(-4.5), "4.5° з.д.");
}

// The window runs in the user's locale (Qt sets it from LANG): a decimal comma there must not
// reach the figures.
TEST(PlanReport, PointWhateverTheLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) {
        GTEST_SKIP() << "no ru_RU.UTF-8 locale here";
    }
    const std::string offset = OffsetText(64.21, -37.06);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(offset, "64.2 мм вправо, 37.1 мм вниз");
}

TEST(FeedLayoutBounds, FramesEveryCircleInWholeTens) {
    planning::Plan plan;
    plan.feeds.resize(2);
    plan.feeds[1].right_mm = 64;
    plan.feeds[1].up_mm = -37;
    const LayoutBounds boxed = FeedLayoutBounds(plan, std::nullopt, false);
    EXPECT_EQ((std::vector{boxed.left, boxed.right, boxed.bottom, boxed.top}),
              (std::vector<double>{-30, 90, -70, 30}));
    const LayoutBounds centred = FeedLayoutBounds(plan, FeedPosition{94.4, -33.3}, true);
    EXPECT_EQ((std::vector{centred.left, centred.right, centred.bottom, centred.top}),
              (std::vector<double>{-120, 120, -120, 120}));
}

}  // namespace
}  // namespace tarvex
