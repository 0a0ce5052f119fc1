#include "plan_window/dish_text.h"

#include <charconv>
#include <cmath>

namespace tarvex {
namespace {

// Fixed decimals whatever the process's locale; never "-0.0".
std::string Fixed(double value, int decimals) {
    char text[400];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    std::string fixed(text, end);
    if (fixed.front() == '-' && fixed.find_first_not_of("-0.") == std::string::npos) {
        fixed.erase(0, 1);
    }
    return fixed;
}

// The magnitude in degrees with the word for its sense, or "0.0°, " and the word for none.
std::string Leaning(double degrees, const char* positive, const char* negative, const char* level) {
    const std::string magnitude = Fixed(std::fabs(degrees), 1) + "°";
    if (magnitude == "0.0°") {
        return magnitude + ", " + level;
    }
    return magnitude + " " + (degrees > 0 ? positive : negative);
}

}  // namespace

std::string DishTypeText(planning::DishType type) {
    return type == planning::DishType::Offset ? "офсетная" : "прямофокусная";
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
                       Fixed(dish.focal_length_mm, 1) + " мм";
    if (dish.type == planning::DishType::Offset) {
        text += ", эффективное " + Fixed(dish.effective_focal_length_mm, 1) + " мм, угол офсета " +
                Fixed(dish.offset_angle_deg, 1) + "°";
    } else {
        text += dish.aperture_mm ? ", диаметр " + Fixed(*dish.aperture_mm, 0) + " мм"
                                 : std::string(", диаметр не задан");
    }
    if (dish.f_over_d) {
        text += ", f/D " + Fixed(*dish.f_over_d, 2);
    }
    text += "\nНаклон зеркала " + FaceTiltText(dish.face_tilt_deg) +
            "; ось облучателя 1 к зеркалу " + FeedAxisText(dish.feed_axis_elevation_deg) + "\n";
    std::string aims;
    for (std::size_t k = 1; k < plan.feeds.size(); ++k) {
        aims += (k > 1 ? ", облучатель " : "облучатель ") + std::to_string(k + 1) + " на " +
                Fixed(plan.feeds[k].aim_deg, 1) + "°";
    }
    if (!aims.empty()) {
        text += "Повернуть к центру зеркала: " + aims + "\n";
    }
    return text;
}

}  // namespace tarvex
