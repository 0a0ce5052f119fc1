#pragma once

#include <optional>
#include <variant>
#include <vector>

#include "planning/dish.h"
#include "planning/plan_facts.h"

// The precise multifeed plan: where each feed of one dish really goes, for two to four
// geostationary satellites, from the geometry of the lines of sight rather than from differences
// of azimuth and elevation. Plain C++; the geodesy and the magnetic model come from GeographicLib.
// Numbers and kinds only: the words are the text layer's (plan_text/plan_text.h).

namespace tarvex::planning {

// What an installer knows about the site and the dish. Degrees east and north positive.
struct PlanInput {
    double site_longitude_deg = 0;
    double site_latitude_deg = 0;
    std::vector<double> satellites_deg;  // 2 to 4; the first is the one the dish points at
    // Prime focus: F, or none to have it from the diameter and the depth (`dish`).
    std::optional<double> focal_length_mm;
    // Prime focus, for the beam deviation factor; none: factor 1, warning "no_dish_size".
    std::optional<double> diameter_mm;
    Date date;              // for the magnetic declination
    DishMeasurements dish;  // the type and the other measurements; prime focus by default
    double frequency_ghz = DefaultFrequencyGhz;  // MinFrequencyGhz to MaxFrequencyGhz
    double edge_taper_db = DefaultEdgeTaperDb;   // above 0, up to MaxEdgeTaperDb
    double lnb_width_mm = DefaultLnbWidthMm;     // the LNB's widest part, at its horn
    // On: each feed placed and judged by physical optics (where the dish's size is known); off:
    // the formula's plan alone.
    bool optics = true;
    // With the optics: the worst loss for each satellite as the one the dish is aimed at.
    bool choose_focus = true;
};

// What the physical optics make of a feed's beam.
enum class BeamKind {
    Clean,
    Degraded,  // loses more than optics::DegradedLossDb, or no closed -3 dB contour: a second dish
};

// Where the formula puts a feed: F_eff tan(theta / BDF) from feed 1, away from the satellite.
struct FormulaPlace {
    double right_mm = 0;
    double up_mm = 0;
    double distance_mm = 0;
};

// One feed. Feed 1 (the satellite the dish points at) has every offset and angle of separation 0.
struct FeedPlan {
    double satellite_deg = 0;
    double azimuth_deg = 0;           // true, [0, 360), clockwise from north
    double magnetic_azimuth_deg = 0;  // azimuth - declination, [0, 360)
    double elevation_deg = 0;         // geometric, no refraction
    double separation_deg = 0;        // angle between this satellite and satellite 1, at the site
    double right_mm = 0;              // from feed 1's centre, seen from behind the dish
    double up_mm = 0;
    double distance_mm = 0;            // hypot(right_mm, up_mm)
    double tilt_deg = 0;               // of the line from feed 1, above the horizontal, (-180, 180]
    double rotation_deg = 0;           // (-90, 90], positive clockwise seen from behind
    double relative_rotation_deg = 0;  // rotation - feed 1's rotation, folded the same way
    // Toward the reflector's centre, from feed 1's axis: atan(distance / (F_eff - axial_mm)).
    double aim_deg = 0;
    // By the optics (all 0 and clean without them): the shift along feed 1's axis, + toward the
    // dish; the peak gain below feed 1's; the -3 dB beamwidth (feed 1's too).
    double axial_mm = 0;
    double loss_db = 0;
    double beamwidth_deg = 0;
    BeamKind beam = BeamKind::Clean;
    FormulaPlace formula;  // the formula's place, whether or not the optics moved the feed
};

// An installer's reading of a feed's beam: up to AsFeedOneLossDb almost as feed 1, up to
// WeakerLossDb weaker, above that only for a strong satellite with margin, degraded: not on this
// dish.
//   loss 0.4 -> AsFeedOne;  2.2 -> Weaker;  4 -> StrongOnly;  BeamKind::Degraded -> SecondDish
enum class BeamVerdict { AsFeedOne, Weaker, StrongOnly, SecondDish };
BeamVerdict VerdictOf(const FeedPlan& feed);

enum class WarningKind {
    Collision,             // `feed` is too close to `other_feed` (an earlier one)
    LowElevation,          // `feed`'s satellite is low above the horizon
    FarOffAxis,            // `feed` is far from the dish's axis (the formula's plan only)
    MagneticModelDate,     // the plan's date is outside the magnetic model's years
    NoDishSize,            // the dish's size is not known: the beam deviation is left out (`dish`)
    MeasurementsDisagree,  // the dish's measurements do not agree with one another (`dish`)
    WeakerBeam,            // `feed` loses `value` dB: BeamVerdict::Weaker
    StrongOnlyBeam,        // `feed` loses `value` dB: BeamVerdict::StrongOnly
    SecondDish,            // `feed`'s beam is degraded: BeamVerdict::SecondDish
    // Aiming the dish at satellite `feed` makes the worst feed lose `value` dB instead of
    // `other_value`, at least BetterFocusDb less.
    BetterFocus,
};

struct PlanWarning {
    WarningKind kind = WarningKind::Collision;
    std::optional<int> feed;        // 1-based feed number where the warning concerns one feed
    std::optional<int> other_feed;  // the feed it collides with
    DishIssue dish;                 // what of the dish's measurements it concerns
    // Collision: the LNB's width the feeds are closer than; the beams' and the focus's losses.
    double value = 0;
    double other_value = 0;
};

// The optics' figures of the dish with its feed 1 at the focus.
struct OpticsFigures {
    double frequency_ghz = 0;
    double edge_taper_db = 0;
    double feed_exponent = 0;  // q of the feed's cos^q pattern that gives that taper
    double gain_dbi = 0;       // feed 1's peak gain
    double efficiency = 0;     // against the aperture's 4 pi A / lambda^2
};

// One satellite as the one the dish is aimed at: the most any other feed then loses.
struct FocusChoice {
    double satellite_deg = 0;
    double worst_loss_db = 0;
};

struct Plan {
    double beam_deviation_factor = 1;
    double declination_deg = 0;   // east positive
    DishFigures dish;             // the dish pointed at satellite 1
    Date date;                    // the declination's
    std::vector<FeedPlan> feeds;  // in input order
    std::vector<PlanWarning> warnings;
    // None: the optics off, the dish's size not known, or the dish beyond the optics' reach
    // (optics::InReach): the formula's plan.
    std::optional<OpticsFigures> optics;
    std::vector<FocusChoice> focus;  // with the optics, in input order; empty without
    int best_focus = 1;  // the satellite (1-based) with the smallest worst loss; the first on a tie
};

// The JSON code of a warning kind, stable for scripts:
//   Collision -> "collision";  LowElevation -> "low_elevation";  FarOffAxis -> "far_off_axis";
//   MagneticModelDate -> "magnetic_model_date";  WeakerBeam -> "weaker_beam";
//   StrongOnlyBeam -> "strong_only_beam";  SecondDish -> "second_dish";
//   BetterFocus -> "better_focus"
const char* WarningCode(WarningKind kind);

enum class RefusalKind {
    SatelliteCount,      // `value`: how many satellites were given
    SiteLongitude,       // not a finite number
    SiteLatitude,        // `value`: beyond +-90 or not a number
    SatelliteLongitude,  // `satellite`: not a finite number
    FocalLength,         // `value`: not a finite number > 0
    Diameter,            // `value`: not a finite number > 0
    Date,                // not in the calendar
    SameSatellite,       // `satellite` is the same orbital position as `other_satellite`
    BelowHorizon,        // `satellite` at `value` degrees is below the horizon
    TooFarApart,         // `satellite` at `value` degrees is `separation` from satellite 1
    OffsetsTooLarge,     // the offsets are beyond a double
    Dish,                // `dish`: its measurements give no dish (MeasureDish)
    Frequency,           // `value`: not a finite number in MinFrequencyGhz..MaxFrequencyGhz
    EdgeTaper,           // `value`: not a finite number above 0 up to MaxEdgeTaperDb
    LnbWidth,            // `value`: not a finite number > 0
};

// Why an input was refused, naming the input.
struct PlanRefusal {
    RefusalKind kind = RefusalKind::SatelliteCount;
    int satellite = 0;        // 1-based where the refusal names a satellite
    int other_satellite = 0;  // the earlier one it repeats
    double value = 0;         // the refused value (a satellite's longitude where one is named)
    double separation_deg = 0;
    Date date;  // the refused date
    DishIssue dish;
};

// The factor by which a beam from an off-axis feed deviates less than the feed's angle, for a
// dish of focal length F and diameter D (q = D / (4 F)): (1 + 0.36 q^2) / (1 + q^2); 1 without a
// diameter. Both lengths finite and > 0.
//   (600, 1000) -> 0.90532544378698...;  (300, 1000) -> 0.73770491803278...;  (600, none) -> 1
double BeamDeviationFactor(double focal_length_mm, std::optional<double> diameter_mm);

// The plan, or the reason the input was refused. Never throws for any input values.
// With the optics off (or without the dish's size), the formula's plan:
//   site 35.4615 E, 32.808333 N, satellites {13, 19.2}, F 600, no diameter, 2026-12-07 ->
//     feed 2: right_mm 63.640, up_mm -37.100, distance_mm 73.665, tilt_deg -30.24,
//     separation_deg 6.9994, relative_rotation_deg -0.648; declination_deg 5.097
//   the same with diameter 1000 -> beam_deviation_factor 0.9053, feed 2 right_mm 70.373,
//     up_mm -41.025
//   satellites 13 and 16 -> feed 2 35 mm from feed 1: warning Collision for feed 2 with feed 1
//     (value: the LNB's width, 60 mm by default)
// A dish measured otherwise (see MeasureDish) places the feeds with F_eff for F and its aperture
// for D, in the plane square to feed 1's axis ("up" along that plane, which on an offset dish is
// turned alpha further forward than the face); each feed's aim_deg is atan(distance_mm / F_eff).
//   the same site, offset dish W 800, H 883, depth 79 -> F_eff 558.861, alpha 25.041,
//     beam_deviation_factor 0.92734, feed 2 right_mm 63.973, up_mm -37.295, aim_deg 7.548;
//     dish face_tilt_deg 19.782, feed_axis_elevation_deg 5.259
//   prime focus D 1000, depth 104 -> F 600.962, feed 2 right_mm 70.465, up_mm -41.079,
//     aim_deg 7.729; face_tilt_deg 44.823, feed_axis_elevation_deg -44.823
// With the optics on (the default), the dish's size known and within the optics' reach
// (optics::InReach), each other feed stands where the
// physical optics put its beam's peak on its satellite (optics/dish_optics.h), with its axial
// shift, loss and beamwidth; the formula's place stays in `formula`; a loss above AsFeedOneLossDb
// or a degraded beam is warned of (WeakerBeam, StrongOnlyBeam, SecondDish, never FarOffAxis), and
// BetterFocus where another satellite in the middle makes the worst feed BetterFocusDb better.
//   the site above, D 1000, F 600, 11.7 GHz, -11 dB -> optics q 3.154, gain 40.89 dBi,
//     efficiency 0.817; feed 2 right_mm 69.86, up_mm -40.74, distance_mm 80.87, loss 0.42 dB,
//     formula.distance_mm 81.46
//   offset W 800, H 883, depth 79 -> gain 38.79 dBi; feed 2 right_mm 63.08, up_mm -36.40,
//     distance_mm 72.83, loss 2.21 dB (the formula: 74.05)
// Collision compares the centres' distance with the LNB's width.
// Refused (the refusal names the input): fewer than 2 or more than 4 satellites, a longitude
// that is not finite, |latitude| > 90, a focal length or diameter that is not a finite number
// > 0, a date that is not in the calendar, a dish refused by MeasureDish, one orbital position
// twice (13 and 373 are one), a satellite below the horizon, a satellite so far from satellite 1
// that its beam would leave at a right angle to the dish's axis or more, offsets too large for a
// double, a frequency, an edge taper or an LNB width out of its range.
std::variant<Plan, PlanRefusal> MakePlan(const PlanInput& input);

// True for a date that exists in the calendar, years 1 to 9999.
//   {2024, 2, 29} -> true;  {1900, 2, 29} -> false;  {2026, 4, 31} -> false;  {0, 1, 1} -> false
bool IsRealDate(const Date& date);

// Folds an angle into [0, 360), also where the arithmetic lands a hair below 0 or on 360.
//   -1e-15 -> 0;  360 -> 0;  -90 -> 270;  725 -> 5
double FoldTurn(double degrees);

}  // namespace tarvex::planning
