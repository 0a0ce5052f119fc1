#include "main_window/calculation_command.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "conversions/runtime_error.h"
#include "tests/support/calculation_recorder.h"
#include "tests/support/worked_example.h"

namespace tarvex {
namespace {

using Effects = std::vector<CalculationEffect>;

constexpr FieldId OutputFields[] = {
    FieldId::Elevation1,     FieldId::Azimuth1,         FieldId::Elevation2, FieldId::Azimuth2,
    FieldId::VerticalOffset, FieldId::HorizontalOffset, FieldId::Rotation};

// The window's default site, and the satellites and focal length typed.
CalculationRecorder Window(std::string sat1, std::string sat2, std::string sat2_min,
                           std::string focal) {
    CalculationRecorder window;
    window.TypeFieldText(FieldId::Satellite1Degrees, std::move(sat1));
    window.TypeFieldText(FieldId::Satellite2Degrees, std::move(sat2));
    window.TypeFieldText(FieldId::Satellite2Minutes, std::move(sat2_min));
    window.TypeFieldText(FieldId::FocalLength, std::move(focal));
    return window;
}

CalculationRecorder Example() {
    CalculationRecorder window;
    for (const auto& [field, text] : ExampleTyped) {
        window.TypeFieldText(field, text);
    }
    return window;
}

Effects ExampleEffects() {
    Effects effects;
    for (const auto& [field, text] : ExampleResults) {
        effects.push_back(Wrote(field, text));
    }
    effects.push_back(Filed(std::string(ExampleResultsLine)));
    return effects;
}

void FillOutputs(CalculationRecorder& window, const std::string& text) {
    for (FieldId field : OutputFields) {
        window.TypeFieldText(field, text);
    }
}

TEST(CalculationCommand, ExampleWritesEveryFieldInOrderThenTheFileAgainAndAgain) {
    CalculationRecorder window = Example();
    CalculationCommand command;
    command.Run(window);
    EXPECT_EQ(window.TakeEffects(), ExampleEffects());
    command.Run(window);
    EXPECT_EQ(window.TakeEffects(), ExampleEffects());
}

// Satellite 1, satellite 2, focal length, and the message. Validation reads no field after the
// first empty one, nor the site, and writes nothing.
TEST(CalculationCommand, EmptyRequiredFieldShowsItsMessageAndChangesNothing) {
    const char* const rows[][4] = {{"", "19", "600", "НЕТ КООРДИНАТ (1) "},
                                   {"", "", "", "НЕТ КООРДИНАТ (1) "},
                                   {"13", "", "", "НЕТ КООРДИНАТ (2)"},
                                   {"13", "", "600", "НЕТ КООРДИНАТ (2)"},
                                   {"13", "19", "", "НЕТ ФОКУСА АНТЕНЫ"}};
    for (const auto& [sat1, sat2, focal, message] : rows) {
        SCOPED_TRACE(std::string(sat1) + "|" + sat2 + "|" + focal);
        CalculationRecorder window = Window(sat1, sat2, "", focal);
        FillOutputs(window, "old");
        CalculationCommand().Run(window);
        EXPECT_EQ(window.TakeEffects(), Effects{Showed(message)});
        for (FieldId field : OutputFields) {
            EXPECT_EQ(window.Text(field), "old");
        }
        EXPECT_EQ(window.Reads(FieldId::SiteLongitudeDegrees) +
                      (*sat1 ? 0 : window.Reads(FieldId::Satellite2Degrees)) +
                      (*sat1 && *sat2 ? 0 : window.Reads(FieldId::FocalLength)),
                  0);
    }
}

TEST(CalculationCommand, BlankRequiredFieldsPassValidationAndReadAsZero) {
    CalculationRecorder window = Window(" ", " ", "", " ");
    CalculationCommand().Run(window);
    EXPECT_EQ(window.TakeEffects().size(), 8u);
    EXPECT_EQ(window.Text(FieldId::VerticalOffset), " 0мм-->ВЫШЕ");
}

// Seen from the equator, a satellite on the site's meridian stands at the zenith: the elevation
// takes its limit and the command writes every field as for any other site.
TEST(CalculationCommand, SatelliteAtTheZenithOfAnEquatorSiteCompletes) {
    using F = FieldId;
    const std::tuple<const char*, const char*, const char*, const char*, Effects> rows[] = {
        {"35",
         "27.69",
         "19",
         "",
         {Wrote(F::Azimuth1, " 180"), Wrote(F::Rotation, " + 90"), Wrote(F::Azimuth2, " 270"),
          Wrote(F::VerticalOffset, " 198.541мм-->ВЫШЕ"),
          Wrote(F::HorizontalOffset, " 599.999мм-->СЛЕВА"), Wrote(F::Elevation1, " 90"),
          Wrote(F::Elevation2, " 70.67634"), Filed("180,90\r\n")}},
        {"13",
         "",
         "35",
         "27.69",
         {Wrote(F::Azimuth1, " 270"), Wrote(F::Rotation, " 0"), Wrote(F::Azimuth2, " 180"),
          Wrote(F::VerticalOffset, " 265.788мм-->НИЖЕ"),
          Wrote(F::HorizontalOffset, " 599.999мм-->СПРАВА"),
          Wrote(F::Elevation1, " 63.7056425183434"), Wrote(F::Elevation2, " 90"),
          Filed("270,63.7056425183434\r\n")}}};
    for (const auto& [sat1, sat1_min, sat2, sat2_min, effects] : rows) {
        SCOPED_TRACE(std::string(sat1) + " " + sat2);
        CalculationRecorder window = Window(sat1, sat2, sat2_min, "600");
        window.TypeFieldText(F::SiteLatitudeDegrees, "0");
        window.TypeFieldText(F::SiteLatitudeMinutes, "0");
        window.TypeFieldText(F::Satellite1Minutes, sat1_min);
        CalculationCommand().Run(window);
        EXPECT_EQ(window.TakeEffects(), effects);
    }
}

TEST(CalculationCommand, RunTimeErrorStopsAtItsStepKeepingEarlierWrites) {
    const std::tuple<FieldId, const char*, std::size_t> rows[] = {
        {FieldId::SiteLongitudeDegrees, "1e308", 0},
        {FieldId::Satellite1Degrees, "1e308", 0},
        {FieldId::Satellite2Degrees, "1e308", 1},
        {FieldId::FocalLength, "1e999", 3}};
    for (const auto& [field, text, writes_before] : rows) {
        SCOPED_TRACE(SpecOf(field).design_name);
        CalculationRecorder window = Example();
        window.TypeFieldText(field, text);
        FillOutputs(window, "old");
        EXPECT_THROW(CalculationCommand().Run(window), RuntimeError);
        const Effects all = ExampleEffects();
        EXPECT_EQ(window.TakeEffects(), Effects(all.begin(), all.begin() + writes_before));
        EXPECT_EQ(window.Text(FieldId::Elevation1), "old");
        EXPECT_EQ(window.Text(FieldId::Elevation2), "old");
    }
}

// On the site's meridian no sign; 0.69' west of it (0.018 degrees) and 0.31' east the sign and
// " 0"; large enough, the pattern.
TEST(CalculationCommand, RotationBelowATwentiethOfADegreeShowsZeroWithItsSign) {
    const std::pair<const char*, const char*> rows[] = {
        {"27.69", " 0"}, {"27", " + 0"}, {"28", " - 0"}, {"20", " + .2"}};
    for (const auto& [sat2_min, rotation] : rows) {
        CalculationRecorder window = Window("13", "35", sat2_min, "600");
        CalculationCommand().Run(window);
        EXPECT_EQ(window.Text(FieldId::Rotation), rotation) << sat2_min;
        EXPECT_EQ(window.TakeEffects().size(), 8u);
    }
}

TEST(CalculationCommand, RotationUsesTheSiteTextsOfTheFirstPass) {
    // The site longitude changes between the two passes: satellite 2's azimuth follows the new
    // value, the rotation keeps the texts taken for satellite 1.
    CalculationRecorder window = Example();
    window.SetOnWrite([&window](FieldId field) {
        if (field == FieldId::Azimuth1) {
            window.TypeFieldText(FieldId::SiteLongitudeDegrees, "19");
            window.TypeFieldText(FieldId::SiteLongitudeMinutes, "12");
        }
    });
    CalculationCommand().Run(window);
    EXPECT_EQ(window.Text(FieldId::Rotation), " + 23.5");
    EXPECT_EQ(window.Text(FieldId::Azimuth2), " 180");
}

}  // namespace
}  // namespace tarvex
