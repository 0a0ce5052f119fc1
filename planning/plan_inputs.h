#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "conversions/typed_text.h"
#include "planning/plan.h"

// The plan's inputs as one table: each input's batch key, command-line option, the member of
// PlanInput it fills, its kind and unit. The batch reader, the command line's options, the plan
// window's form and the phone page all take their names from here; no other place of the program
// spells a key. Also the problems an input may have, as data: the text layer words them.

namespace tarvex::planning {

enum class PlanInputId {
    Longitude,
    Latitude,
    Satellites,
    FocalLength,
    Diameter,
    FOverD,
    Date,
    Dish,
    Depth,
    Width,
    Height,
    FeedDistance,
    RimLow,
    RimHigh,
    Frequency,
    EdgeTaper,
    LnbWidth,
    Optics,
    Customer,
    Note,
};

enum class InputKind {
    Angle,       // a longitude: decimal degrees, degrees:minutes, or DMS with E/W (ParseAngle)
    Latitude,    // the same with N/S
    Satellites,  // a list of 2 to 4, each a longitude or a satellite's name
    Length,      // millimetres, a finite number > 0 (ParseNumber)
    Date,        // YYYY-MM-DD or DD.MM.YYYY (ParseDate)
    Choice,      // one of a few words: the dish's type
    Number,      // a finite number in its unit (ParseNumber): the band's GHz, the taper's dB
    Switch,      // "on" or "off" (SwitchWords)
    Ratio,       // a ratio without a unit (f/D), a finite number > 0 (ParseNumber)
    Text,        // a free text kept with a job (the customer, a note); no part of the plan
};

struct PlanInputRow {
    PlanInputId id;
    std::string_view key;     // in a batch line, a page's link and its form's field ids
    std::string_view option;  // of `tarvex-calc plan`; "" for a text no plan takes
    InputKind kind;
    std::string_view unit;  // "deg", "mm" or ""
    // The dish's measurement it gives, for the lengths and f/D.
    std::optional<DishMeasure> measure;
};

// In the order the batch's help lists them.
inline constexpr PlanInputRow PlanInputs[] = {
    {PlanInputId::Longitude, "lon", "--lon", InputKind::Angle, "deg", {}},
    {PlanInputId::Latitude, "lat", "--lat", InputKind::Latitude, "deg", {}},
    {PlanInputId::Satellites, "sats", "--sat", InputKind::Satellites, "deg", {}},
    {PlanInputId::FocalLength, "focal_mm", "--focal", InputKind::Length, "mm",
     DishMeasure::FocalLength},
    {PlanInputId::Diameter, "diameter_mm", "--diameter", InputKind::Length, "mm",
     DishMeasure::Diameter},
    {PlanInputId::FOverD, "f_over_d", "--f-over-d", InputKind::Ratio, "", DishMeasure::FOverD},
    {PlanInputId::Date, "date", "--date", InputKind::Date, "", {}},
    {PlanInputId::Dish, "dish", "--dish", InputKind::Choice, "", {}},
    {PlanInputId::Depth, "depth_mm", "--depth", InputKind::Length, "mm", DishMeasure::Depth},
    {PlanInputId::Width, "width_mm", "--width", InputKind::Length, "mm", DishMeasure::Width},
    {PlanInputId::Height, "height_mm", "--height", InputKind::Length, "mm", DishMeasure::Height},
    {PlanInputId::FeedDistance, "feed_distance_mm", "--feed-distance", InputKind::Length, "mm",
     DishMeasure::FeedDistance},
    {PlanInputId::RimLow, "rim_low_mm", "--rim-low", InputKind::Length, "mm", DishMeasure::RimLow},
    {PlanInputId::RimHigh, "rim_high_mm", "--rim-high", InputKind::Length, "mm",
     DishMeasure::RimHigh},
    {PlanInputId::Frequency, "freq_ghz", "--freq", InputKind::Number, "GHz", {}},
    {PlanInputId::EdgeTaper, "edge_taper_db", "--edge-taper", InputKind::Number, "dB", {}},
    {PlanInputId::LnbWidth, "lnb_width_mm", "--lnb-width", InputKind::Length, "mm", {}},
    {PlanInputId::Optics, "optics", "--optics", InputKind::Switch, "", {}},
    {PlanInputId::Customer, "customer", "", InputKind::Text, "", {}},
    {PlanInputId::Note, "note", "", InputKind::Text, "", {}},
};
inline constexpr std::size_t PlanInputCount = std::size(PlanInputs);

// The words the dish's type is given by, in the order of DishType.
inline constexpr std::string_view DishTypeWords[] = {"prime", "offset"};

// The words a Switch is given by: off, on.
inline constexpr std::string_view SwitchWords[] = {"off", "on"};

// The batch keys in the order of PlanInputs, for the readers of a flat object of known keys.
//   [0] -> "lon";  [2] -> "sats"
const std::array<std::string_view, PlanInputCount>& PlanInputKeys();

// The row of an input: Satellites -> {"sats", "--sat", ...}
const PlanInputRow& RowOf(PlanInputId id);

// The input a batch key names: "focal_mm" -> FocalLength;  "f" -> none
std::optional<PlanInputId> InputOfKey(std::string_view key);

// The input that gives a measurement of the dish: DishMeasure::RimLow -> RimLow
PlanInputId InputOf(DishMeasure measure);

// The member of `input` a length (or f/D) fills: FocalLength -> &input.focal_length_mm;
// Depth -> &input.dish.depth_mm; FOverD -> &input.dish.f_over_d; an input that is no
// measurement -> null.
std::optional<double>* LengthOf(PlanInput& input, PlanInputId id);
const std::optional<double>* LengthOf(const PlanInput& input, PlanInputId id);

// The member of `input` a number other than the dish's lengths fills: Frequency ->
// &input.frequency_ghz;  LnbWidth -> &input.lnb_width_mm;  FocalLength -> null
double* NumberOf(PlanInput& input, PlanInputId id);

// The dish's type a word names: "offset" -> Offset;  "round" -> none
std::optional<DishType> DishTypeOf(std::string_view word);

// The state a Switch's word names: "on" -> true;  "off" -> false;  "yes" -> none
std::optional<bool> SwitchOf(std::string_view word);

// Every way an input, a line of them or a form may be wrong before the plan is made, and the
// plan's own refusal.
enum class InputProblemKind {
    NotJson,             // the line is not valid JSON
    NotAnObject,         // the line is JSON but not an object
    UnknownKey,          // `value`: the key
    GivenTwice,          // `key` is given twice
    Missing,             // `key` (`element` for one satellite of the form) is not given
    NotOfItsKind,        // `key`'s value (`element`'s) is not of the input's kind
    NotAnArray,          // `key` (the satellites) is not an array
    OutOfRange,          // a number beyond a double: `key`'s (`element`'s), or anywhere (no key)
    SatelliteUnknown,    // `element`'s `value` is neither a longitude nor a satellite's name
    SatelliteAmbiguous,  // `element`'s `value` names satellites at more than one position
    TextRefused,         // `key`'s (`element`'s) `value` is refused as a text: `text` says why
    NotPositive,         // `key`'s `value`: a length not > 0
    SatelliteSkipped,    // the form's satellite `element` is given without the one before it
    NulByte,             // the line holds a NUL byte
    TooLong,             // the line is longer than the batch reads
    NotAString,          // `key`'s value is not a string (the main window's calculation)
    Refused,             // the plan refused the input: `refusal`; `key`, `element` name the input
};

struct InputProblem {
    InputProblemKind kind = InputProblemKind::NotJson;
    std::string key;      // the input's batch key; empty where the problem is the line's
    int element = 0;      // 1-based element of a list (the satellites); 0 for the input as a whole
    std::string value;    // the offending text, where one is kept
    PlanRefusal refusal;  // for Refused
    TextProblem text = TextProblem::None;  // for TextRefused
};

// The input a plan's refusal names, with the satellite it names (1-based, 0 for none): the one
// place that maps each refusal to its input.
//   SiteLatitude -> {Latitude, 0};  SameSatellite of satellite 3 -> {Satellites, 3}
//   Dish NotPositive of RimLow -> {RimLow, 0};  Dish FocalAndDepth -> {Depth, 0} (the way that
//   does without F is the one to drop);  Dish NoSuchRims -> {RimHigh, 0} (the rims, shown under
//   their second field as RimsOutOfOrder is);  Dish NoWayToFocus -> {Dish, 0} (the type's field
//   lists the ways)
struct InputPlace {
    PlanInputId input = PlanInputId::Dish;
    int element = 0;
};
InputPlace RefusedInput(const PlanRefusal& refusal);

// The refusal as a problem naming its input.
InputProblem RefusalProblem(const PlanRefusal& refusal);

}  // namespace tarvex::planning
