// START of the main window on arbitrary field texts. Every run ends in a validation message, in
// results, or in a RuntimeError; any other exception, a crash or undefined behaviour is a fault.
// Whatever the texts, the command writes only result fields, in their fixed order, never clears
// one, hands the file exactly the numbers the fields show, and a second START on the same texts
// does exactly what the first did.
//
// Input: the texts of Text1 to Text16, one per line ("\n"); missing lines are empty fields.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "direction/results_file.h"
#include "fuzz/require.h"
#include "main_window/calculation_command.h"

namespace {

using tarvex::FieldId;

constexpr std::size_t FieldCount = 16;
constexpr FieldId WriteOrder[] = {FieldId::Text8,  FieldId::Text16, FieldId::Text12,
                                  FieldId::Text14, FieldId::Text15, FieldId::Text7,
                                  FieldId::Text11};

struct Effect {
    enum class Kind { Field, Message, File } kind = Kind::Field;
    FieldId field = FieldId::Text1;
    std::string text;  // the field's new text, the message, or the file's line
    bool operator==(const Effect&) const = default;
};

class FakeWindow : public tarvex::CalculationView {
  public:
    explicit FakeWindow(std::array<std::string, FieldCount> texts) : m_texts(std::move(texts)) {}

    std::string FieldText(FieldId field) const override { return m_texts[Index(field)]; }
    void SetFieldText(FieldId field, const std::string& text) override {
        m_texts[Index(field)] = text;
        effects.push_back({Effect::Kind::Field, field, text});
    }
    void ShowMessage(const std::string& message) override {
        effects.push_back({Effect::Kind::Message, FieldId::Text1, message});
    }
    void WriteResultsFile(double alfa1, std::optional<double> beta1) override {
        effects.push_back({Effect::Kind::File, FieldId::Text1, tarvex::ResultsLine(alfa1, beta1)});
    }

    std::vector<Effect> effects;

