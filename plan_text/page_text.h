#pragma once

#include <string>

#include "planning/plan_inputs.h"

// The phone page's words for the plan's inputs: short, for a phone held in one hand. The page
// builds its form from the inputs table with these.

namespace tarvex {

struct PageInputWords {
    std::string label;
    std::string hint;         // a line under the field; "" for none
    std::string offset_hint;  // where an offset dish's differs from a prime-focus one's
    std::string placeholder;  // an example shown in the empty field
};

// FocalLength -> {"Фокус, мм", "По паспорту антенны", "", "600"};  Satellites -> {"Спутники
// (2–4), первый — на который наведена антенна", ...}
PageInputWords PageWordsOf(planning::PlanInputId input);

}  // namespace tarvex
