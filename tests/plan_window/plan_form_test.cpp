#include <gtest/gtest.h>

#include <clocale>
#include <map>

#include "names/satellites.h"
#include "plan_window/job_file.h"
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
    PlanFormTexts sized = filled;
    sized[static_cast<std::size_t>(PlanField::Diameter)] = "900";
    const PlanFormReading reading = ReadPlanForm(sized);
    ASSERT_TRUE(reading.input) << reading.errors.front().problem.key;
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
    ASSERT_EQ(reading.errors.size(), 3u);
    for (const PlanFieldError& error : reading.errors) {
        EXPECT_EQ(error.problem.kind, planning::InputProblemKind::Missing);
    }
    EXPECT_EQ(reading.errors[0].field, PlanField::Satellite2);
    EXPECT_EQ(reading.errors[1].field, PlanField::FocalLength);
    EXPECT_EQ(reading.errors[2].field, PlanField::Diameter);  // the dish's size is needed
}

// The same reader as the command line, with a decimal comma and blanks around.
TEST(ReadPlanForm, TypedFormsAlikeWithTheCommandLine) {
    const PlanFormReading reading = ReadPlanForm(
        {" 35°27′41,4″ в.д.", "32,80833 с.ш.", "13", "19,2", "", "", "+600", "1000", "07.12.2026"});
    ASSERT_TRUE(reading.input) << reading.errors.front().problem.key;
    EXPECT_NEAR(reading.input->site_longitude_deg, 35.4615, 1e-12);
    EXPECT_NEAR(reading.input->site_latitude_deg, 32.80833, 1e-12);
    EXPECT_EQ(reading.input->satellites_deg, (std::vector<double>{13, 19.2}));
    EXPECT_EQ(reading.input->focal_length_mm, 600);
    EXPECT_EQ(reading.input->date, (planning::Date{2026, 12, 7}));
    const PlanFormReading east_latitude =
        ReadPlanForm({"35", "32 в.д.", "13", "19", "", "", "600", "1000", "2026-12-07"});
    ASSERT_EQ(east_latitude.errors.size(), 1u);
    EXPECT_EQ(east_latitude.errors[0].field, PlanField::SiteLatitude);
}

// Each way of measuring reads its own fields only, the dish's size required; the others stay
// unread whatever they hold.
TEST(ReadPlanForm, ReadsTheChosenWayOfMeasuringTheDish) {
    using planning::DishType;
    const PlanFormTexts all = {"35:27.69",   "32:48.5", "13",  "19.2", "",    "",    "600", "1000",
                               "2026-12-07", "79",      "800", "883",  "560", "460", "834"};
    const struct {
        DishWayIndex way;
        std::vector<PlanField> cleared;  // emptied before reading
        DishType type;
        std::vector<std::optional<double>> read;  // F, D, depth, W, H, L, r1, r2
        std::vector<PlanField> errors;
    } rows[] = {
        {0, {}, DishType::PrimeFocus, {600, 1000, {}, {}, {}, {}, {}, {}}, {}},
        {1, {}, DishType::PrimeFocus, {{}, 1000, 79, {}, {}, {}, {}, {}}, {}},
        {2, {}, DishType::Offset, {{}, {}, {}, 800, 883, 560, {}, {}}, {}},
        {3, {}, DishType::Offset, {{}, {}, 79, 800, 883, {}, {}, {}}, {}},
        {4, {PlanField::Height}, DishType::Offset, {{}, {}, {}, 800, {}, {}, 460, 834}, {}},
        {0, {PlanField::Diameter}, DishType::PrimeFocus, {}, {PlanField::Diameter}},
        {3,
         {PlanField::Width, PlanField::Depth},
         DishType::Offset,
         {},
         {PlanField::Depth, PlanField::Width}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.way);
        PlanFormTexts texts = all;
        for (const PlanField field : row.cleared) {
            texts[static_cast<std::size_t>(field)].clear();
        }
        const PlanFormReading reading = ReadPlanForm(texts, row.way);
        std::vector<PlanField> errors;
        for (const PlanFieldError& error : reading.errors) {
            errors.push_back(error.field);
            EXPECT_EQ(error.problem.kind, planning::InputProblemKind::Missing);
        }
        EXPECT_EQ(errors, row.errors);
        if (!row.errors.empty()) {
            EXPECT_FALSE(reading.input);
            continue;
        }
        ASSERT_TRUE(reading.input);
        const planning::PlanInput& input = *reading.input;
        EXPECT_EQ(input.dish.type, row.type);
        EXPECT_EQ((std::vector<std::optional<double>>{
                      input.focal_length_mm, input.diameter_mm, input.dish.depth_mm,
                      input.dish.width_mm, input.dish.height_mm, input.dish.feed_distance_mm,
                      input.dish.rim_low_mm, input.dish.rim_high_mm}),
                  row.read);
        EXPECT_TRUE(std::holds_alternative<planning::Plan>(planning::MakePlan(input)));
    }
}

