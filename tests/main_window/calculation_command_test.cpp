#include "main_window/calculation_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
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
    // The window's default site, and the satellites and focal length typed.
    FakeWindow(std::string sat1, std::string sat2, std::string sat2_min, std::string focal)
        : m_texts{{FieldId::Text1, "35"},      {FieldId::Text2, "27.69"}, {FieldId::Text3, "32"},
                  {FieldId::Text4, "48.5"},    {FieldId::Text5, sat1},    {FieldId::Text9, sat2},
                  {FieldId::Text10, sat2_min}, {FieldId::Text13, focal}} {}

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
    // What the command did since the last call.
    std::vector<std::string> Effects() { return std::exchange(m_effects, {}); }
    int Reads(FieldId field) const { return m_reads[field]; }

    void FillOutputs(const std::string& text) {
        for (FieldId field : OutputFields) {
            m_texts[field] = text;
        }
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
    "Text11= 47.99485",           "file=217.344291652777,44.8168471212995\r\n"};

FakeWindow Example() {
    return FakeWindow("13", "19", "12", "600");
}

TEST(CalculationCommand, ExampleWritesEveryFieldInOrderThenTheFileAgainAndAgain) {
    FakeWindow window = Example();
    CalculationCommand command;
    command.Run(window);
    EXPECT_EQ(window.Effects(), ExampleEffects);
    command.Run(window);
    EXPECT_EQ(window.Effects(), ExampleEffects);
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
        FakeWindow window(sat1, sat2, "", focal);
        window.FillOutputs("old");
        CalculationCommand().Run(window);
        EXPECT_EQ(window.Effects(), std::vector<std::string>{std::string("message=") + message});
        for (FieldId field : OutputFields) {
            EXPECT_EQ(window.Text(field), "old");
        }
        EXPECT_EQ(window.Reads(FieldId::Text1) + (*sat1 ? 0 : window.Reads(FieldId::Text9)) +
                      (*sat1 && *sat2 ? 0 : window.Reads(FieldId::Text13)),
                  0);
    }
}

TEST(CalculationCommand, BlankRequiredFieldsPassValidationAndReadAsZero) {
    FakeWindow window(" ", " ", "", " ");
    CalculationCommand().Run(window);
    EXPECT_EQ(window.Effects().size(), 8u);
    EXPECT_EQ(window.Text(FieldId::Text14), " 0мм-->ВЫШЕ");
}

// Seen from the equator, a satellite on the site's meridian stands at the zenith: the elevation
// takes its limit and the command writes every field as for any other site.
TEST(CalculationCommand, SatelliteAtTheZenithOfAnEquatorSiteCompletes) {
    const std::tuple<const char*, const char*, const char*, const char*, std::vector<std::string>>
        rows[] = {
            {"35",
             "27.69",
             "19",
             "",
             {"Text8= 180", "Text16= + 90", "Text12= 270", "Text14= 198.541мм-->ВЫШЕ",
              "Text15= 599.999мм-->СЛЕВА", "Text7= 90", "Text11= 70.67634", "file=180,90\r\n"}},
            {"13",
             "",
             "35",
             "27.69",
             {"Text8= 270", "Text16= 0", "Text12= 180", "Text14= 265.788мм-->НИЖЕ",
              "Text15= 599.999мм-->СПРАВА", "Text7= 63.7056425183434", "Text11= 90",
              "file=270,63.7056425183434\r\n"}}};
    for (const auto& [sat1, sat1_min, sat2, sat2_min, effects] : rows) {
        SCOPED_TRACE(std::string(sat1) + " " + sat2);
        FakeWindow window(sat1, sat2, sat2_min, "600");
        window.Type(FieldId::Text3, "0");
        window.Type(FieldId::Text4, "0");
        window.Type(FieldId::Text6, sat1_min);
        CalculationCommand().Run(window);
        EXPECT_EQ(window.Effects(), effects);
    }
}

TEST(CalculationCommand, RunTimeErrorStopsAtItsStepKeepingEarlierWrites) {
    const std::tuple<FieldId, const char*, std::size_t> rows[] = {{FieldId::Text1, "1e308", 0},
                                                                  {FieldId::Text5, "1e308", 0},
                                                                  {FieldId::Text9, "1e308", 1},
                                                                  {FieldId::Text13, "1e999", 3}};
    for (const auto& [field, text, writes_before] : rows) {
        SCOPED_TRACE(static_cast<int>(field));
        FakeWindow window = Example();
        window.Type(field, text);
        window.FillOutputs("old");
        EXPECT_THROW(CalculationCommand().Run(window), RuntimeError);
        EXPECT_EQ(window.Effects(),
                  std::vector<std::string>(ExampleEffects.begin(),
                                           ExampleEffects.begin() + writes_before));
        EXPECT_EQ(window.Text(FieldId::Text7), "old");
        EXPECT_EQ(window.Text(FieldId::Text11), "old");
    }
}

// On the site's meridian no sign; 0.69' west of it (0.018 degrees) and 0.31' east the sign and
// " 0"; large enough, the pattern.
TEST(CalculationCommand, RotationBelowATwentiethOfADegreeShowsZeroWithItsSign) {
    const std::pair<const char*, const char*> rows[] = {
        {"27.69", " 0"}, {"27", " + 0"}, {"28", " - 0"}, {"20", " + .2"}};
    for (const auto& [sat2_min, text16] : rows) {
        FakeWindow window("13", "35", sat2_min, "600");
        CalculationCommand().Run(window);
        EXPECT_EQ(window.Text(FieldId::Text16), text16) << sat2_min;
        EXPECT_EQ(window.Effects().size(), 8u);
    }
}

TEST(CalculationCommand, RotationUsesTheSiteTextsOfTheFirstPass) {
    // The site longitude changes between the two passes: satellite 2's azimuth follows the new
    // value, the rotation keeps the texts taken for satellite 1.
    FakeWindow window = Example();
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
