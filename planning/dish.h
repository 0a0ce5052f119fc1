#pragma once

#include <optional>
#include <variant>
#include <vector>

// The dish as an installer measures it with a tape and a straightedge: its focal lengths, its
// offset angle and how its face and its feeds lean. Plain C++, numbers and kinds only: the words
// of its warnings and refusals are the text layer's (plan_text/dish_text.h).
//
// Geometry. A dish is a piece of a paraboloid of revolution of focal length F, y = x^2 / (4 F)
// along its axis (Kraus, "Antennas", 2nd ed., ch. 12; Balanis, "Antenna Theory", 3rd ed.,
// ch. 15). A prime-focus dish is the piece centred on the axis. An offset dish is the piece that a
// circular cylinder parallel to the axis cuts beside it, the feed arm below; its rim lies in one
// plane (Rudge & Adatia, "Offset-parabolic-reflector antennas: a review", Proc. IEEE 66 (1978)).
// Seen along the axis the rim is a circle of diameter W, the projected aperture; in its own plane
// it is an ellipse W wide and H high, its plane turned by alpha = acos(W / H) from the aperture's.
// The line from the focus to the reflector's centre (the centre of the projected aperture) lies
// 2 alpha off the axis and is F_eff = F / cos^2 alpha long; the feeds' focal plane is square to
// that line, and a feed moved across it by F_eff tan(theta / BDF) turns the beam by theta (Ruze,
// "Lateral-feed displacement in a paraboloid", IEEE Trans. AP-13 (1965); the beam deviation
// factor BDF of Lo, "On the beam deviation factor of a parabolic reflector", IRE Trans. AP-8
// (1960), with W for the diameter and F_eff for F, as multifeed brackets are laid out for offset
// dishes).
//
// Every figure below was computed apart from the program (tests/planning/reference_figures.py
// builds the dishes as sections of a paraboloid and measures them).

