// The batch mode's hand-written JSON paths against nlohmann-json, line for line. Where the fast
// reader answers a line, nlohmann's parser must give the same inputs or the same reason; where
// the writer escapes a UTF-8 text, nlohmann must write the same string.
//
// Input: batch lines ("\n" between them).
#include <algorithm>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/batch.h"
#include "conversions/text.h"
#include "fuzz/require.h"
#include "plan_io/json_writer.h"

namespace {

using tarvex::CalculationInputs;
using tarvex::Quoted;
using Answer = std::variant<CalculationInputs, std::string>;
using Json = nlohmann::ordered_json;

std::optional<std::size_t> InputIndexOfKey(std::string_view key) {
    const auto& inputs = tarvex::InputFields;
    const auto found = std::find_if(inputs.begin(), inputs.end(), [key](const auto& input) {
        return tarvex::SpecOf(input.field).key == key;
    });
    if (found == inputs.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - inputs.begin());
}

// What a batch line means, read by nlohmann's parser into a document. The document keeps one
// value of a repeated key, so the top level's keys are taken in order as the parser meets them;
// a document would hide a non-string value repeated as a string, which the lines the fast reader
// answers never hold.
Answer ReferenceAnswer(std::string_view line, const CalculationInputs& defaults) {
    std::vector<std::string> keys;
    const Json json = Json::parse(
        line.begin(), line.end(),
        [&keys](int depth, Json::parse_event_t event, Json& parsed) {
            if (depth == 1 && event == Json::parse_event_t::key) {
                keys.push_back(parsed.get<std::string>());
            }
            return true;
        },
        false);
    if (json.is_discarded()) {
        return std::string("not valid JSON");
    }
    if (!json.is_object()) {
        return std::string("not a JSON object");
    }
    CalculationInputs inputs = defaults;
    std::vector<bool> given(inputs.size());
    for (const std::string& key : keys) {
        const std::optional<std::size_t> index = InputIndexOfKey(key);
        if (!index) {
            return "unknown key " + Quoted(key);
        }
        if (given[*index]) {
            return "the key " + Quoted(key) + " is given twice";
        }
        given[*index] = true;
        const Json& value = json.at(key);
        if (!value.is_string()) {
            return "the value of " + Quoted(key) + " is not a string";
        }
        inputs[*index] = value.get<std::string>();
    }
    return inputs;
}

void CheckReader(std::string_view line) {
    const CalculationInputs defaults = tarvex::DefaultInputs();
    if (const std::optional<Answer> plain = tarvex::ParsePlainBatchLine(line, defaults)) {
        FUZZ_REQUIRE(*plain == ReferenceAnswer(line, defaults));
        FUZZ_REQUIRE(*plain == tarvex::ParseBatchLine(line, defaults));
    }
}

void CheckWriter(std::string_view text) {
    std::string expected;
    try {
        expected = Json(text).dump();
    } catch (const Json::type_error&) {
        return;  // not UTF-8: nlohmann refuses it, the writer passes the bytes through
    }
    FUZZ_REQUIRE(Quoted(text) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        CheckReader(input.substr(0, end));
        CheckWriter(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    return 0;
}
