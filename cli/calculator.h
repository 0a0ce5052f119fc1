#pragma once

#include <array>
#include <string>
#include <string_view>

#include "cli/recording_view.h"

// One calculation as the first START in a freshly opened main window, and its outcome rendered
// for the command line.

namespace tarvex {

// An input field of the main window as the command line and the batch lines take it; its option,
// key and default text are those of its row in Fields.
struct InputField {
    FieldId field;     // FieldId::Satellite1Degrees
    const char* help;  // the option's help without its default: "Site latitude, minutes"
};

inline constexpr std::size_t InputCount = 9;
extern const std::array<InputField, InputCount> InputFields;

// The nine input texts, in the order of InputFields, exactly as typed.
using CalculationInputs = std::array<std::string, InputCount>;

CalculationInputs DefaultInputs();

// The option's help, with the default text and an example where the field has a default.
//   SiteLatitudeMinutes -> "Site latitude, minutes (default 48.5).\nExample: --site-lat-min 48.5"
std::string InputHelp(const InputField& input);

enum class Ending {
    Completed,  // the command ran to one of its ends, early stops included
    Message,    // a validation message stopped it
    Error,      // a run-time error stopped it
};

struct CalculationOutcome {
    RecordingView view;
    Ending ending = Ending::Completed;
    std::string error;  // the run-time error's text
};

// Runs the calculation command on a fresh window holding the inputs; never throws RuntimeError.
CalculationOutcome Calculate(const CalculationInputs& inputs);

// 0 completed, 1 stopped by a validation message, 2 stopped by a run-time error.
int ExitStatusOf(const CalculationOutcome& outcome);

// One compact JSON object without a line end. Keys, each only when it applies: "azimuth1",
// "elevation1", "azimuth2", "elevation2", "rotation", "vertical_offset", "horizontal_offset"
// (the texts the command wrote), "message", "error", "results_line".
std::string OutcomeJson(const CalculationOutcome& outcome);

// The window's result labels with the texts the command wrote, one a line, or the validation
// message; the run-time error is not part of it.
//   "1) BETA-угол места:          44.8168471212995\n" ...
std::string OutcomeText(const CalculationOutcome& outcome);

}  // namespace tarvex
