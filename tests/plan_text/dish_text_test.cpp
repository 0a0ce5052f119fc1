#include "plan_text/dish_text.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

using planning::DishType;

planning::Plan PlanOn(const planning::DishFigures& dish, std::vector<double> aims) {
    planning::Plan plan;
    plan.dish = dish;
    for (const double aim : aims) {
        plan.feeds.push_back({});
        plan.feeds.back().aim_deg = aim;
    }
    return plan;
}

// The worked examples' figures (tests/planning/reference_figures.py), and a third feed.
TEST(DishLines, SayTheDishAndHowItLeans) {
    const std::pair<planning::Plan, const char*> rows[] = {
        {PlanOn({DishType::Offset, 458.7353, 558.8608, 800, 25.0414, 0.69858, 19.7821, 5.2593},
                {0, 7.5479}),
         "Антенна офсетная: фокусное расстояние 458.7 мм, эффективное 558.9 мм, угол офсета 25.0°, "
         "f/D 0.70\n"
         "Наклон зеркала 19.8° назад от вертикали; ось конвертора 1 к зеркалу 5.3° вверх от "
         "горизонтали\n"
         "Повернуть к центру зеркала: конвертор 2 на 7.5°\n"},
        {PlanOn({DishType::Offset, 459.67, 560, 800, 25.0414, 0.7, -13.1131, 38.1545}, {0, 5.6}),
         "Антенна офсетная: фокусное расстояние 459.7 мм, эффективное 560.0 мм, угол офсета 25.0°, "
         "f/D 0.70\n"
         "Наклон зеркала 13.1° вперёд от вертикали; ось конвертора 1 к зеркалу 38.2° вверх от "
         "горизонтали\n"
         "Повернуть к центру зеркала: конвертор 2 на 5.6°\n"},
        {PlanOn({DishType::PrimeFocus, 600.9615, 600.9615, 1000, 0, 0.60096, 0.04, -0.04},
                {0, 7.7292, 12.04}),
         "Антенна прямофокусная: фокусное расстояние 601.0 мм, диаметр 1000 мм, f/D 0.60\n"
         "Наклон зеркала 0.0°, вертикально; ось конвертора 1 к зеркалу 0.0°, горизонтально\n"
         "Повернуть к центру зеркала: конвертор 2 на 7.7°, конвертор 3 на 12.0°\n"},
    };
    for (const auto& [plan, lines] : rows) {
        EXPECT_EQ(DishLines(plan), lines);
    }
}

// The card's measurements as typed: only those given, a rim distance's decimals kept.
TEST(DishMeasurementsLine, NamesEveryMeasurementGiven) {
    planning::PlanInput offset;
    offset.dish = {DishType::Offset, {}, 800, {}, {}, 460.5, 834, {}};
    EXPECT_EQ(DishMeasurementsLine(offset),
              "Мерки антенны: ширина 800 мм, до нижнего края 460.5 мм, до верхнего края 834 мм");
    planning::PlanInput prime;
    prime.focal_length_mm = 600;
    prime.diameter_mm = 1000;
    EXPECT_EQ(DishMeasurementsLine(prime),
              "Мерки антенны: фокусное расстояние 600 мм, диаметр 1000 мм");
}

}  // namespace
}  // namespace tarvex
