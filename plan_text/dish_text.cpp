#include "plan_text/dish_text.h"

#include "conversions/float_chars.h"
#include "plan_text/plan_text.h"

#include <algorithm>
#include <cmath>

namespace tarvex {
namespace {

const char* NameOf(planning::DishMeasure measure) {
    switch (measure) {
        case planning::DishMeasure::Depth:
            return "Глубина зеркала";
        case planning::DishMeasure::Width:
            return "Ширина зеркала";
        case planning::DishMeasure::Height:
            return "Высота зеркала";
        case planning::DishMeasure::FeedDistance:
            return "Расстояние от конвертора до центра зеркала";
        case planning::DishMeasure::RimLow:
            return "Расстояние от конвертора до нижнего края зеркала";
        case planning::DishMeasure::RimHigh:
            break;
        case planning::DishMeasure::FocalLength:
            return "Фокусное расстояние";
        case planning::DishMeasure::Diameter:
            return "Диаметр антенны";
        case planning::DishMeasure::FOverD:
            return "Отношение f/D";
    }
    return "Расстояние от конвертора до верхнего края зеркала";
}

// The magnitude in degrees with the word for its sense, or "0.0°, " and the word for none.
std::string Leaning(double degrees, const char* positive, const char* negative, const char* level) {
    const std::string magnitude = FixedText(std::fabs(degrees), 1) + "°";
    if (magnitude == "0.0°") {
        return magnitude + ", " + level;
    }
    return magnitude + " " + (degrees > 0 ? positive : negative);
}

}  // namespace

std::string DishIssueText(const planning::DishIssue& issue) {
    constexpr const char* OffsetWays =
        "ширину, высоту и глубину зеркала (или вместо глубины расстояние от конвертора до центра "
        "зеркала, или ширину и расстояния от конвертора до нижнего и верхнего края)";
    switch (issue.problem) {
        case planning::DishProblem::NoFocalLength:
            return "Фокусное расстояние не задано: задайте его или диаметр и глубину антенны.";
        case planning::DishProblem::FocalAndDepth:
            return "Заданы и фокусное расстояние, и глубина зеркала: оставьте что-то одно.";
        case planning::DishProblem::DepthWithoutDiameter:
            return "Глубина зеркала задана без диаметра антенны: фокусное расстояние по глубине "
                   "находят только вместе с диаметром.";
        case planning::DishProblem::OffsetMeasureOnPrime:
            return std::string(NameOf(issue.measure)) +
                   " — мерка офсетной антенны; у прямофокусной задайте фокусное расстояние "
                   "или диаметр и глубину.";
        case planning::DishProblem::FocalOnOffset:
            return std::string("Фокусное расстояние офсетной антенны не задают: измерьте ") +
                   OffsetWays + ".";
        case planning::DishProblem::DiameterOnOffset:
            return "Диаметр задают у прямофокусной антенны; у офсетной измерьте ширину и высоту "
                   "зеркала.";
        case planning::DishProblem::NotPositive:
            return std::string(NameOf(issue.measure)) + ": нужно конечное число больше 0, задано " +
                   ShortText(issue.value) + ".";
        case planning::DishProblem::NoWidth:
            return std::string("Ширина зеркала офсетной антенны не задана: измерьте ") +
                   OffsetWays + ".";
        case planning::DishProblem::NoWayToFocus:
            return std::string("Офсетной антенне не хватает мерок: измерьте ") + OffsetWays + ".";
        case planning::DishProblem::TwoWaysToFocus:
            return "Задано больше одного способа найти фокусное расстояние (расстояние до центра "
                   "зеркала, глубина, расстояния до краёв): оставьте один.";
        case planning::DishProblem::OneRimOnly:
            return std::string(NameOf(issue.measure)) +
                   " не задано: нужны расстояния и до нижнего, и до верхнего края.";
        case planning::DishProblem::NoHeight:
            return "Высота зеркала не задана: без неё не найти угол офсета антенны.";
        case planning::DishProblem::HeightNotAboveWidth:
            return "Высота зеркала " + ShortText(issue.value) + " мм не больше его ширины " +
                   ShortText(issue.expected) + " мм: у офсетного зеркала высота больше ширины.";
        case planning::DishProblem::RimsOutOfOrder:
            return "Расстояние от конвертора до верхнего края зеркала не больше, чем до нижнего: "
                   "у офсетной антенны конвертор ближе к нижнему краю.";
        case planning::DishProblem::NoSuchRims:
            return "Таких расстояний от конвертора до краёв зеркала при этой ширине не бывает ни "
                   "у одной параболической антенны: проверьте мерки.";
        case planning::DishProblem::BeyondNumbers:
            return "Мерки антенны слишком велики или малы для расчёта: проверьте их.";
        case planning::DishProblem::FocalLooksLikeFOverD:
            return "Фокусное расстояние " + ShortText(issue.value) + " мм меньше " +
                   ShortText(issue.expected) +
                   " мм: похоже, это отношение f/D. Задайте фокусное расстояние в миллиметрах "
                   "или f/D вместе с диаметром.";
        case planning::DishProblem::FOverDWithoutDiameter:
            return "Отношение f/D задано без диаметра антенны: фокусное расстояние по f/D находят "
                   "только вместе с диаметром.";
        case planning::DishProblem::FOverDWithFocal:
            return std::string("Заданы и отношение f/D, и ") +
                   (issue.measure == planning::DishMeasure::Depth ? "глубина зеркала"
                                                                  : "фокусное расстояние") +
                   ": оставьте что-то одно.";
        case planning::DishProblem::OffsetAngleOutOfRange:
            return "Угол офсета по этим меркам " + FixedText(issue.value, 1) +
                   "°, а у офсетных антенн он от " + ShortText(planning::MinOffsetAngleDeg) +
                   " до " + ShortText(planning::MaxOffsetAngleDeg) + "°: проверьте " +
                   (issue.measure == planning::DishMeasure::RimHigh
                        ? "ширину зеркала и расстояния до его краёв."
                        : "ширину и высоту зеркала.");
        case planning::DishProblem::RimBelowAxis:
            return "По этим меркам нижний край зеркала не выше оси параболы (центр зеркала в " +
                   FixedText(issue.value, 0) + " мм от оси, половина ширины " +
                   FixedText(issue.expected, 0) + " мм): такой офсетной антенны не бывает. " +
                   "Проверьте ширину зеркала, " +
                   (issue.measure == planning::DishMeasure::RimLow ? "расстояния до его краёв."
                    : issue.measure == planning::DishMeasure::Depth
                        ? "высоту и глубину."
                        : "высоту и расстояние до центра.");
        case planning::DishProblem::NoDishSize:
            return "Диаметр антенны не задан: смещения конверторов могут выйти короче нужного "
                   "примерно на пятую часть. Задайте диаметр антенны.";
        case planning::DishProblem::MeasurementsDisagree:
            break;
    }
    return "Высота зеркала " + FixedText(issue.value, 0) + " мм" +
           " не сходится с расстояниями от конвертора до краёв: по ним она " +
           FixedText(issue.expected, 0) + " мм" + ". Проверьте мерки.";
}

std::string DishTypeText(planning::DishType type) {
    return type == planning::DishType::Offset ? "офсетная" : "прямофокусная";
}

std::string DishWayText(const planning::DishWay& way) {
    using planning::DishMeasure;
    const auto needs = [&](DishMeasure measure) {
        return std::find(way.required.begin(), way.required.end(), measure) != way.required.end();
    };
    if (way.type == planning::DishType::PrimeFocus) {
        return needs(DishMeasure::FocalLength) ? "фокусное расстояние известно"
               : needs(DishMeasure::FOverD) ? "диаметр и f/D"
                                            : "диаметр и глубина";
    }
    if (needs(DishMeasure::FeedDistance)) {
        return "ширина, высота, до центра зеркала";
    }
    return needs(DishMeasure::Depth) ? "ширина, высота, глубина" : "ширина и расстояния до краёв";
}

std::string DishMeasureCaption(planning::DishMeasure measure) {
    switch (measure) {
        case planning::DishMeasure::FocalLength:
            return "Фокусное расстояние F, мм";
        case planning::DishMeasure::Diameter:
            return "Диаметр D, мм";
        case planning::DishMeasure::Depth:
            return "Глубина d, мм";
        case planning::DishMeasure::Width:
            return "Ширина W, мм";
        case planning::DishMeasure::Height:
            return "Высота H, мм";
        case planning::DishMeasure::FeedDistance:
            return "До центра зеркала L, мм";
        case planning::DishMeasure::RimLow:
            return "До нижнего края r1, мм";
        case planning::DishMeasure::FOverD:
            return "Отношение f/D";
        case planning::DishMeasure::RimHigh:
            break;
    }
    return "До верхнего края r2, мм";
}

std::string DishMeasureHint(planning::DishMeasure measure) {
    switch (measure) {
        case planning::DishMeasure::FocalLength:
            return "от центра зеркала до облучателя, по паспорту антенны";
        case planning::DishMeasure::Diameter:
            return "рулеткой по лицевой стороне, от края до края через центр";
        case planning::DishMeasure::Depth:
            return "рейку на края через центр; наибольший зазор под ней";
        case planning::DishMeasure::Width:
            return "рулеткой поперёк лицевой стороны, по горизонтали";
        case planning::DishMeasure::Height:
            return "рулеткой от верхнего края до нижнего";
        case planning::DishMeasure::FeedDistance:
            return "от среза рупора конвертора до центра зеркала";
        case planning::DishMeasure::RimLow:
            return "от среза рупора конвертора до нижней точки края зеркала";
        case planning::DishMeasure::FOverD:
            return "по паспорту антенны, например 0.4";
        case planning::DishMeasure::RimHigh:
            break;
    }
    return "от среза рупора конвертора до верхней точки края зеркала";
}

std::string DishMeasurementsLine(const planning::PlanInput& input) {
    std::string measured;
    const auto add = [&](const char* name, const std::optional<double>& millimetres) {
        if (millimetres) {
            measured += (measured.empty() ? "" : ", ") + std::string(name) + " " +
                        ShortText(*millimetres) + " мм";
        }
    };
    add("фокусное расстояние", input.focal_length_mm);
    add("диаметр", input.diameter_mm);
    add("ширина", input.dish.width_mm);
    add("высота", input.dish.height_mm);
    add("глубина", input.dish.depth_mm);
    add("до центра зеркала", input.dish.feed_distance_mm);
    add("до нижнего края", input.dish.rim_low_mm);
    add("до верхнего края", input.dish.rim_high_mm);
    if (input.dish.f_over_d) {
        measured += (measured.empty() ? "f/D " : ", f/D ") + ShortText(*input.dish.f_over_d);
    }
    return "Мерки антенны: " + measured;
}

std::string FaceTiltText(double face_tilt_deg) {
    return Leaning(face_tilt_deg, "назад от вертикали", "вперёд от вертикали", "вертикально");
}

std::string FeedAxisText(double feed_axis_elevation_deg) {
    return Leaning(feed_axis_elevation_deg, "вверх от горизонтали", "вниз от горизонтали",
                   "горизонтально");
}

std::string DishLines(const planning::Plan& plan) {
    const planning::DishFigures& dish = plan.dish;
    std::string text = "Антенна " + DishTypeText(dish.type) + ": фокусное расстояние " +
                       FixedText(dish.focal_length_mm, 1) + " мм";
    if (dish.type == planning::DishType::Offset) {
        text += ", эффективное " + FixedText(dish.effective_focal_length_mm, 1) +
                " мм, угол офсета " + FixedText(dish.offset_angle_deg, 1) + "°";
    } else {
        text += dish.aperture_mm ? ", диаметр " + FixedText(*dish.aperture_mm, 0) + " мм"
                                 : std::string(", диаметр не задан");
    }
    if (dish.f_over_d) {
        text += ", f/D " + FixedText(*dish.f_over_d, 2);
    }
    text += "\nНаклон зеркала " + FaceTiltText(dish.face_tilt_deg) +
            "; ось конвертора 1 к зеркалу " + FeedAxisText(dish.feed_axis_elevation_deg) + "\n";
    std::string aims;
    for (std::size_t k = 1; k < plan.feeds.size(); ++k) {
        aims += (k > 1 ? ", конвертор " : "конвертор ") +
                float_chars::WholeText(static_cast<long long>(k) + 1) + " на " +
                FixedText(plan.feeds[k].aim_deg, 1) + "°";
    }
    if (!aims.empty()) {
        text += "Повернуть к центру зеркала: " + aims + "\n";
    }
    return text;
}

}  // namespace tarvex
