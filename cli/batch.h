#pragma once

#include <cstdio>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "cli/calculator.h"

// Batch mode: JSON Lines in, JSON Lines out, one output line per input line, in order.

namespace tarvex {

// Reads one input line: a JSON object whose keys are InputFields' keys with string values; an
// absent key keeps its text from `defaults`. Anything else gives the reason it was rejected.
//   {"sat1_deg": "13", "focal": "600"} -> inputs
//   {"focal": 600}                     -> "the value of \"focal\" is not a string"
//   {"x": "1"}                         -> "unknown key \"x\""
//   [1]                                -> "not a JSON object"
std::variant<CalculationInputs, std::string> ParseBatchLine(std::string_view line,
                                                            const CalculationInputs& defaults);

// ParseBatchLine's answer for a line in the form tools write, read without a general JSON parser
// (several times faster): a flat object whose keys and values are strings of printable ASCII
// without escapes. None for any other line, valid JSON or not.
//   {"focal": "600"} -> inputs;  {"focal": "6\u0030"} -> none;  {"focal": 600} -> none
std::optional<std::variant<CalculationInputs, std::string>> ParsePlainBatchLine(
    std::string_view line, const CalculationInputs& defaults);

// The output line (without its line end) for input line number `line_number` (from 1).
// Second: false when the line was rejected.
std::pair<std::string, bool> BatchOutputLine(std::string_view line, long line_number,
                                             const CalculationInputs& defaults);

// The answer to one input line numbered from 1: the output line without its line end, and false
// when the line was rejected.
using LineAnswer =
    std::function<std::pair<std::string, bool>(std::string_view line, long line_number)>;

// Answers every line of `input` in order, one output line each, for every batch mode; true when
// no line was rejected.
bool RunLines(std::istream& input, std::FILE* output, const LineAnswer& answer);

// The calculation's batch: RunLines with BatchOutputLine.
bool RunBatch(std::istream& input, std::FILE* output, const CalculationInputs& defaults);

}  // namespace tarvex
