#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main_window/calculation_command.h"
#include "planning/plan.h"
#include "planning/plan_inputs.h"

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
    Date,
    // The dish's other measurements (planning::DishMeasurements), read for the chosen way only.
    Depth,
    Width,
    Height,
    FeedDistance,
    RimLow,
    RimHigh,
    FOverD,
    // The optics' band and the LNB's width: blank for the defaults.
    Frequency,
    LnbWidth
};
inline constexpr std::size_t PlanFieldCount = 18;

// The field that holds a measurement of the dish, and the measurement a field holds.
//   FocalLength -> PlanField::FocalLength;  RimHigh -> PlanField::RimHigh
//   PlanField::Width -> Width;  PlanField::Satellite1 -> none
PlanField FieldOf(planning::DishMeasure measure);
std::optional<planning::DishMeasure> MeasureOf(PlanField field);

// A way of measuring the dish: an index into planning::DishWays. The first, F typed, is the
// main window's.
using DishWayIndex = std::size_t;

// The fields a way of measuring shows, required ones first: the prime-focus dish's diameter is
// among the required ones, as the window needs the dish's size (no silent beam deviation of 1).
//   0 -> {FocalLength, Diameter} both required;  4 -> {Width, RimLow, RimHigh} and Height optional
struct DishWayFields {
    std::vector<PlanField> required;
    std::vector<PlanField> optional;
};
DishWayFields FieldsOfWay(DishWayIndex way);

// The texts of the form (UTF-8), indexed by PlanField.
using PlanFormTexts = std::array<std::string, PlanFieldCount>;

// In the examples K(X) is input X's batch key, quoted (planning::RowOf(PlanInputId::X).key).
// What is wrong with a field: the problem names the field's input (a satellite's field by its
// element of K(Satellites)); the text layer words it (ProblemInRussian) under the field.
struct PlanFieldError {
    PlanField field;
    planning::InputProblem problem;
};

// Either the input of a plan or what is wrong with each field that cannot be read (never both).
struct PlanFormReading {
    std::optional<planning::PlanInput> input;
    std::vector<PlanFieldError> errors;  // in the order of PlanField
};

// Reads every field of the site, the satellites, the date and the dish's way `way` (the other
// dish fields are not read). Blanks around a text are ignored and a decimal comma counts as a
// point.
// Angles, lengths and dates as planning/typed_input.h reads them ("35.4615", "35:27.69", "-4:30",
// "55°45′21″ с.ш.", "+600", "07.12.2026"); a satellite also by name or as the list writes it
// (names::LookUpSatellite: "amu", "36.1° в.д. — Express AMU1"). The site, satellites 1 and 2,
// the date and the way's required measurements are required ("Заполните поле" where one is
// empty: Missing); satellites 3 and 4 may stay empty, but satellite 4 only with satellite 3
// (SatelliteSkipped). Whether the measurements make a dish is the plan's to say (MakePlan
// refuses, naming the measurement); a latitude beyond the poles is refused as the plan does.
//   {"35:27.69", "32:48.5", "13", "19.2", "", "", "600", "1000", "2026-12-07"}
//     -> input {35.4615, 32.80833.., {13, 19.2}, 600, 1000, 2026-12-07, prime focus}
//   focal "0" -> {FocalLength, NotPositive K(FocalLength)};  latitude "95" -> {SiteLatitude,
//   Refused};
//   satellite 2 "" -> {Satellite2, Missing K(Satellites) element 2};  date "2026-02-30" -> {Date,
//   NotOfItsKind};  diameter "" -> {Diameter, Missing};  way 3, width, height and depth -> an
//   offset dish;  frequency "12,5" -> 12.5;  frequency and LNB width blank -> the defaults;
//   LNB width "x" -> {LnbWidth, NotOfItsKind K(LnbWidth)}
PlanFormReading ReadPlanForm(const PlanFormTexts& texts, DishWayIndex way = 0);

// The field a refused dish's measurements (or its band or LNB width) are wrong at, where the
// refusal names one (planning::RefusedInput).
//   Dish HeightNotAboveWidth -> Height;  Dish NotPositive of RimLow -> RimLow;
//   Frequency -> Frequency;  Dish TwoWaysToFocus, SameSatellite -> none
std::optional<PlanField> DishRefusalField(const planning::PlanRefusal& refusal);

