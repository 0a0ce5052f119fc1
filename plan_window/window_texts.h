#pragma once

#include <string>

// Texts of the plan window and the card that the plan's text layer will own: each comes through
// one function here, so that the text layer's own function can take its place.

namespace tarvex {

// Under the results: what the main window's figures are and what the plan's are.
std::string PlanExplanation();

// The magnetic declination with its sense (east positive).
//   4.61 -> "Магнитное склонение 4.6° (восточное)";  -0.01 -> "Магнитное склонение 0.0°"
std::string DeclinationText(double declination_deg);

}  // namespace tarvex
