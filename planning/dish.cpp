#include "planning/dish.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace tarvex::planning {
namespace {

constexpr double Degrees = 180 / std::numbers::pi;
// A typed height further than this from the one the rim distances give: a slip of the tape.
constexpr double HeightTolerance = 0.02;

// Every reason the dish's figures cannot be had, and every warning about them.
enum class Problem {
    NoFocalLength,
    FocalAndDepth,
    DepthWithoutDiameter,
    OffsetMeasureOnPrime,
    FocalOnOffset,
    DiameterOnOffset,
    NotPositive,
    NoWidth,
    NoWayToFocus,
    TwoWaysToFocus,
    OneRimOnly,
    NoHeight,
    HeightNotAboveWidth,
    RimsOutOfOrder,
    NoSuchRims,
    BeyondNumbers,
    NoDishSize,
    MeasurementsDisagree,
};

// The measurements by their Russian names, as the messages name them.
enum class Input { Depth, Width, Height, FeedDistance, RimLow, RimHigh };

const char* NameOf(Input input) {
    switch (input) {
        case Input::Depth:
            return "Глубина зеркала";
        case Input::Width:
            return "Ширина зеркала";
        case Input::Height:
            return "Высота зеркала";
        case Input::FeedDistance:
            return "Расстояние от облучателя до центра зеркала";
        case Input::RimLow:
            return "Расстояние от облучателя до нижнего края зеркала";
        case Input::RimHigh:
            break;
    }
    return "Расстояние от облучателя до верхнего края зеркала";
}

std::string Number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string WholeMillimetres(double value) {
    char text[400];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 0).ptr;
    return std::string(text, end) + " мм";
}

// The one place where the dish's codes and sentences are made. `input` and `value` name the
// measurement concerned where there is one; `expected` is what the other measurements give.
DishMessage MessageOf(Problem problem, Input input = Input::Depth, double value = 0,
                      double expected = 0) {
    constexpr const char* OffsetWays =
        "ширину, высоту и глубину зеркала (или вместо глубины расстояние от облучателя до центра "
        "зеркала, или ширину и расстояния от облучателя до нижнего и верхнего края)";
    switch (problem) {
        case Problem::NoFocalLength:
            return {"no_focal_length",
                    "Фокусное расстояние не задано: задайте его или диаметр и глубину антенны."};
        case Problem::FocalAndDepth:
            return {"two_ways_to_focus",
                    "Заданы и фокусное расстояние, и глубина зеркала: оставьте что-то одно."};
        case Problem::DepthWithoutDiameter:
            return {"depth_without_diameter",
                    "Глубина зеркала задана без диаметра антенны: фокусное расстояние по глубине "
                    "находят только вместе с диаметром."};
        case Problem::OffsetMeasureOnPrime:
            return {"offset_measure_on_prime",
                    std::string(NameOf(input)) +
                        " — мерка офсетной антенны; у прямофокусной задайте фокусное расстояние "
                        "или диаметр и глубину."};
        case Problem::FocalOnOffset:
            return {"focal_on_offset",
                    std::string("Фокусное расстояние офсетной антенны не задают: измерьте ") +
                        OffsetWays + "."};
        case Problem::DiameterOnOffset:
            return {"diameter_on_offset",
                    "Диаметр задают у прямофокусной антенны; у офсетной измерьте ширину и высоту "
                    "зеркала."};
        case Problem::NotPositive:
            return {"not_positive", std::string(NameOf(input)) +
                                        ": нужно конечное число больше 0, задано " + Number(value) +
                                        "."};
        case Problem::NoWidth:
            return {"no_width",
                    std::string("Ширина зеркала офсетной антенны не задана: измерьте ") +
                        OffsetWays + "."};
        case Problem::NoWayToFocus:
            return {"no_way_to_focus",
                    std::string("Офсетной антенне не хватает мерок: измерьте ") + OffsetWays + "."};
        case Problem::TwoWaysToFocus:
            return {"two_ways_to_focus",
                    "Задано больше одного способа найти фокусное расстояние (расстояние до центра "
                    "зеркала, глубина, расстояния до краёв): оставьте один."};
        case Problem::OneRimOnly:
            return {"one_rim_only",
                    std::string(NameOf(input)) +
                        " не задано: нужны расстояния и до нижнего, и до верхнего края."};
        case Problem::NoHeight:
            return {"no_height", "Высота зеркала не задана: без неё не найти угол офсета антенны."};
        case Problem::HeightNotAboveWidth:
            return {"height_not_above_width", "Высота зеркала " + Number(value) +
                                                  " мм не больше его ширины " + Number(expected) +
                                                  " мм: у офсетного зеркала высота больше ширины."};
        case Problem::RimsOutOfOrder:
            return {"rims_out_of_order",
                    "Расстояние от облучателя до верхнего края зеркала не больше, чем до нижнего: "
                    "у офсетной антенны облучатель ближе к нижнему краю."};
        case Problem::NoSuchRims:
            return {"no_such_rims",
                    "Таких расстояний от облучателя до краёв зеркала при этой ширине не бывает ни "
                    "у одной параболической антенны: проверьте мерки."};
        case Problem::BeyondNumbers:
            return {"beyond_numbers",
                    "Мерки антенны слишком велики или малы для расчёта: проверьте их."};
        case Problem::NoDishSize:
            return {"no_dish_size",
                    "Диаметр антенны не задан: смещения облучателей могут выйти короче нужного "
                    "примерно на пятую часть. Задайте диаметр антенны."};
        case Problem::MeasurementsDisagree:
            break;
    }
    return {"measurements_disagree",
            "Высота зеркала " + WholeMillimetres(value) +
                " не сходится с расстояниями от облучателя до краёв: по ним она " +
                WholeMillimetres(expected) + ". Проверьте мерки."};
}

