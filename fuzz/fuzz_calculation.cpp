// START of the main window on arbitrary field texts. Every run ends in a validation message, in
// results, or in a RuntimeError; any other exception, a crash or undefined behaviour is a fault.
// Whatever the texts, the command writes only result fields, in their fixed order, never clears
// one, hands the file exactly the numbers the fields show, and a second START on the same texts
// does exactly what the first did.
//
// Input: the texts of the sixteen fields in the order of FieldId (Text1 to Text16), one per line
// ("\n"); missing lines are empty fields.
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
#include "tests/support/calculation_recorder.h"

namespace {

using tarvex::FieldId;

using tarvex::CalculationEffect;
using tarvex::FieldCount;
using Kind = CalculationEffect::Kind;

constexpr FieldId WriteOrder[] = {
    FieldId::Azimuth1,         FieldId::Rotation,   FieldId::Azimuth2,  FieldId::VerticalOffset,
    FieldId::HorizontalOffset, FieldId::Elevation1, FieldId::Elevation2};

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
    auto empty = [&texts](FieldId field) { return texts[static_cast<std::size_t>(field)].empty(); };
    if (empty(FieldId::Satellite1Degrees)) {
        return tarvex::NoSatellite1Message;
    }
    if (empty(FieldId::Satellite2Degrees)) {
        return tarvex::NoSatellite2Message;
    }
    if (empty(FieldId::FocalLength)) {
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

void CheckResults(const std::vector<CalculationEffect>& effects) {
    std::array<std::optional<std::string>, FieldCount> written;
    std::size_t order = 0;
    for (const CalculationEffect& effect : effects) {
        FUZZ_REQUIRE(effect.kind != Kind::Message);
        if (effect.kind == Kind::File) {
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

    if (const auto alfa1 = text_of(FieldId::Azimuth1)) {
        const double value = RenderedNumber(*alfa1, true);
        FUZZ_REQUIRE(value >= 0 && value <= 360);
    }
    if (const auto beta1 = text_of(FieldId::Elevation1)) {
        FUZZ_REQUIRE(std::fabs(RenderedNumber(*beta1, true)) <= 90);
    }
    if (const auto alfa2 = text_of(FieldId::Azimuth2)) {
        const double value = RenderedNumber(*alfa2, false);
        FUZZ_REQUIRE(value >= 0 && value <= 360.0001);
    }
    if (const auto beta2 = text_of(FieldId::Elevation2)) {
        FUZZ_REQUIRE(std::fabs(RenderedNumber(*beta2, false)) <= 90.0001);
    }
    if (const auto rotation = text_of(FieldId::Rotation)) {
        CheckRotation(*rotation);
    }
    if (const auto vertical = text_of(FieldId::VerticalOffset)) {
        CheckOffset(*vertical, "ВЫШЕ", "НИЖЕ");
    }
    if (const auto horizontal = text_of(FieldId::HorizontalOffset)) {
        CheckOffset(*horizontal, "СПРАВА", "СЛЕВА");
    }
    if (effects.empty() || effects.back().kind != Kind::File) {
        return;  // a run-time error: the file keeps its previous line
    }
    // A run that ends has written every result field, and the file holds the numbers of the
    // fields, without their sign blank.
    for (FieldId field : WriteOrder) {
        FUZZ_REQUIRE(text_of(field).has_value());
    }
    const tarvex::ResultsFields file = tarvex::ParseResultsFields(effects.back().text, "RLIN1.TXT");
    FUZZ_REQUIRE(file.first == WithoutSignBlank(*text_of(FieldId::Azimuth1)));
    FUZZ_REQUIRE(file.second == WithoutSignBlank(*text_of(FieldId::Elevation1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::array<std::string, FieldCount> texts =
        SplitFields(std::string_view(reinterpret_cast<const char*>(data), size));
    tarvex::CalculationRecorder window;
    for (const tarvex::FieldSpec& field : tarvex::Fields) {
        window.TypeFieldText(field.id, texts[static_cast<std::size_t>(field.id)]);
    }
    tarvex::CalculationCommand command;

    bool failed = false;
    try {
        command.Run(window);
    } catch (const tarvex::RuntimeError&) {
        failed = true;
    }

    if (const char* message = ExpectedMessage(texts)) {
        FUZZ_REQUIRE(!failed);
        FUZZ_REQUIRE(window.Effects() == std::vector{tarvex::Showed(message)});
        return 0;
    }
    const std::vector<CalculationEffect> first_run = window.TakeEffects();
    CheckResults(first_run);
    FUZZ_REQUIRE(failed != (!first_run.empty() && first_run.back().kind == Kind::File));

    // The same texts again: the values the command keeps between runs change nothing.
    bool failed_again = false;
    try {
        command.Run(window);
    } catch (const tarvex::RuntimeError&) {
        failed_again = true;
    }
    FUZZ_REQUIRE(failed_again == failed);
    FUZZ_REQUIRE(window.TakeEffects() == first_run);
    return 0;
}