  private:
    static std::size_t Index(FieldId field) { return static_cast<std::size_t>(field) - 1; }
    std::array<std::string, FieldCount> m_texts;
};

std::array<std::string, FieldCount> SplitFields(std::string_view input) {
    std::array<std::string, FieldCount> texts;
    for (std::size_t i = 0; i < FieldCount && !input.empty(); ++i) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        texts[i] = std::string(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    return texts;
}

const char* ExpectedMessage(const std::array<std::string, FieldCount>& texts) {
    if (texts[4].empty()) {
        return tarvex::NoSatellite1Message;
    }
    if (texts[8].empty()) {
        return tarvex::NoSatellite2Message;
    }
    if (texts[12].empty()) {
        return tarvex::NoFocalLengthMessage;
    }
    return nullptr;
}

std::string WithoutSignBlank(const std::string& text) {
    return text.front() == ' ' ? text.substr(1) : text;
}

// A number as NumberToText renders it: it reads back as a whole and renders the same again
// (doubles; a single's seven digits need not survive a double's fifteen).
double RenderedNumber(const std::string& text, bool is_double) {
    const double value = tarvex::ParseNumberStrict(text);
    FUZZ_REQUIRE(text.front() == ' ' || text.front() == '-');
    FUZZ_REQUIRE(!is_double || tarvex::NumberToText(value) == text);
    return value;
}

// " + 23.5", " - 4", " 0": a sign or none, then the angle, one decimal at most, 0 to 90.
void CheckRotation(const std::string& text) {
    std::string angle = text;
    if (text.rfind(" +", 0) == 0 || text.rfind(" -", 0) == 0) {
        angle = text.substr(2);
    }
    const double value = RenderedNumber(angle, true);
    FUZZ_REQUIRE(value >= 0 && value <= 90);
    FUZZ_REQUIRE(std::fabs(value * 10 - std::nearbyint(value * 10)) < 1e-9 * (1 + value));
}

// " 33.2649мм-->НИЖЕ": at most eight characters of a rendered distance, the unit, the word.
void CheckOffset(const std::string& text, const char* word1, const char* word2) {
    for (const char* word : {word1, word2}) {
        const std::string tail = std::string("мм-->") + word;
        if (text.size() > tail.size() && text.ends_with(tail)) {
            const std::string distance = text.substr(0, text.size() - tail.size());
            FUZZ_REQUIRE(distance.size() <= 8);
            FUZZ_REQUIRE(distance.find_first_of("0123456789") != std::string::npos);
            return;
        }
    }
    FUZZ_REQUIRE(false);
}

void CheckResults(const std::vector<Effect>& effects) {
    std::array<std::optional<std::string>, FieldCount + 1> written;
    std::size_t order = 0;
    for (const Effect& effect : effects) {
        FUZZ_REQUIRE(effect.kind != Effect::Kind::Message);
        if (effect.kind == Effect::Kind::File) {
            FUZZ_REQUIRE(&effect == &effects.back());
            continue;
        }
        // Result fields only, each at most once, in the fixed order, never cleared.
        while (order < std::size(WriteOrder) && WriteOrder[order] != effect.field) {
            ++order;
        }
        FUZZ_REQUIRE(order < std::size(WriteOrder));
        ++order;
        FUZZ_REQUIRE(!effect.text.empty());
        written[static_cast<std::size_t>(effect.field)] = effect.text;
    }
    auto text_of = [&](FieldId field) { return written[static_cast<std::size_t>(field)]; };

    if (const auto alfa1 = text_of(FieldId::Text8)) {
        const double value = RenderedNumber(*alfa1, true);
        FUZZ_REQUIRE(value >= 0 && value <= 360);
    }
    if (const auto beta1 = text_of(FieldId::Text7)) {
        FUZZ_REQUIRE(std::fabs(RenderedNumber(*beta1, true)) <= 90);
    }
    if (const auto alfa2 = text_of(FieldId::Text12)) {
        const double value = RenderedNumber(*alfa2, false);
        FUZZ_REQUIRE(value >= 0 && value <= 360.0001);
    }
    if (const auto beta2 = text_of(FieldId::Text11)) {
        FUZZ_REQUIRE(std::fabs(RenderedNumber(*beta2, false)) <= 90.0001);
    }
    if (const auto rotation = text_of(FieldId::Text16)) {
        CheckRotation(*rotation);
    }
    if (const auto vertical = text_of(FieldId::Text14)) {
        CheckOffset(*vertical, "ВЫШЕ", "НИЖЕ");
    }
    if (const auto horizontal = text_of(FieldId::Text15)) {
        CheckOffset(*horizontal, "СПРАВА", "СЛЕВА");
    }
    if (effects.empty() || effects.back().kind != Effect::Kind::File) {
        return;  // a run-time error: the file keeps its previous line
    }
    // A run that ends has written every result field, and the file holds the numbers of the
    // fields, without their sign blank.
    for (FieldId field : WriteOrder) {
        FUZZ_REQUIRE(text_of(field).has_value());
    }
    const tarvex::ResultsFields file = tarvex::ParseResultsFields(effects.back().text, "RLIN1.TXT");
    FUZZ_REQUIRE(file.first == WithoutSignBlank(*text_of(FieldId::Text8)));
    FUZZ_REQUIRE(file.second == WithoutSignBlank(*text_of(FieldId::Text7)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::array<std::string, FieldCount> texts =
        SplitFields(std::string_view(reinterpret_cast<const char*>(data), size));
    FakeWindow window(texts);
    tarvex::CalculationCommand command;

    bool failed = false;
    try {
        command.Run(window);
    } catch (const tarvex::RuntimeError&) {
        failed = true;
    }

    if (const char* message = ExpectedMessage(texts)) {
        FUZZ_REQUIRE(!failed);
        const std::vector<Effect> only_the_message{
            {Effect::Kind::Message, FieldId::Text1, message}};
        FUZZ_REQUIRE(window.effects == only_the_message);
        return 0;
    }
    CheckResults(window.effects);
    FUZZ_REQUIRE(failed !=
                 (!window.effects.empty() && window.effects.back().kind == Effect::Kind::File));

    // The same texts again: the values the command keeps between runs change nothing.
    const std::vector<Effect> first_run = window.effects;
    window.effects.clear();
    bool failed_again = false;
    try {
        command.Run(window);
    } catch (const tarvex::RuntimeError&) {
        failed_again = true;
    }
    FUZZ_REQUIRE(failed_again == failed);
    FUZZ_REQUIRE(window.effects == first_run);
    return 0;
}
