#pragma once

#include <string_view>

#include "main_window/calculation_fields.h"

// The worked example: the window's default site, satellite 1 at 13 degrees east, satellite 2 at
// 19 degrees 12 minutes east and a dish of 600 mm focal length, and what START shows for it.

namespace tarvex {

struct FieldText {
    FieldId field;
    const char* text;
};

inline constexpr FieldText ExampleTyped[] = {{FieldId::Satellite1Degrees, "13"},
                                             {FieldId::Satellite2Degrees, "19"},
                                             {FieldId::Satellite2Minutes, "12"},
                                             {FieldId::FocalLength, "600"}};

// What the example has in an input field: its typed text, else the field's default.
constexpr const char* ExampleText(FieldId field) {
    for (const auto& [typed, text] : ExampleTyped) {
        if (typed == field) {
            return text;
        }
    }
    return SpecOf(field).default_text;
}

// In the order START writes them.
inline constexpr FieldText ExampleResults[] = {{FieldId::Azimuth1, " 217.344291652777"},
                                               {FieldId::Rotation, " + 23.5"},
                                               {FieldId::Azimuth2, " 208.2955"},
                                               {FieldId::VerticalOffset, " 33.2649мм-->НИЖЕ"},
                                               {FieldId::HorizontalOffset, " 94.3645мм-->СПРАВА"},
                                               {FieldId::Elevation1, " 44.8168471212995"},
                                               {FieldId::Elevation2, " 47.99485"}};

inline constexpr std::string_view ExampleResultsLine = "217.344291652777,44.8168471212995\r\n";

}  // namespace tarvex
