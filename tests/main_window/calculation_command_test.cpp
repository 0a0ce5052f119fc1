#include "main_window/calculation_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "conversions/runtime_error.h"
#include "direction/results_file.h"

namespace tarvex {
namespace {

constexpr FieldId OutputFields[] = {FieldId::Text7,  FieldId::Text8,  FieldId::Text11,
                                    FieldId::Text12, FieldId::Text14, FieldId::Text15,
                                    FieldId::Text16};

// A main window without a screen: field texts, and every effect of the command in order.
class FakeWindow : public CalculationView {
  public:
    FakeWindow() {
        m_texts[FieldId::Text1] = "35";
        m_texts[FieldId::Text2] = "27.69";
        m_texts[FieldId::Text3] = "32";
        m_texts[FieldId::Text4] = "48.5";
    }

    std::string FieldText(FieldId field) const override {
        ++m_reads[field];
        const auto found = m_texts.find(field);
        return found == m_texts.end() ? std::string() : found->second;
    }
    void SetFieldText(FieldId field, const std::string& text) override {
        m_texts[field] = text;
        m_effects.push_back("Text" + std::to_string(static_cast<int>(field)) + "=" + text);
        if (on_write) {
            on_write(field);
        }
    }
    void ShowMessage(const std::string& message) override {
        m_effects.push_back("message=" + message);
    }
    void WriteResultsFile(double alfa1, std::optional<double> beta1) override {
        m_effects.push_back("file=" + ResultsLine(alfa1, beta1));
    }

    void Type(FieldId field, const std::string& text) { m_texts[field] = text; }
    std::string Text(FieldId field) const { return m_texts.at(field); }
    const std::vector<std::string>& Effects() const { return m_effects; }
    void ClearEffects() { m_effects.clear(); }
    int Reads(FieldId field) const { return m_reads[field]; }

    void FillOutputs(const std::string& text) {
        for (FieldId field : OutputFields) {
            m_texts[field] = text;
        }
    }

    // Sets the two satellites and the focal length.
    void TypeSatellites(const std::string& sat1_deg, const std::string& sat2_deg,
                        const std::string& sat2_min, const std::string& focal) {
        Type(FieldId::Text5, sat1_deg);
        Type(FieldId::Text9, sat2_deg);
        Type(FieldId::Text10, sat2_min);
        Type(FieldId::Text13, focal);
    }

    std::function<void(FieldId)> on_write;

