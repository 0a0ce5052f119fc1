#include "cli/calculator.h"

#include <algorithm>
#include <string_view>

#include "conversions/runtime_error.h"
#include "conversions/text.h"
#include "plan_io/json_writer.h"

namespace tarvex {

const std::array<InputField, InputCount> InputFields = {{
    {FieldId::SiteLongitudeDegrees, "Site longitude, degrees, east positive"},
    {FieldId::SiteLongitudeMinutes,
     "Site longitude, minutes, added as typed: 4 deg 30' west\nis -4 and -30"},
    {FieldId::SiteLatitudeDegrees, "Site latitude, degrees, north positive"},
    {FieldId::SiteLatitudeMinutes, "Site latitude, minutes"},
    {FieldId::Satellite1Degrees,
     "Satellite already received: longitude, degrees, east\npositive; required.\n"
     "Example: --sat1-deg 13"},
    {FieldId::Satellite1Minutes,
     "Satellite already received: longitude, minutes\n(default empty, read as 0).\n"
     "Example: --sat1-min 30"},
    {FieldId::Satellite2Degrees,
     "Satellite to be added: longitude, degrees, east\npositive; required.\n"
     "Example: --sat2-deg 19"},
    {FieldId::Satellite2Minutes,
     "Satellite to be added: longitude, minutes\n(default empty, read as 0).\n"
     "Example: --sat2-min 12"},
    {FieldId::FocalLength,
     "Focal length of the dish, millimetres; required.\nExample: --focal 600"},
}};

namespace {

// The result fields in the order of the JSON object.
constexpr FieldId JsonOrder[] = {
    FieldId::Azimuth1, FieldId::Elevation1,     FieldId::Azimuth2,        FieldId::Elevation2,
    FieldId::Rotation, FieldId::VerticalOffset, FieldId::HorizontalOffset};

// The same fields as the window lays them out: left to right, top to bottom.
constexpr FieldId WindowOrder[] = {
    FieldId::Elevation1,     FieldId::Azimuth1, FieldId::Elevation2,      FieldId::Azimuth2,
    FieldId::VerticalOffset, FieldId::Rotation, FieldId::HorizontalOffset};

// The captions rely on runs of blanks to wrap in the window; on one line they read better with
// single blanks.  "1)  BETA-угол  места" -> "1) BETA-угол места"
std::string CollapseBlanks(std::string_view caption) {
    std::string collapsed;
    for (char c : caption) {
        if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) {
            collapsed += c;
        }
    }
    if (!collapsed.empty() && collapsed.back() == ' ') {
        collapsed.pop_back();
    }
    return collapsed;
}

}  // namespace

CalculationInputs DefaultInputs() {
    CalculationInputs inputs;
    std::transform(InputFields.begin(), InputFields.end(), inputs.begin(),
                   [](const InputField& input) { return SpecOf(input.field).default_text; });
    return inputs;
}

std::string InputHelp(const InputField& input) {
    const FieldSpec& field = SpecOf(input.field);
    if (*field.default_text == '\0') {
        return input.help;
    }
    return std::string(input.help) + " (default " + field.default_text +
           ").\nExample: " + field.option + ' ' + field.default_text;
}

CalculationOutcome Calculate(const CalculationInputs& inputs) {
    CalculationOutcome outcome;
    for (std::size_t i = 0; i < InputCount; ++i) {
        outcome.view.TypeFieldText(InputFields[i].field, inputs[i]);
    }
    try {
        CalculationCommand().Run(outcome.view);
        outcome.ending = outcome.view.Message() ? Ending::Message : Ending::Completed;
    } catch (const RuntimeError& error) {
        outcome.ending = Ending::Error;
        outcome.error = error.what();
    }
    return outcome;
}

int ExitStatusOf(const CalculationOutcome& outcome) {
    switch (outcome.ending) {
        case Ending::Completed:
            return 0;
        case Ending::Message:
            return 1;
        case Ending::Error:
            break;
    }
    return 2;
}

std::string OutcomeJson(const CalculationOutcome& outcome) {
    JsonWriter json;
    json.BeginObject();
    for (FieldId field : JsonOrder) {
        if (outcome.view.WasWritten(field)) {
            json.Member(SpecOf(field).key, outcome.view.Text(field));
        }
    }
    if (outcome.view.Message()) {
        json.Member("message", *outcome.view.Message());
    }
    if (outcome.ending == Ending::Error) {
        json.Member("error", outcome.error);
    }
    if (outcome.view.ResultsLine()) {
        json.Member("results_line", *outcome.view.ResultsLine());
    }
    json.EndObject();
    return std::move(json).Finish();
}

std::string OutcomeText(const CalculationOutcome& outcome) {
    if (outcome.view.Message()) {
        return *outcome.view.Message() + "\n";
    }
    std::size_t width = 0;
    for (FieldId field : WindowOrder) {
        width = std::max(width, TextLength(CollapseBlanks(SpecOf(field).caption)) + 1);
    }
    std::string text;
    for (FieldId field : WindowOrder) {
        if (outcome.view.WasWritten(field)) {
            const std::string label = CollapseBlanks(SpecOf(field).caption) + ":";
            text += label + std::string(width + 1 - TextLength(label), ' ');
            text += outcome.view.Text(field) + "\n";
        }
    }
    return text;
}

}  // namespace tarvex
