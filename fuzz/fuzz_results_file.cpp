// The results-file reader on arbitrary bytes: it returns two fields or throws RuntimeError, and
// agrees with a plain, character-by-character reading of the file format. A line the writer makes
// always reads back as the numbers it holds.
//
// Input: the whole content of the file.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "direction/results_file.h"
#include "fuzz/require.h"

namespace {

// The format read the slow way: one character at a time, as a small state machine.
struct ModelReading {
    bool past_end = false;
    std::string first;
    std::string second;
};

ModelReading ReadModel(std::string_view content) {
    enum class State { BeforeField, Plain, Quoted, AfterQuote };
    ModelReading reading;
    std::string* field = &reading.first;
    int fields_done = 0;
    bool after_line_end = false;
    State state = State::BeforeField;
    std::size_t i = 0;
    auto end_field = [&](char delimiter) {
        ++fields_done;
        field = &reading.second;
        state = State::BeforeField;
        after_line_end = delimiter != ',';
        if (delimiter == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
            ++i;
        }
    };
    for (; i < content.size() && fields_done < 2; ++i) {
        const char c = content[i];
        const bool delimiter = c == ',' || c == '\r' || c == '\n';
        switch (state) {
            case State::BeforeField:
                if (c == ' ') {
                    continue;
                }
                after_line_end = false;
                if (c == '"') {
                    state = State::Quoted;
                } else if (delimiter) {
                    end_field(c);  // an empty field
                } else {
                    field->push_back(c);
                    state = State::Plain;
                }
                break;
            case State::Plain:
            case State::AfterQuote:
                if (delimiter) {
                    end_field(c);
                } else if (state == State::Plain) {
                    field->push_back(c);
                }
                break;
            case State::Quoted:
                if (c == '"') {
                    state = State::AfterQuote;
                } else {
                    field->push_back(c);
                }
                break;
        }
    }
    // The second field must have begun: after a comma it exists even when the content ends
    // there; after a line end only if something other than blanks follows.
    const bool second_begun =
        fields_done == 2 || (fields_done == 1 && (!after_line_end || state != State::BeforeField));
    reading.past_end = !second_begun;
    return reading;
}

double BitsToDouble(std::string_view bytes) {
    double x = 0;
    std::memcpy(&x, bytes.data(), sizeof x);
    return x;
}

// The number as the file holds it: NumberToText without its sign blank.
std::string FileNumber(double x) {
    const std::string text = tarvex::NumberToText(x);
    return text.front() == ' ' ? text.substr(1) : text;
}

// The writer's line for two doubles taken from the input reads back as their texts, one comma
// and CR LF, whatever the digits.
void CheckWrittenLine(double alfa1, std::optional<double> beta1) {
    if (!std::isfinite(alfa1) || (beta1 && !std::isfinite(*beta1))) {
        return;
    }
    const std::string line = tarvex::ResultsLine(alfa1, beta1);
    const std::string second = beta1 ? FileNumber(*beta1) : std::string();
    FUZZ_REQUIRE(line == FileNumber(alfa1) + "," + second + "\r\n");
    const tarvex::ResultsFields fields = tarvex::ParseResultsFields(line, "line");
    FUZZ_REQUIRE(fields.first == FileNumber(alfa1));
    FUZZ_REQUIRE(fields.second == second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const ModelReading model = ReadModel(content);
    try {
        const tarvex::ResultsFields fields = tarvex::ParseResultsFields(content, "RLIN1.TXT");
        FUZZ_REQUIRE(!model.past_end);
        FUZZ_REQUIRE(fields.first == model.first);
        FUZZ_REQUIRE(fields.second == model.second);
        // Whatever the first field holds, it reads as a number or as 0, never worse.
        (void)tarvex::ParseLeadingNumber(fields.first);
    } catch (const tarvex::RuntimeError& error) {
        FUZZ_REQUIRE(model.past_end);
        FUZZ_REQUIRE(std::strcmp(error.what(), "Input past end of file: RLIN1.TXT") == 0);
    }

    if (size >= 2 * sizeof(double)) {
        CheckWrittenLine(BitsToDouble(content), BitsToDouble(content.substr(sizeof(double))));
        CheckWrittenLine(BitsToDouble(content), std::nullopt);
    }
    return 0;
}