// The first measurement that is typed but not a finite number > 0.
std::optional<DishMessage> NotPositive(const DishMeasurements& dish) {
    const std::pair<Input, const std::optional<double>*> measured[] = {
        {Input::Depth, &dish.depth_mm},    {Input::Width, &dish.width_mm},
        {Input::Height, &dish.height_mm},  {Input::FeedDistance, &dish.feed_distance_mm},
        {Input::RimLow, &dish.rim_low_mm}, {Input::RimHigh, &dish.rim_high_mm}};
    for (const auto& [input, value] : measured) {
        if (*value && !(std::isfinite(**value) && **value > 0)) {
            return MessageOf(Problem::NotPositive, input, **value);
        }
    }
    return std::nullopt;
}

std::variant<MeasuredDish, DishMessage> PrimeFocus(std::optional<double> focal_length_mm,
                                                   std::optional<double> diameter_mm,
                                                   const DishMeasurements& dish) {
    for (const auto& [input, value] :
         {std::pair{Input::Width, dish.width_mm}, std::pair{Input::Height, dish.height_mm},
          std::pair{Input::FeedDistance, dish.feed_distance_mm},
          std::pair{Input::RimLow, dish.rim_low_mm}, std::pair{Input::RimHigh, dish.rim_high_mm}}) {
        if (value) {
            return MessageOf(Problem::OffsetMeasureOnPrime, input);
        }
    }
    if (focal_length_mm && dish.depth_mm) {
        return MessageOf(Problem::FocalAndDepth);
    }
    if (!focal_length_mm && !dish.depth_mm) {
        return MessageOf(Problem::NoFocalLength);
    }
    if (dish.depth_mm && !diameter_mm) {
        return MessageOf(Problem::DepthWithoutDiameter);
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
        measured.warnings.push_back(MessageOf(Problem::NoDishSize));
    }
    return measured;
}

std::variant<MeasuredDish, DishMessage> Offset(std::optional<double> focal_length_mm,
                                               std::optional<double> diameter_mm,
                                               const DishMeasurements& dish) {
    if (focal_length_mm) {
        return MessageOf(Problem::FocalOnOffset);
    }
    if (diameter_mm) {
        return MessageOf(Problem::DiameterOnOffset);
    }
    if (!dish.width_mm) {
        return MessageOf(Problem::NoWidth);
    }
    const bool by_rims = dish.rim_low_mm || dish.rim_high_mm;
    const int ways = (dish.feed_distance_mm ? 1 : 0) + (dish.depth_mm ? 1 : 0) + (by_rims ? 1 : 0);
    if (ways == 0) {
        return MessageOf(Problem::NoWayToFocus);
    }
    if (ways > 1) {
        return MessageOf(Problem::TwoWaysToFocus);
    }
    if (by_rims && !(dish.rim_low_mm && dish.rim_high_mm)) {
        return MessageOf(Problem::OneRimOnly, dish.rim_low_mm ? Input::RimHigh : Input::RimLow);
    }
    if (!by_rims && !dish.height_mm) {
        return MessageOf(Problem::NoHeight);
    }
    const double width = *dish.width_mm;
    if (dish.height_mm && *dish.height_mm <= width) {
        return MessageOf(Problem::HeightNotAboveWidth, Input::Height, *dish.height_mm);
    }
    MeasuredDish measured;
    DishFigures& figures = measured.figures;
    figures.type = DishType::Offset;
    figures.aperture_mm = width;
    double cos_alpha = 0;
    if (by_rims) {
        const double rise = *dish.rim_high_mm - *dish.rim_low_mm;
        if (!(rise > 0)) {
            return MessageOf(Problem::RimsOutOfOrder);
        }
        const double height = std::hypot(width, rise);
        const double sum = *dish.rim_low_mm + *dish.rim_high_mm;
        if (sum < height) {
            return MessageOf(Problem::NoSuchRims);
        }
        // s^2 - H_r^2 as a product: no cancellation, no overflow of the squares.
        const double root = std::sqrt(sum - height) * std::sqrt(sum + height);
        const double ratio = width / height;
        figures.focal_length_mm = ratio * ratio * (sum + root) / 4;
        figures.effective_focal_length_mm = figures.focal_length_mm / (ratio * ratio);
        figures.offset_angle_deg = std::asin(rise / height) * Degrees;
        cos_alpha = ratio;
        if (dish.height_mm && std::fabs(*dish.height_mm - height) > HeightTolerance * height) {
            measured.warnings.push_back(
                MessageOf(Problem::MeasurementsDisagree, Input::Height, *dish.height_mm, height));
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

std::variant<MeasuredDish, DishMessage> MeasureDish(std::optional<double> focal_length_mm,
                                                    std::optional<double> diameter_mm,
                                                    const DishMeasurements& measurements) {
    if (std::optional<DishMessage> refusal = NotPositive(measurements)) {
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
            return MessageOf(Problem::BeyondNumbers);
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
