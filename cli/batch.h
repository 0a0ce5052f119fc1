#pragma once

#include <cstdio>
#include <functional>
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
//   {"focal": "6", "focal": "600"}     -> "the key \"focal\" is given twice"
//   {"focal": 1e400}                   -> "the value of \"focal\" is not a string"
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

// Longer lines are answered {"error":"line N: longer than 1 MiB"} without being held in memory.
inline constexpr std::size_t MaxLineBytes = std::size_t{1} << 20;

enum class BatchEnd {
    AllAccepted,
    SomeRejected,
    ReadFailed,   // the input could not be read to its end; `error` says why
    WriteFailed,  // an answer could not be written; the run stopped there
};

struct BatchResult {
    BatchEnd end = BatchEnd::AllAccepted;
    int error = 0;  // errno of the failed read or write
};

// Answers every line of the file descriptor `input` in order, one output line each, for every
// batch mode. A line holding a NUL byte or longer than MaxLineBytes is rejected without asking
// `answer`; every answer is written before the next read would have to wait for input.
//   "{}\n[1]\n" -> two answers, SomeRejected;  "" -> no answer, AllAccepted
//   "a\0b\n" -> {"error":"line 1: holds a NUL byte"};  a folder as input -> ReadFailed (EISDIR)
//   output to a full disk -> WriteFailed (ENOSPC) at the first answer, the input left unread
BatchResult RunLines(int input, std::FILE* output, const LineAnswer& answer);

// The calculation's batch: RunLines with BatchOutputLine.
BatchResult RunBatch(int input, std::FILE* output, const CalculationInputs& defaults);

}  // namespace tarvex
