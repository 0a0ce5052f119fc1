#include "planning/dish.h"

#include <cmath>
#include <numbers>

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
constexpr DishMeasure Measured[] = {DishMeasure::Depth,  DishMeasure::Width,
                                    DishMeasure::Height, DishMeasure::FeedDistance,
                                    DishMeasure::RimLow, DishMeasure::RimHigh};

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
        if (measure != DishMeasure::Depth && dish.*MemberOf(measure)) {
            return IssueOf(DishProblem::OffsetMeasureOnPrime, measure);
        }
    }
    if (focal_length_mm && dish.depth_mm) {
        return IssueOf(DishProblem::FocalAndDepth);
    }
    if (!focal_length_mm && !dish.depth_mm) {
        return IssueOf(DishProblem::NoFocalLength);
    }
    if (dish.depth_mm && !diameter_mm) {
        return IssueOf(DishProblem::DepthWithoutDiameter);
    }
    MeasuredDish measured;
    DishFigures& figures = measured.figures;
    figures.type = DishType::PrimeFocus;
    figures.focal_length_mm =
        focal_length_mm ? *focal_length_mm : *diameter_mm * *diameter_mm / (16 * *dish.depth_mm);
    figures.effective_focal_length_mm = figures.focal_length_mm;
    figures.aperture_mm = diameter_mm;
    if (diameter_mm) {
        figures.f_over_d = figures.effective_focal_length_mm / *diameter_mm;
    } else {
        measured.warnings.push_back(IssueOf(DishProblem::NoDishSize));
    }
    return measured;
}

std::variant<MeasuredDish, DishIssue> Offset(std::optional<double> focal_length_mm,
                                             std::optional<double> diameter_mm,
                                             const DishMeasurements& dish) {
    if (focal_length_mm) {
        return IssueOf(DishProblem::FocalOnOffset);
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