// The main window's F is a prime-focus dish's: an offset dish keeps its own measurements.
TEST(FillFromMainWindow, FillsTheFocalLengthOfAPrimeFocusDishOnly) {
    const PlanFormTexts texts = {"",    "",     "",           "",   "",    "",
                                 "450", "1000", "2026-12-07", "79", "800", "883"};
    const PlanFormTexts prime = FillFromMainWindow(texts, FakeMainWindow(), 0);
    EXPECT_EQ(prime[static_cast<std::size_t>(PlanField::FocalLength)], "600");
    EXPECT_EQ(prime[static_cast<std::size_t>(PlanField::Diameter)], "");
    const PlanFormTexts offset = FillFromMainWindow(texts, FakeMainWindow(), 3);
    EXPECT_EQ(offset[static_cast<std::size_t>(PlanField::SiteLongitude)], "35:27.69");
    for (const PlanField field : {PlanField::FocalLength, PlanField::Diameter, PlanField::Depth,
                                  PlanField::Width, PlanField::Height}) {
        EXPECT_EQ(offset[static_cast<std::size_t>(field)], texts[static_cast<std::size_t>(field)]);
    }
}

// A satellite as typed, by name or as the list writes it; a name of several positions is refused
// with them.
TEST(ReadSatelliteText, ReadsLongitudesNamesAndTheListsEntries) {
    const std::pair<const char*, double> rows[] = {
        {"19,2", 19.2}, {"amu", 36.1}, {"36.1° в.д. — Express AMU1", 36.1}, {" -5 ", -5}};
    for (const auto& [text, longitude] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ReadSatelliteText(text).longitude_deg, longitude);
    }
    const names::SatellitePosition eutelsat5 = names::FindSatellites("5.0w").front();
    EXPECT_EQ(ReadSatelliteText(names::SatelliteEntry(eutelsat5)).longitude_deg, -5);
    const SatelliteReading astra = ReadSatelliteText("Astra");
    EXPECT_FALSE(astra.longitude_deg);
    ASSERT_TRUE(astra.problem);
    EXPECT_EQ(astra.problem->kind, planning::InputProblemKind::SatelliteAmbiguous);
}

// Coordinates pasted from a map fill both fields; one typed a key at a time is a longitude.
TEST(PastedSite, FillsLongitudeAndLatitudeFromOnePaste) {
    const std::optional<SiteTexts> site = PastedSite("", "55.7558, 37.6173");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->longitude, "37.6173");
    EXPECT_EQ(site->latitude, "55.7558");
    EXPECT_FALSE(PastedSite("35 ", "35 2"));
    EXPECT_FALSE(PastedSite("", "35:27.69"));
}

// The saved page opens with the window's inputs: the query in a script ahead of the page's own.
TEST(PhonePage, CarriesTheFormsInputsAsDefaults) {
    PlanFormTexts texts = {"35:27.69",   "32:48.5", "13",  "36.1° в.д. — Express AMU1",
                           "",           "",        "",    "",
                           "07.12.2026", "79",      "800", "883"};
    const std::string query = PhonePageQuery(texts, 3);
    EXPECT_EQ(query,
              "lon=35%3A27.69&lat=32%3A48.5&sats=13%2C36.1&depth_mm=79&width_mm=800&"
              "height_mm=883&date=2026-12-07&dish=offset");
    const std::string page =
        PageWithDefaults("<html><head><script>page()</script></head><body></body></html>", query);
    const std::size_t defaults = page.find("\"" + query + "\"");
    ASSERT_NE(defaults, std::string::npos) << page;
    EXPECT_LT(defaults, page.find("page()"));
    EXPECT_LT(page.find("<head>"), defaults);
}

