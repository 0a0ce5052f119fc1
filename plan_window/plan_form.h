#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main_window/calculation_command.h"
#include "planning/plan.h"

// The plan window's inputs as texts: how they are read into a plan's input, field by field, and
// how the main window's fields fill them. Free of Qt.

namespace tarvex {

enum class PlanField {
    SiteLongitude,
    SiteLatitude,
    Satellite1,
    Satellite2,
    Satellite3,
    Satellite4,
    FocalLength,
    Diameter,
    Date
};
inline constexpr std::size_t PlanFieldCount = 9;

// The texts of the form (UTF-8), indexed by PlanField.
using PlanFormTexts = std::array<std::string, PlanFieldCount>;

struct PlanFieldError {
    PlanField field;
    std::string message;  // short, Russian, shown under the field
};

// Either the input of a plan or what is wrong with each field that cannot be read (never both).
struct PlanFormReading {
    std::optional<planning::PlanInput> input;
    std::vector<PlanFieldError> errors;  // in the order of PlanField
};

// Reads every field. Blanks around a text are ignored and a decimal comma counts as a point.
// Angles, lengths and dates as planning/typed_input.h reads them ("35.4615", "35:27.69", "-4:30",
// "55°45′21″ с.ш.", "+600", "07.12.2026"); the site, satellites 1 and 2, the focal length and
// the date are required ("Заполните поле" where one is empty); satellites 3 and 4 and the
// diameter may stay empty, but satellite 4 only with satellite 3.
//   {"35:27.69", "32:48.5", "13", "19.2", "", "", "600", "", "2026-12-07"}
//     -> input {35.4615, 32.80833.., {13, 19.2}, 600, no diameter, 2026-12-07}
//   focal "0" -> error at FocalLength;  latitude "95" -> error at SiteLatitude;
//   satellite 1 "" -> error at Satellite1;  date "2026-02-30" -> error at Date
PlanFormReading ReadPlanForm(const PlanFormTexts& texts);

// A main-window angle (degrees text plus minutes text, each read as the main window reads it,
// the minutes not taking the sign of the degrees) as degrees:minutes, or as whole degrees when
// there are no minutes left over; empty where both are empty (nobody typed a value).
//   ("35", "27.69") -> "35:27.69";  ("13", "") -> "13";  ("-4", "30") -> "-3:30";
//   ("19", "72") -> "20:12";  ("abc", "") -> "0";  ("", " ") -> ""
std::string MainWindowAngleText(std::string_view degrees, std::string_view minutes);

// `texts` for a new job: the site, satellites 1 and 2 and the focal length taken from the main
// window's fields (Text1 to Text6, Text9, Text10, Text13), empty where those are empty;
// satellites 3 and 4 and the diameter cleared; the date kept.
//   default site, Text5 "13", Text9 "19", Text10 "12", Text13 "600"
//     -> {"35:27.69", "32:48.5", "13", "19:12", "", "", "600", "", date}
PlanFormTexts FillFromMainWindow(PlanFormTexts texts, const CalculationView& main_window);

// Where a feed's centre lies from feed 1's, seen from behind the dish.
struct FeedPosition {
    double right_mm = 0;
    double up_mm = 0;
};

// Feed 2 where the main window puts it (its own model, of azimuth and elevation differences),
// for the plan's site, satellites 1 and 2 and focal length; none where that model has no answer
// (no elevation, arithmetic faults).
//   default example, 13 E -> 19.2 E, F 600 -> {94.36.., -33.26..}
std::optional<FeedPosition> MainWindowFeed2(const planning::PlanInput& input);

}  // namespace tarvex