// A satellite field's text as an orbital longitude: an angle as typed (a decimal comma too),
// else a name or a listed entry (SatelliteLongitude); else the problem.
//   "19,2" -> 19.2;  "36.1° в.д. — Express AMU1" -> 36.1;  "astra" -> SatelliteAmbiguous
struct SatelliteReading {
    std::optional<double> longitude_deg;
    std::optional<planning::InputProblem> problem;
};
SatelliteReading ReadSatelliteText(std::string_view text);

// A main-window angle (degrees text plus minutes text, each read as the main window reads it,
// the minutes not taking the sign of the degrees) as degrees:minutes, or as whole degrees when
// there are no minutes left over; empty where both are empty (nobody typed a value).
//   ("35", "27.69") -> "35:27.69";  ("13", "") -> "13";  ("-4", "30") -> "-3:30";
//   ("19", "72") -> "20:12";  ("abc", "") -> "0";  ("", " ") -> ""
std::string MainWindowAngleText(std::string_view degrees, std::string_view minutes);

// `texts` for a new job: the site, satellites 1 and 2 taken from the main window's fields (Text1
// to Text6, Text9, Text10), empty where those are empty; satellites 3 and 4 cleared; the date
// kept. The main window knows a prime-focus dish's F only (Text13): for a prime-focus way its F
// is taken and the diameter and depth cleared (the way to use then is 0, F typed); an offset
// dish keeps its own measurements.
//   default site, Text5 "13", Text9 "19", Text10 "12", Text13 "600", way 0
//     -> {"35:27.69", "32:48.5", "13", "19:12", "", "", "600", "", date}
//   the same, way 3 (offset, depth) -> F, width, height and depth as they were
PlanFormTexts FillFromMainWindow(PlanFormTexts texts, const CalculationView& main_window,
                                 DishWayIndex way = 0);

// The longitude and latitude texts a longitude field's new text gives where it holds a whole
// site, as pasted from a map ("55.7558, 37.6173": latitude first, names::ReadSite). Only a text
// that arrived at once (longer than `before` by more than one character) is read: "35 2", on the
// way to "35 27", is a longitude being typed.
// The degrees are written to a millionth, without trailing zeros.
//   ("", "55.7558, 37.6173") -> {"37.6173", "55.7558"};  ("", "56°50′N 60°36′E") -> {"60.6",
//   "56.833333"};  ("35 ", "35 2") -> none
struct SiteTexts {
    std::string longitude;
    std::string latitude;
};
std::optional<SiteTexts> PastedSite(std::string_view before, std::string_view after);

// What a job keeps besides the plan's inputs: free texts, no part of the plan.
struct JobNotes {
    std::string customer;
    std::string note;
};

// The form as the batch keys of planning::PlanInputs, in the table's order: the site, the
// satellites (comma-separated), the way's measurements, the date, the dish's type, the customer
// and the note. Blank fields left out, satellites as longitudes where they read, the date as
// YYYY-MM-DD where it reads, the texts as typed (blanks around them cut, a decimal comma a point).
//   the example, way 0 -> {{K(Longitude), "35:27.69"}, {K(Latitude), "32:48.5"}, {K(Satellites),
//   "13,19.2"},
//     {K(FocalLength), "600"}, {K(Diameter), "1000"}, {K(Date), "2026-12-07"}, {K(Dish), "prime"}}
using FormPairs = std::vector<std::pair<std::string_view, std::string>>;
FormPairs JobPairs(const PlanFormTexts& texts, DishWayIndex way, const JobNotes& notes = {});

// The phone page's query string for the form: JobPairs, each value percent-encoded.
//   the example, way 0 -> "lon=35%3A27.69&lat=32%3A48.5&sats=13%2C19.2&focal_mm=600&
//     diameter_mm=1000&date=2026-12-07&dish=prime"
std::string PhonePageQuery(const PlanFormTexts& texts, DishWayIndex way,
                           const JobNotes& notes = {});

// The page `html` with `query` as its defaults: a script first in its head puts the query in
// the page's address (which the page reads) where the browser allows it for a file, and else
// fills the form's fields from it. The page itself is not otherwise changed.
std::string PageWithDefaults(std::string_view html, std::string_view query);

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