  private:
    std::map<FieldId, std::string> m_texts;
    mutable std::map<FieldId, int> m_reads;
    std::vector<std::string> m_effects;
};

const std::vector<std::string> ExampleEffects = {
    "Text8= 217.344291652777",    "Text16= + 23.5",
    "Text12= 208.2955",           "Text14= 33.2649мм-->НИЖЕ",
    "Text15= 94.3645мм-->СПРАВА", "Text7= 44.8168471212995",
    "Text11= 47.99485",           "file=217.344291652777,44.8168471212995\r\n",
};

void TypeExample(FakeWindow& window) {
    window.TypeSatellites("13", "19", "12", "600");
}

// A latitude so small that sin² underflows: a satellite on the site's meridian has no elevation.
void TypeVanishingLatitude(FakeWindow& window) {
    window.Type(FieldId::Text3, "1e-200");
    window.Type(FieldId::Text4, "");
}

TEST(CalculationCommand, ExampleWritesEveryFieldInOrderThenTheFile) {
    FakeWindow window;
    TypeExample(window);
    CalculationCommand().Run(window);
    EXPECT_EQ(window.Effects(), ExampleEffects);
}

TEST(CalculationCommand, RepeatedRunsGiveTheSameTexts) {
    FakeWindow window;
    TypeExample(window);
    CalculationCommand command;
    command.Run(window);
    window.ClearEffects();
    command.Run(window);
    EXPECT_EQ(window.Effects(), ExampleEffects);
}

TEST(CalculationCommand, EmptyRequiredFieldShowsItsMessageAndChangesNothing) {
    struct Row {
        const char* sat1;
        const char* sat2;
        const char* focal;
        const char* message;
    };
    const Row rows[] = {
        {"", "19", "600", "НЕТ КООРДИНАТ (1) "}, {"", "", "", "НЕТ КООРДИНАТ (1) "},
        {"13", "", "", "НЕТ КООРДИНАТ (2)"},     {"13", "", "600", "НЕТ КООРДИНАТ (2)"},
        {"13", "19", "", "НЕТ ФОКУСА АНТЕНЫ"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.sat1) + "|" + row.sat2 + "|" + row.focal);
        FakeWindow window;
        window.TypeSatellites(row.sat1, row.sat2, "", row.focal);
        window.FillOutputs("old");
        CalculationCommand().Run(window);
        EXPECT_EQ(window.Effects(),
                  std::vector<std::string>{std::string("message=") + row.message});
        for (FieldId field : OutputFields) {
            EXPECT_EQ(window.Text(field), "old");
        }
    }
}

TEST(CalculationCommand, ValidationReadsNoOtherField) {
    FakeWindow window;
    CalculationCommand().Run(window);
    EXPECT_EQ(window.Reads(FieldId::Text9), 0);
    EXPECT_EQ(window.Reads(FieldId::Text13), 0);
    EXPECT_EQ(window.Reads(FieldId::Text1), 0);
}

TEST(CalculationCommand, BlankRequiredFieldsPassValidationAndReadAsZero) {
    FakeWindow window;
    window.TypeSatellites(" ", " ", "", " ");
    CalculationCommand().Run(window);
    ASSERT_EQ(window.Effects().size(), 8u);
    EXPECT_EQ(window.Text(FieldId::Text14), " 0мм-->ВЫШЕ");
    EXPECT_EQ(window.Text(FieldId::Text15), " 0мм-->СПРАВА");
}

TEST(CalculationCommand, Satellite1WithoutElevationWritesAzimuthAndShortFileOnly) {
    FakeWindow window;
    TypeVanishingLatitude(window);
    window.TypeSatellites("35", "19", "", "600");
    window.Type(FieldId::Text6, "27.69");
    window.FillOutputs("old");
    CalculationCommand().Run(window);
    EXPECT_EQ(window.Effects(), (std::vector<std::string>{"Text8= 180", "file=180,\r\n"}));
    EXPECT_EQ(window.Text(FieldId::Text16), "old");
}

TEST(CalculationCommand, Satellite2WithoutElevationKeepsOffsetsAndShowsTheLastBeta2) {
    FakeWindow window;
    CalculationCommand command;
    const std::vector<std::string> no_elevation_effects = {
        "Text8= 270", "Text16= 0", "Text12= 180", "Text11= 0", "file=270,63.7056425183434\r\n"};

    // Before any elevation of satellite 2 was computed, BETA2 is 0.
    TypeVanishingLatitude(window);
    window.TypeSatellites("13", "35", "27.69", "600");
    window.FillOutputs("old");
    command.Run(window);
    EXPECT_EQ(window.Effects(), no_elevation_effects);
    EXPECT_EQ(window.Text(FieldId::Text7), "old");
    EXPECT_EQ(window.Text(FieldId::Text14), "old");
    EXPECT_EQ(window.Text(FieldId::Text15), "old");

    // An ordinary run in between leaves its BETA2 for the next run without elevation.
    FakeWindow example;
    TypeExample(example);
    command.Run(example);
    window.ClearEffects();
    command.Run(window);
    ASSERT_EQ(window.Effects().size(), 5u);
    EXPECT_EQ(window.Effects()[3], "Text11= 47.99485");
}

TEST(CalculationCommand, RunTimeErrorStopsAtItsStepKeepingEarlierWrites) {
    struct Row {
        const char* name;
        FieldId field;
        const char* text;
        std::size_t writes_before;
    };
    const Row rows[] = {
        {"site longitude", FieldId::Text1, "1e308", 0},
        {"satellite 1", FieldId::Text5, "1e308", 0},
        {"satellite 2", FieldId::Text9, "1e308", 1},
        {"focal length", FieldId::Text13, "1e999", 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeWindow window;
        TypeExample(window);
        window.Type(row.field, row.text);
        window.FillOutputs("old");
        EXPECT_THROW(CalculationCommand().Run(window), RuntimeError);
        const std::vector<std::string> expected(ExampleEffects.begin(),
                                                ExampleEffects.begin() + row.writes_before);
        EXPECT_EQ(window.Effects(), expected);
        EXPECT_EQ(window.Text(FieldId::Text7), "old");
        EXPECT_EQ(window.Text(FieldId::Text11), "old");
    }
}

TEST(CalculationCommand, RotationBelowATwentiethOfADegreeShowsZeroWithItsSign) {
    struct Row {
        const char* sat2_min;
        const char* text16;
    };
    const Row rows[] = {
        {"27.69", " 0"},  // on the site's meridian: no sign
        {"27", " + 0"},   // 0.69' west of the site: 0.018 degrees
        {"28", " - 0"},   // 0.31' east of the site
        {"20", " + .2"},  // large enough for the pattern
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sat2_min);
        FakeWindow window;
        window.TypeSatellites("13", "35", row.sat2_min, "600");
        CalculationCommand().Run(window);
        EXPECT_EQ(window.Text(FieldId::Text16), row.text16);
        EXPECT_EQ(window.Effects().size(), 8u);
    }
}

TEST(CalculationCommand, RotationUsesTheSiteTextsOfTheFirstPass) {
    // The site longitude changes between the two passes: satellite 2's azimuth follows the new
    // value, the rotation keeps the texts taken for satellite 1.
    FakeWindow window;
    TypeExample(window);
    window.on_write = [&window](FieldId field) {
        if (field == FieldId::Text8) {
            window.Type(FieldId::Text1, "19");
            window.Type(FieldId::Text2, "12");
        }
    };
    CalculationCommand().Run(window);
    EXPECT_EQ(window.Text(FieldId::Text16), " + 23.5");
    EXPECT_EQ(window.Text(FieldId::Text12), " 180");
}

}  // namespace
}  // namespace tarvex
