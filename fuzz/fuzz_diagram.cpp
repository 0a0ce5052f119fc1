// START of the direction window on arbitrary POZIA texts and results files. Every run draws the
// whole diagram or stops with a RuntimeError; whatever it draws keeps to what a surface accepts
// (arc angles within one turn either way, positive pen widths, coordinates inside 16 bits), and
// the "alfa=" label shows the file's azimuth floored to half a degree.
//
// Input: the first line is the text of POZIA, the rest the bytes of the results file. A "|" in
// the first line splits it: the text before is typed for START, the text after is typed and
// START pressed again while the first run yields.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "direction/diagram.h"
#include "direction/results_file.h"
#include "fuzz/require.h"
#include "tests/support/recording_surface.h"

namespace {

using tarvex::DrawCall;
using tarvex::DrawOp;

bool IsCoordinate(double value) {
    return value >= -32768 && value <= 32767 && value == std::floor(value);
}

void CheckCall(const DrawCall& call) {
    switch (call.op) {
        case DrawOp::Line:
            for (int i = 0; i < 4; ++i) {
                FUZZ_REQUIRE(IsCoordinate(call.args.at(static_cast<std::size_t>(i))));
            }
            break;
        case DrawOp::Circle:
        case DrawOp::Arc:
        case DrawOp::Point:
        case DrawOp::TextPosition:
            FUZZ_REQUIRE(IsCoordinate(call.args.at(0)) && IsCoordinate(call.args.at(1)));
            if (call.op == DrawOp::Arc) {
                constexpr double FullTurn = 2 * std::numbers::pi;
                FUZZ_REQUIRE(std::fabs(call.args.at(3)) <= FullTurn);
                FUZZ_REQUIRE(std::fabs(call.args.at(4)) <= FullTurn);
            }
            break;
        case DrawOp::PenWidth:
            FUZZ_REQUIRE(call.args.at(0) >= 1);
            break;
        default:
            break;
    }
}

// "alfa= 187.5": the azimuth of the file's first field, floored to a multiple of half a degree.
void CheckLabel(const DrawCall& call, const std::string& file_azimuth) {
    FUZZ_REQUIRE(call.op == DrawOp::Print && call.text.rfind("alfa=", 0) == 0);
    const double shown = tarvex::ParseNumberStrict(call.text.substr(5));
    FUZZ_REQUIRE(shown * 2 == std::floor(shown * 2));
    const double read = static_cast<float>(tarvex::ParseLeadingNumber(file_azimuth));
    // Floored, not rounded: never above the value, less than half a degree below it (the
    // subtraction of the whole part is done in single precision, which may lose the fraction
    // of a large number). "At most half a degree below" in doubles: for a tiny negative azimuth
    // the label is -0.5 and read - 0.5 rounds to -0.5 too.
    FUZZ_REQUIRE(shown <= read + std::fabs(read) * 1e-6);
    FUZZ_REQUIRE(shown >= read - 0.5 - std::fabs(read) * 1e-6);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t line_end = input.find('\n');
    const std::string_view first_line = input.substr(0, line_end);
    const std::string_view file =
        line_end == std::string_view::npos ? std::string_view() : input.substr(line_end + 1);
    const std::size_t bar = first_line.find('|');
    const std::string_view pozia = first_line.substr(0, bar);
    const bool pressed_during_yield = bar != std::string_view::npos;
    const std::string_view pozia_again =
        pressed_during_yield ? first_line.substr(bar + 1) : std::string_view();

    int reads = 0;
    std::string file_azimuth;
    tarvex::DiagramCommand command([&] {
        ++reads;
        const tarvex::ResultsFields fields = tarvex::ParseResultsFields(file, "RLIN1.TXT");
        file_azimuth = fields.first;
        return fields;
    });
    tarvex::RecordingSurface surface;
    int yields = 0;
    bool inner_failed = false;
    surface.SetOnYield([&] {
        if (++yields == 1 && pressed_during_yield) {
            try {
                FUZZ_REQUIRE(command.Run(surface, pozia_again));
            } catch (const tarvex::RuntimeError&) {
                inner_failed = true;  // the program ends with the message box
            }
        }
        return true;
    });

    bool done = false;
    try {
        done = command.Run(surface, pozia);
        FUZZ_REQUIRE(done);
    } catch (const tarvex::RuntimeError&) {
    }

    for (const DrawCall& call : surface.Calls()) {
        CheckCall(call);
    }
    // The text typed last is the one kept, once the first run got as far as its yield.
    const bool pressed_again = pressed_during_yield && yields > 0;
    FUZZ_REQUIRE(command.AxisShiftText() == (pressed_again ? pozia_again : pozia));
    if (done && !inner_failed) {
        FUZZ_REQUIRE(yields == (pressed_again ? 2 : 1));
        FUZZ_REQUIRE(reads == yields);
        CheckLabel(surface.Calls().back(), file_azimuth);
    }
    return 0;
}
