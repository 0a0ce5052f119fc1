#include "planning/dish.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using tarvex::planning::DishIssue;
using tarvex::planning::DishMeasure;
using tarvex::planning::DishMeasurements;
using tarvex::planning::DishProblem;
using tarvex::planning::DishType;

// Measurements that describe no dish. Expected angles and heights from the rim's geometry,
// worked out apart: alpha = atan((r2 - r1) / W) for the rims; the centre's height above the axis
// F_eff * 2 sin(alpha) cos(alpha) with cos(alpha) = W / H (python3, tests/planning/
// reference_figures.py's model of a paraboloid's section).
TEST(MeasureDish, RefusesWhatNoDishIs) {
    struct Row {
        const char* what;
        std::optional<double> focal, diameter;
        DishMeasurements dish;
        DishIssue issue;
    };
    const auto offset = [](std::optional<double> depth, std::optional<double> width,
                           std::optional<double> height, std::optional<double> feed,
                           std::optional<double> low, std::optional<double> high) {
        return DishMeasurements{DishType::Offset, depth, width, height, feed, low, high, {}};
    };
    const auto prime = [](std::optional<double> depth, std::optional<double> f_over_d) {
        return DishMeasurements{DishType::PrimeFocus, depth, {}, {}, {}, {}, {}, f_over_d};
    };
    constexpr auto Angle = DishProblem::OffsetAngleOutOfRange;
    const Row rows[] = {
        {"rims 460, 461",
         {},
         {},
         offset({}, 800, {}, {}, 460, 461),
         {Angle, DishMeasure::RimHigh, 0.07161968708944809, 10}},
        {"rims 460, 560",
         {},
         {},
         offset({}, 800, {}, {}, 460, 560),
         {Angle, DishMeasure::RimHigh, 7.125016348901798, 10}},
        {"H 900, W 450",
         {},
         {},
         offset({}, 450, 900, 100, {}, {}),
         {Angle, DishMeasure::Height, 60, 40}},
        {"H 1e200",
         {},
         {},
         offset(5, 504, 1e200, {}, {}, {}),
         {Angle, DishMeasure::Height, 90, 40}},
        {"depth 79 of 450 x 495",
         {},
         {},
         offset(79, 450, 495, {}, {}, {}),
         {DishProblem::RimBelowAxis, DishMeasure::Depth, 133.4826781111274, 225}},
        {"feed 400 of 800 x 883",
         {},
         {},
         offset({}, 800, 883, 400, {}, {}),
         {DishProblem::RimBelowAxis, DishMeasure::FeedDistance, 306.7889203109039, 400}},
        {"F 0.4, D 800",
         0.4,
         800,
         prime({}, {}),
         {DishProblem::FocalLooksLikeFOverD, DishMeasure::FocalLength, 0.4, 80}},
        {"F 0.4",
         0.4,
         {},
         prime({}, {}),
         {DishProblem::FocalLooksLikeFOverD, DishMeasure::FocalLength, 0.4, 50}},
        {"f/D alone", {}, {}, prime({}, 0.4), {DishProblem::FOverDWithoutDiameter}},
        {"f/D and F",
         320,
         800,
         prime({}, 0.4),
         {DishProblem::FOverDWithFocal, DishMeasure::FocalLength}},
        {"f/D and depth",
         {},
         800,
         prime(125, 0.4),
         {DishProblem::FOverDWithFocal, DishMeasure::Depth}},
        {"f/D of an offset dish",
         {},
         {},
         DishMeasurements{DishType::Offset, 79, 800, 883, {}, {}, {}, 0.7},
         {DishProblem::FocalOnOffset, DishMeasure::FOverD}},
        {"f/D -0.4",
         {},
         800,
         prime({}, -0.4),
         {DishProblem::NotPositive, DishMeasure::FOverD, -0.4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto measured = tarvex::planning::MeasureDish(row.focal, row.diameter, row.dish);
        ASSERT_TRUE(std::holds_alternative<DishIssue>(measured));
        const DishIssue& issue = std::get<DishIssue>(measured);
        EXPECT_EQ(issue.problem, row.issue.problem);
        if (row.issue.problem != DishProblem::FOverDWithoutDiameter) {
            EXPECT_EQ(issue.measure, row.issue.measure);
        }
        EXPECT_NEAR(issue.value, row.issue.value, 1e-9 * std::fabs(row.issue.value));
        EXPECT_NEAR(issue.expected, row.issue.expected, 1e-9 * row.issue.expected);
    }
}

TEST(MeasureDish, FOverDWithTheDiameterGivesAPrimeFocusDish) {
    const auto measured = tarvex::planning::MeasureDish(
        {}, 800, DishMeasurements{DishType::PrimeFocus, {}, {}, {}, {}, {}, {}, 0.4});
    const auto& dish = std::get<tarvex::planning::MeasuredDish>(measured).figures;
    EXPECT_DOUBLE_EQ(dish.focal_length_mm, 320);
    EXPECT_DOUBLE_EQ(dish.effective_focal_length_mm, 320);
    EXPECT_DOUBLE_EQ(dish.f_over_d.value(), 0.4);
}

}  // namespace
