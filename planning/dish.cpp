#include "planning/dish.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "planning/plan_facts.h"

namespace tarvex::planning {
namespace {

constexpr double Degrees = DegreesPerRadian;
// A typed height further than this from the one the rim distances give: a slip of the tape.
constexpr double HeightTolerance = 0.02;

DishIssue IssueOf(DishProblem problem, DishMeasure measure = DishMeasure::Depth, double value = 0,
                  double expected = 0) {
    return {problem, measure, value, expected};
}

// The measurements DishMeasurements holds, in the order they are checked.
constexpr DishMeasure Measured[] = {
    DishMeasure::Depth,  DishMeasure::Width,   DishMeasure::Height, DishMeasure::FeedDistance,
    DishMeasure::RimLow, DishMeasure::RimHigh, DishMeasure::FOverD};

// The first measurement that is typed but not a finite number > 0.
std::optional<DishIssue> NotPositive(const DishMeasurements& dish) {
    for (const DishMeasure measure : Measured) {
        const std::optional<double>& value = dish.*MemberOf(measure);
        if (value && !(std::isfinite(*value) && *value > 0)) {
            return IssueOf(DishProblem::NotPositive, measure, *value);
        }
    }
    return std::nullopt;
}

std::variant<MeasuredDish, DishIssue> PrimeFocus(std::optional<double> focal_length_mm,
                                                 std::optional<double> diameter_mm,
                                                 const DishMeasurements& dish) {
    for (const DishMeasure measure : Measured) {
        if (measure != DishMeasure::Depth && measure != DishMeasure::FOverD &&
            dish.*MemberOf(measure)) {
            return IssueOf(DishProblem::OffsetMeasureOnPrime, measure);
        }
    }
    if (focal_length_mm && dish.depth_mm) {
        return IssueOf(DishProblem::FocalAndDepth);
    }
    if (dish.f_over_d && (focal_length_mm || dish.depth_mm)) {
        return IssueOf(DishProblem::FOverDWithFocal,
                       focal_length_mm ? DishMeasure::FocalLength : DishMeasure::Depth);
    }
    if (!focal_length_mm && !dish.depth_mm && !dish.f_over_d) {
        return IssueOf(DishProblem::NoFocalLength);
    }
    if (dish.depth_mm && !diameter_mm) {
        return IssueOf(DishProblem::DepthWithoutDiameter);
    }
    if (dish.f_over_d && !diameter_mm) {
        return IssueOf(DishProblem::FOverDWithoutDiameter);
    }
    if (focal_length_mm) {
        const double least = diameter_mm ? *diameter_mm * MinFocalToDiameter : MinFocalLengthMm;
        if (*focal_length_mm < least) {
            return IssueOf(DishProblem::FocalLooksLikeFOverD, DishMeasure::FocalLength,
                           *focal_length_mm, least);
        }
    }
    MeasuredDish measured;
    DishFigures& figures = measured.figures;
    figures.type = DishType::PrimeFocus;
    figures.focal_length_mm = focal_length_mm ? *focal_length_mm
                              : dish.f_over_d ? *dish.f_over_d * *diameter_mm
                                              : *diameter_mm * *diameter_mm / (16 * *dish.depth_mm);
    figures.effective_focal_length_mm = figures.focal_length_mm;
    figures.aperture_mm = diameter_mm;
    if (diameter_mm) {
        figures.f_over_d = figures.effective_focal_length_mm / *diameter_mm;
    } else {
        measured.warnings.push_back(IssueOf(DishProblem::NoDishSize));
    }
    return measured;
}

// An offset dish's figures that describe none: alpha outside what offset dishes have, or the
// lower rim not above the parent paraboloid's axis.
std::optional<DishIssue> NoOffsetDish(const DishFigures& figures, const DishMeasurements& dish) {
    const double alpha = figures.offset_angle_deg;
    const bool by_rims = dish.rim_low_mm.has_value();
    if (!(alpha >= MinOffsetAngleDeg && alpha <= MaxOffsetAngleDeg)) {
        return IssueOf(DishProblem::OffsetAngleOutOfRange,
                       by_rims ? DishMeasure::RimHigh : DishMeasure::Height, alpha,
                       alpha < MinOffsetAngleDeg ? MinOffsetAngleDeg : MaxOffsetAngleDeg);
    }
    const double centre_height = figures.effective_focal_length_mm * std::sin(2 * alpha / Degrees);
    const double half_width = *figures.aperture_mm / 2;
    if (!(centre_height > half_width)) {
        const DishMeasure focusing = by_rims                 ? DishMeasure::RimLow
                                     : dish.feed_distance_mm ? DishMeasure::FeedDistance
                                                             : DishMeasure::Depth;
        return IssueOf(DishProblem::RimBelowAxis, focusing, centre_height, half_width);
    }
    return std::nullopt;
}

std::variant<MeasuredDish, DishIssue> Offset(std::optional<double> focal_length_mm,
                                             std::optional<double> diameter_mm,
                                             const DishMeasurements& dish) {
    if (focal_length_mm || dish.f_over_d) {
        return IssueOf(DishProblem::FocalOnOffset,
                       focal_length_mm ? DishMeasure::FocalLength : DishMeasure::FOverD);
    }
    if (diameter_mm) {
        return IssueOf(DishProblem::DiameterOnOffset);
    }
    if (!dish.width_mm) {
        return IssueOf(DishProblem::NoWidth);
    }
    const bool by_rims = dish.rim_low_mm || dish.rim_high_mm;
    const int ways = (dish.feed_distance_mm ? 1 : 0) + (dish.depth_mm ? 1 : 0) + (by_rims ? 1 : 0);
    if (ways == 0) {
        return IssueOf(DishProblem::NoWayToFocus);
    }
    if (ways > 1) {
        return IssueOf(DishProblem::TwoWaysToFocus);
    }
    if (by_rims && !(dish.rim_low_mm && dish.rim_high_mm)) {
        return IssueOf(DishProblem::OneRimOnly,
                       dish.rim_low_mm ? DishMeasure::RimHigh : DishMeasure::RimLow);
    }
    if (!by_rims && !dish.height_mm) {
        return IssueOf(DishProblem::NoHeight);
    }
    const double width = *dish.width_mm;
    if (dish.height_mm && *dish.height_mm <= width) {
        return IssueOf(DishProblem::HeightNotAboveWidth, DishMeasure::Height, *dish.height_mm,
                       width);
    }
    MeasuredDish measured;
    DishFigures& figures = measured.figures;
    figures.type = DishType::Offset;
    figures.aperture_mm = width;
    double cos_alpha = 0;
    if (by_rims) {
        const double rise = *dish.rim_high_mm - *dish.rim_low_mm;
        if (!(rise > 0)) {
            return IssueOf(DishProblem::RimsOutOfOrder);
        }
        const double height = std::hypot(width, rise);
        const double sum = *dish.rim_low_mm + *dish.rim_high_mm;
        if (sum < height) {
            return IssueOf(DishProblem::NoSuchRims);
        }
        // s^2 - H_r^2 as a product: no cancellation, no overflow of the squares.
        const double root = std::sqrt(sum - height) * std::sqrt(sum + height);
        const double ratio = width / height;
        figures.focal_length_mm = ratio * ratio * (sum + root) / 4;
        figures.effective_focal_length_mm = figures.focal_length_mm / (ratio * ratio);
        figures.offset_angle_deg = std::asin(rise / height) * Degrees;
        cos_alpha = ratio;
        if (dish.height_mm && std::fabs(*dish.height_mm - height) > HeightTolerance * height) {
            measured.warnings.push_back(IssueOf(DishProblem::MeasurementsDisagree,
                                                DishMeasure::Height, *dish.height_mm, height));
        }
    } else {
        const double height = *dish.height_mm;
        cos_alpha = width / height;
        figures.effective_focal_length_mm =
            dish.feed_distance_mm ? *dish.feed_distance_mm : width * height / (16 * *dish.depth_mm);
        figures.offset_angle_deg = std::acos(cos_alpha) * Degrees;
        figures.focal_length_mm = figures.effective_focal_length_mm * cos_alpha * cos_alpha;
    }
    figures.f_over_d = figures.effective_focal_length_mm / width;
    if (std::optional<DishIssue> refusal = NoOffsetDish(figures, dish)) {
        return *refusal;
    }
    return measured;
}

}  // namespace

std::optional<double> DishMeasurements::*MemberOf(DishMeasure measure) {
    switch (measure) {
        case DishMeasure::Depth:
            return &DishMeasurements::depth_mm;
        case DishMeasure::Width:
            return &DishMeasurements::width_mm;
        case DishMeasure::Height:
            return &DishMeasurements::height_mm;
        case DishMeasure::FeedDistance:
            return &DishMeasurements::feed_distance_mm;
        case DishMeasure::RimLow:
            return &DishMeasurements::rim_low_mm;
        case DishMeasure::RimHigh:
            return &DishMeasurements::rim_high_mm;
        case DishMeasure::FOverD:
            return &DishMeasurements::f_over_d;
        case DishMeasure::FocalLength:
        case DishMeasure::Diameter:
            break;
    }
    return nullptr;
}

std::variant<MeasuredDish, DishIssue> MeasureDish(std::optional<double> focal_length_mm,
                                                  std::optional<double> diameter_mm,
                                                  const DishMeasurements& measurements) {
    if (std::optional<DishIssue> refusal = NotPositive(measurements)) {
        return *refusal;
    }
    auto measured = measurements.type == DishType::Offset
                        ? Offset(focal_length_mm, diameter_mm, measurements)
                        : PrimeFocus(focal_length_mm, diameter_mm, measurements);
    if (const auto* dish = std::get_if<MeasuredDish>(&measured)) {
        const DishFigures& figures = dish->figures;
        const auto usable = [](double value) { return std::isfinite(value) && value > 0; };
        if (!usable(figures.focal_length_mm) || !usable(figures.effective_focal_length_mm) ||
            (figures.f_over_d && !usable(*figures.f_over_d))) {
            return IssueOf(DishProblem::BeyondNumbers);
        }
    }
    return measured;
}

void PointDish(DishFigures& dish, double elevation_deg) {
    dish.face_tilt_deg = elevation_deg - dish.offset_angle_deg;
    dish.feed_axis_elevation_deg = 2 * dish.offset_angle_deg - elevation_deg;
}

double FeedAimDeg(double distance_mm, double effective_focal_length_mm) {
    return std::atan2(distance_mm, effective_focal_length_mm) * Degrees;
}

}  // namespace tarvex::planning
