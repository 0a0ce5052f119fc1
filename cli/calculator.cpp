#include "cli/calculator.h"

#include <algorithm>
#include <string_view>

#include "cli/json_line.h"
#include "conversions/runtime_error.h"
#include "conversions/text.h"

namespace tarvex {

const std::array<InputField, InputCount> InputFields = {{
    {"--site-lon-deg", "site_lon_deg", FieldId::Text1, "35",
     "Site longitude, degrees, east positive (default 35).\nExample: --site-lon-deg 35"},
    {"--site-lon-min", "site_lon_min", FieldId::Text2, "27.69",
     "Site longitude, minutes, added as typed: 4 deg 30' west\nis -4 and -30 (default 27.69).\n"
     "Example: --site-lon-min 27.69"},
    {"--site-lat-deg", "site_lat_deg", FieldId::Text3, "32",
     "Site latitude, degrees, north positive (default 32).\nExample: --site-lat-deg 32"},
    {"--site-lat-min", "site_lat_min", FieldId::Text4, "48.5",
     "Site latitude, minutes (default 48.5).\nExample: --site-lat-min 48.5"},
    {"--sat1-deg", "sat1_deg", FieldId::Text5, "",
     "Satellite already received: longitude, degrees, east\npositive; required.\n"
     "Example: --sat1-deg 13"},
    {"--sat1-min", "sat1_min", FieldId::Text6, "",
     "Satellite already received: longitude, minutes\n(default empty, read as 0).\n"
     "Example: --sat1-min 30"},
    {"--sat2-deg", "sat2_deg", FieldId::Text9, "",
     "Satellite to be added: longitude, degrees, east\npositive; required.\n"
     "Example: --sat2-deg 19"},
    {"--sat2-min", "sat2_min", FieldId::Text10, "",
     "Satellite to be added: longitude, minutes\n(default empty, read as 0).\n"
     "Example: --sat2-min 12"},
    {"--focal", "focal", FieldId::Text13, "",
     "Focal length of the dish, millimetres; required.\nExample: --focal 600"},
}};

namespace {

// A result field with its JSON key and the caption the window shows beside it.
struct ResultField {
    FieldId field;
    std::string_view key;
    const char* caption;
};

// In the order of the JSON object.
constexpr ResultField ResultFields[] = {
    {FieldId::Text8, "azimuth1", "    1) ALFA-азимут"},
    {FieldId::Text7, "elevation1", "1)  BETA-угол  места"},
    {FieldId::Text12, "azimuth2", "     2)  ALFA-азимут"},
    {FieldId::Text11, "elevation2", "2)  BETA-угол места"},
    {FieldId::Text16, "rotation", " УГОЛ ПОВОРОТА"},
    {FieldId::Text14, "vertical_offset", "СДВИГ УГЛА ВОЗВЫШЕНИЯ"},
    {FieldId::Text15, "horizontal_offset", "РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ "},
};

// The same fields as the window lays them out: left to right, top to bottom.
constexpr FieldId WindowOrder[] = {FieldId::Text7,  FieldId::Text8,  FieldId::Text11,
                                   FieldId::Text12, FieldId::Text14, FieldId::Text16,
                                   FieldId::Text15};

const ResultField& ResultFieldOf(FieldId field) {
    return *std::find_if(std::begin(ResultFields), std::end(ResultFields),
                         [field](const ResultField& result) { return result.field == field; });
}

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
                   [](const InputField& input) { return std::string(input.default_text); });
    return inputs;
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
    JsonLine json;
    for (const ResultField& result : ResultFields) {
        if (outcome.view.WasWritten(result.field)) {
            json.Add(result.key, outcome.view.Text(result.field));
        }
    }
    if (outcome.view.Message()) {
        json.Add("message", *outcome.view.Message());
    }
    if (outcome.ending == Ending::Error) {
        json.Add("error", outcome.error);
    }
    if (outcome.view.ResultsLine()) {
        json.Add("results_line", *outcome.view.ResultsLine());
    }
    return std::move(json).Finish();
}

std::string OutcomeText(const CalculationOutcome& outcome) {
    if (outcome.view.Message()) {
        return *outcome.view.Message() + "\n";
    }
    std::size_t width = 0;
    for (const ResultField& result : ResultFields) {
        width = std::max(width, TextLength(CollapseBlanks(result.caption)) + 1);
    }
    std::string text;
    for (FieldId field : WindowOrder) {
        if (outcome.view.WasWritten(field)) {
            const std::string label = CollapseBlanks(ResultFieldOf(field).caption) + ":";
            text += label + std::string(width + 1 - TextLength(label), ' ');
            text += outcome.view.Text(field) + "\n";
        }
    }
    return text;
}

}  // namespace tarvex