// Each field's problem as data: the field, what is wrong, the input's key and element, the text.
TEST(ReadPlanForm, NamesEachProblemsInputAndText) {
    using Kind = planning::InputProblemKind;
    const struct {
        PlanField field;
        const char* text;
        Kind kind;
        const char* key;
        int element;
    } rows[] = {
        {PlanField::SiteLongitude, "east", Kind::NotOfItsKind, "lon", 0},
        {PlanField::SiteLatitude, "32 в.д.", Kind::TextRefused, "lat", 0},
        {PlanField::SiteLatitude, "95", Kind::Refused, "lat", 0},
        {PlanField::Satellite2, "", Kind::Missing, "sats", 2},
        {PlanField::Satellite2, "Astra", Kind::SatelliteAmbiguous, "sats", 2},
        {PlanField::Satellite2, "zzzzqq", Kind::SatelliteUnknown, "sats", 2},
        {PlanField::Satellite4, "9", Kind::SatelliteSkipped, "sats", 4},
        {PlanField::FocalLength, "шестьсот", Kind::NotOfItsKind, "focal_mm", 0},
        {PlanField::Diameter, "-1000", Kind::NotPositive, "diameter_mm", 0},
        {PlanField::Date, "2026-02-30", Kind::NotOfItsKind, "date", 0},
        {PlanField::LnbWidth, "широкий", Kind::NotOfItsKind, "lnb_width_mm", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        PlanFormTexts texts = {"35", "32", "13", "19", "", "", "600", "1000", "2026-12-07"};
        texts[static_cast<std::size_t>(row.field)] = row.text;
        const PlanFormReading reading = ReadPlanForm(texts);
        ASSERT_EQ(reading.errors.size(), 1u);
        const planning::InputProblem& problem = reading.errors[0].problem;
        EXPECT_EQ(reading.errors[0].field, row.field);
        EXPECT_EQ(problem.kind, row.kind);
        EXPECT_EQ(problem.key, row.key);
        EXPECT_EQ(problem.element, row.element);
    }
}

// Lengths read as tarvex-calc reads --focal and --diameter.
TEST(ReadPlanForm, ReadsLengthsAsTheCommandLineDoes) {
    const std::pair<const char*, double> rows[] = {{"+600", 600}, {"6e2", 600}, {" 600,5 ", 600.5}};
    for (const auto& [text, length] : rows) {
        SCOPED_TRACE(text);
        PlanFormTexts texts = {"35", "32", "13", "19", "", "", text, text, "2026-12-07"};
        const PlanFormReading reading = ReadPlanForm(texts);
        ASSERT_TRUE(reading.input) << reading.errors.front().problem.key;
        EXPECT_EQ(reading.input->focal_length_mm, length);
        EXPECT_EQ(reading.input->diameter_mm, length);
    }
}

// The band and the LNB's width: blank for the defaults, a decimal comma too.
TEST(ReadPlanForm, BandAndLnbWidthOrTheirDefaults) {
    PlanFormTexts texts = {"35", "32", "13", "19", "", "", "600", "1000", "2026-12-07"};
    const PlanFormReading defaults = ReadPlanForm(texts);
    ASSERT_TRUE(defaults.input);
    EXPECT_EQ(defaults.input->frequency_ghz, 11.7);
    EXPECT_EQ(defaults.input->lnb_width_mm, 60);
    texts[static_cast<std::size_t>(PlanField::Frequency)] = "12,5";
    texts[static_cast<std::size_t>(PlanField::LnbWidth)] = " 55 ";
    const PlanFormReading typed = ReadPlanForm(texts);
    ASSERT_TRUE(typed.input);
    EXPECT_EQ(typed.input->frequency_ghz, 12.5);
    EXPECT_EQ(typed.input->lnb_width_mm, 55);
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
        ReadPlanForm({"35.4615", "32,80833", "13", "19:12", "", "", "600.5", "1000", "2026-12-07"});
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

// A card's name says whose job it is and stays a name every file system takes; a job's file
// with more satellites than the form has, or measurements of two ways at once, is refused.
TEST(JobFile, CardNamesAndRefusals) {
    planning::PlanInput input;
    input.site_longitude_deg = 35.4615;
    input.site_latitude_deg = 32.808333;
    input.satellites_deg = {13, -5};
    input.date = {2026, 12, 7};
    EXPECT_EQ(CardFileName("Тверия", input), "Тверия 13E 5W 2026-12-07.pdf");
    EXPECT_EQ(CardFileName("a/b:c\n", input), "a_b_c_ 13E 5W 2026-12-07.pdf");
    EXPECT_EQ(CardFileName("", input), "32.808333 35.4615 13E 5W 2026-12-07.pdf");
    const auto refused = [](const char* line) {
        const auto job = ReadJob(line);
        return std::holds_alternative<planning::InputProblem>(job)
                   ? std::get<planning::InputProblem>(job).key
                   : std::string("read");
    };
    EXPECT_EQ(refused(R"({"lon":1,"lat":1,"sats":[1,2,3,4,5],"focal_mm":600})"), "sats");
    EXPECT_EQ(refused(R"({"lon":1,"lat":1,"sats":[1,2],"focal_mm":600,"depth_mm":9})"), "depth_mm");
    EXPECT_EQ(refused(R"({"lon":1,"lat":1,"sats":[1,2],"diameter_mm":900,"depth_mm":90})"), "read");
}

}  // namespace
}  // namespace tarvex
