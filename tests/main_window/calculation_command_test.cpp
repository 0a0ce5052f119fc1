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

// A latitude so small that sin² underflows: a satellite on the site's meridian has no elevation.
void TypeVanishingLatitude(CalculationRecorder& window) {
    window.TypeFieldText(FieldId::SiteLatitudeDegrees, "1e-200");
    window.TypeFieldText(FieldId::SiteLatitudeMinutes, "");
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

TEST(CalculationCommand, Satellite1WithoutElevationWritesAzimuthAndShortFileOnly) {
    CalculationRecorder window = Window("35", "19", "", "600");
    TypeVanishingLatitude(window);
    window.TypeFieldText(FieldId::Satellite1Minutes, "27.69");
    FillOutputs(window, "old");
    CalculationCommand().Run(window);
    EXPECT_EQ(window.TakeEffects(), (Effects{Wrote(FieldId::Azimuth1, " 180"), Filed("180,\r\n")}));
    EXPECT_EQ(window.Text(FieldId::Rotation), "old");
}

TEST(CalculationCommand, Satellite2WithoutElevationKeepsOffsetsAndShowsTheLastBeta2) {
    CalculationRecorder window = Window("13", "35", "27.69", "600");
    CalculationCommand command;
    const Effects no_elevation_effects = {
        Wrote(FieldId::Azimuth1, " 270"), Wrote(FieldId::Rotation, " 0"),
        Wrote(FieldId::Azimuth2, " 180"), Wrote(FieldId::Elevation2, " 0"),
        Filed("270,63.7056425183434\r\n")};

    // Before any elevation of satellite 2 was computed, BETA2 is 0.
    TypeVanishingLatitude(window);
    FillOutputs(window, "old");
    command.Run(window);
    EXPECT_EQ(window.TakeEffects(), no_elevation_effects);
    EXPECT_EQ(window.Text(FieldId::Elevation1), "old");
    EXPECT_EQ(window.Text(FieldId::VerticalOffset), "old");
    EXPECT_EQ(window.Text(FieldId::HorizontalOffset), "old");

    // An ordinary run in between leaves its BETA2 for the next run without elevation.
    CalculationRecorder example = Example();
    command.Run(example);
    command.Run(window);
    const Effects effects = window.TakeEffects();
    ASSERT_EQ(effects.size(), 5u);
    EXPECT_EQ(effects[3], Wrote(FieldId::Elevation2, " 47.99485"));
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