namespace tarvex::planning {

enum class DishType {
    PrimeFocus,  // axially symmetric; the feed in front of the centre
    Offset,      // a section beside the axis; the feed arm below
};

// What an installer measured of the dish besides the focal length and the diameter (which the
// plan's input holds), in millimetres; none: not measured.
struct DishMeasurements {
    DishType type = DishType::PrimeFocus;
    // Under a straightedge across the rim: at the centre of a prime-focus dish; the greatest
    // depth along the long axis, rim top to rim bottom, of an offset dish.
    std::optional<double> depth_mm;
    // Offset dish only.
    std::optional<double> width_mm;          // W: across the rim, horizontally (the short axis)
    std::optional<double> height_mm;         // H: top to bottom of the rim (the long axis)
    std::optional<double> feed_distance_mm;  // from the feed's horn mouth to the reflector's centre
    std::optional<double> rim_low_mm;        // r1: from the horn mouth to the rim's lowest point
    std::optional<double> rim_high_mm;       // r2: from the horn mouth to the rim's highest point
    // Prime focus only: F / D, as a dish's leaflet gives it, with the plan's diameter.
    std::optional<double> f_over_d;
};

// The dish's figures. The last two depend on where the dish points and are set by the plan.
struct DishFigures {
    DishType type = DishType::PrimeFocus;
    double focal_length_mm = 0;            // F of the parent paraboloid
    double effective_focal_length_mm = 0;  // F_eff: from the feed to the reflector's centre
    std::optional<double> aperture_mm;     // D, or W of an offset dish; none: not known
    double offset_angle_deg = 0;           // alpha; 0 for a prime-focus dish
    std::optional<double> f_over_d;        // F_eff / aperture
    double face_tilt_deg = 0;              // the rim's plane from vertical, + facing upward
    double feed_axis_elevation_deg = 0;    // feed 1's axis toward the dish, + rising
};

// Each measurement a dish may be given by, and the ways of measuring it: what a form shows for
// the way its user chose. A way's required measurements alone, each a finite number > 0 (and r1
// < r2, H > W), give a dish; leaving out any of them is refused.
enum class DishMeasure {
    FocalLength,  // the plan's focal_length_mm
    Diameter,     // the plan's diameter_mm
    Depth,        // DishMeasurements::depth_mm, and so on
    Width,
    Height,
    FeedDistance,
    RimLow,
    RimHigh,
    FOverD,  // DishMeasurements::f_over_d
};

// The offset angles alpha a tape's readings may give. Offset dishes for satellite reception are
// cut with alpha from about 17 degrees (1.2 m dishes for professional use) to about 30 (the
// 60-100 cm dishes on houses, H / W 1.08-1.12: 22-27 degrees); the bounds leave room for readings
// a few millimetres off. Below 10 degrees (H / W under 1.015) the rim is a circle to the tape:
// a prime-focus dish. Above 40 (H / W over 1.3) the feed would look at the reflector across the
// axis, as no offset dish is built.
inline constexpr double MinOffsetAngleDeg = 10;
inline constexpr double MaxOffsetAngleDeg = 40;
// A prime-focus dish's focal length is at least this part of its diameter (the deepest dishes
// made have f/D about 0.25), and at least this many millimetres when no diameter says more: a
// smaller figure typed as F is an f/D.
inline constexpr double MinFocalToDiameter = 0.1;
inline constexpr double MinFocalLengthMm = 50;

// The member of DishMeasurements that holds `measure`; null for the focal length and the diameter,
// which the plan's input holds.
//   Depth -> &DishMeasurements::depth_mm;  RimHigh -> &DishMeasurements::rim_high_mm
std::optional<double> DishMeasurements::*MemberOf(DishMeasure measure);

// Every reason the dish's figures cannot be had, and every warning about them.
enum class DishProblem {
    NoFocalLength,
    FocalAndDepth,
    DepthWithoutDiameter,
    OffsetMeasureOnPrime,  // `measure`: an offset dish's, given for a prime-focus one
    FocalOnOffset,
    DiameterOnOffset,
    NotPositive,  // `measure` is `value`, not a finite number > 0
    NoWidth,
    NoWayToFocus,
    TwoWaysToFocus,
    OneRimOnly,  // `measure`: the rim distance that is missing
    NoHeight,
    HeightNotAboveWidth,  // `value`: the height, `expected`: the width
    RimsOutOfOrder,
    NoSuchRims,
    BeyondNumbers,
    FocalLooksLikeFOverD,   // `value`: F, `expected`: the least taken, D x MinFocalToDiameter or
                            // MinFocalLengthMm without D
    FOverDWithoutDiameter,  // f/D gives F only with the diameter
    FOverDWithFocal,        // f/D with `measure`, F or the depth: more than one way to F
    OffsetAngleOutOfRange,  // `value`: alpha, `expected`: the bound it passes; `measure`: what
                            // gives alpha with W (the height, or the upper rim's distance)
    RimBelowAxis,  // `value`: F_eff sin 2 alpha, the centre's height above the parent's axis,
                   // `expected`: W / 2, so that the lower rim is not above the axis; `measure`:
                   // what gives F_eff (the feed distance, the depth or the lower rim's distance)
    NoDishSize,    // a warning
    MeasurementsDisagree,  // a warning: height `value` against `expected` from the rims
};

// A warning or a refusal about the dish, with the measurement it concerns where there is one.
struct DishIssue {
    DishProblem problem = DishProblem::NoFocalLength;
    DishMeasure measure = DishMeasure::Depth;
    double value = 0;
    double expected = 0;  // what the other measurements give
};

struct MeasuredDish {
    DishFigures figures;  // face tilt and feed axis still 0
    std::vector<DishIssue> warnings;
};

// The dish's figures from what was measured, or why they cannot be had.
// Prime focus: F as typed, F = D^2 / (16 c) from the diameter D and the depth c at the centre
// (the sagitta of the parabola), or F = f/D x D; aperture D; alpha 0.
//   F 600, no D -> F = F_eff = 600, no aperture, f/D none, warning "no_dish_size"
//   D 1000, depth 104 -> F = F_eff = 600.9615, f/D 0.60096;  D 800, f/D 0.4 -> F = 320
//   F 0.4, D 800 -> refused, FocalLooksLikeFOverD (F below 80);  F 0.4, no D -> the same (50)
// Offset, from W and exactly one of:
//   the feed distance: F_eff = that distance, alpha = acos(W / H);
//   the depth d under a straightedge from rim top to rim bottom: F_eff = W H / (16 d) (the
//     sagitta across the chord H, measured square to it), alpha = acos(W / H);
//   the rim distances r1 < r2 (H then only a cross-check): with H_r = sqrt(W^2 + (r2 - r1)^2)
//     and s = r1 + r2, F = W^2 (s + sqrt(s^2 - H_r^2)) / (4 H_r^2), F_eff = F H_r^2 / W^2,
//     alpha = asin((r2 - r1) / H_r). (A focal distance is F + the point's depth along the axis,
//     so r2 - r1 is the rim's rise along the axis and s a quadratic in F; the other root belongs
//     to a section that holds the vertex, no offset dish.) Warning "measurements_disagree" when
//     a typed H differs from H_r by more than 2 %.
//   Parent F = F_eff cos^2 alpha; aperture W; f/D = F_eff / W.
//   The centre of the projected aperture lies F_eff sin 2 alpha from the parent's axis, its lower
//   rim W / 2 below that: refused RimBelowAxis unless F_eff sin 2 alpha > W / 2 (the vertex
//   would lie in the reflector), and OffsetAngleOutOfRange for alpha outside [10, 40] degrees.
//     W 450, H 495, depth 79 -> F_eff 176.2, alpha 24.6: 133.4 < 225, RimBelowAxis
//     W 800, rims 460 and 461 -> alpha 0.07: OffsetAngleOutOfRange
//   A dish of F 460 cut 30 mm above the axis, 800 mm wide (H 883.069, F_eff 560.489,
//   alpha 25.051), measured to whole millimetres:
//     W 800, H 883, feed distance 560 -> F_eff 560, alpha 25.0414, F 459.6705
//     W 800, H 883, depth 79 -> F_eff 558.8608, alpha 25.0414, F 458.7353
//     W 800, rims 460 and 834 -> F_eff 559.9530, alpha 25.0561, F 459.5216
// Refused, the issue naming the input: a prime-focus dish with neither F nor a depth nor f/D,
// with more than one of them, with a depth or f/D but no diameter, with an F that looks like an
// f/D, or with an offset dish's measurement; an offset dish with F, f/D or a diameter typed, without W, with no way or more than one way to F_eff, with one rim
// distance only, without H where the way needs it, with H <= W, with r2 <= r1 or s < H_r (no
// paraboloid has such a rim); a measurement that is not a finite number > 0; sizes whose focal
// lengths are beyond a double. F and D themselves are checked by the plan before.
std::variant<MeasuredDish, DishIssue> MeasureDish(std::optional<double> focal_length_mm,
                                                  std::optional<double> diameter_mm,
                                                  const DishMeasurements& measurements);

// Where the dish's face and feed 1 lean when the dish points at elevation E1 (degrees):
// face tilt = E1 - alpha (the rim's plane from vertical; the aperture plane leans back by E1 and
// the offset rim's top comes forward by alpha); feed 1's axis rises toward the dish at
// 2 alpha - E1 (it looks at the reflector's centre, 2 alpha above the axis pointing back).
//   prime focus, E1 44.8 -> face 44.8, feed axis -44.8
//   offset alpha 25, E1 44.8 -> face 19.8, feed axis 5.2;  alpha 25, E1 10 -> face -15, axis 40
void PointDish(DishFigures& dish, double elevation_deg);

struct DishWay {
    DishType type;
    std::vector<DishMeasure> required;
    std::vector<DishMeasure> optional;  // the diameter for the beam deviation; H as a cross-check
};

// Prime focus: F (D optional), D and the depth, or (last) D and f/D; offset: W, H and the feed distance, W, H and
// the depth, or W and both rim distances (H optional).
inline const DishWay DishWays[] = {
    {DishType::PrimeFocus, {DishMeasure::FocalLength}, {DishMeasure::Diameter}},
    {DishType::PrimeFocus, {DishMeasure::Diameter, DishMeasure::Depth}, {}},
    {DishType::Offset, {DishMeasure::Width, DishMeasure::Height, DishMeasure::FeedDistance}, {}},
    {DishType::Offset, {DishMeasure::Width, DishMeasure::Height, DishMeasure::Depth}, {}},
    {DishType::Offset,
     {DishMeasure::Width, DishMeasure::RimLow, DishMeasure::RimHigh},
     {DishMeasure::Height}},
    // Added last: the others keep the indices callers name them by.
    {DishType::PrimeFocus, {DishMeasure::Diameter, DishMeasure::FOverD}, {}},
};

// How far a feed at `distance_mm` from feed 1 turns toward the reflector's centre, so that it
// looks at the centre as feed 1 does: atan(distance / F_eff), degrees.
//   (73.665, 600) -> 7.0;  (0, 560) -> 0;  (100, 100) -> 45
double FeedAimDeg(double distance_mm, double effective_focal_length_mm);

}  // namespace tarvex::planning
