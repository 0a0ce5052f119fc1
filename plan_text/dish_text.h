#pragma once

#include <string>

#include "planning/plan.h"

// The dish's figures, warnings and refusals in Russian words: part of the plan's text layer.
// Free of Qt; numbers never depend on the process's locale.

namespace tarvex {

// A warning or a refusal about the dish, naming the measurement it concerns.
//   {NoHeight} -> "Высота зеркала не задана: без неё не найти угол офсета антенны."
//   {NotPositive, Depth, -79} -> "Глубина зеркала: нужно конечное число больше 0, задано -79."
//   {MeasurementsDisagree, Height, 910, 883.07} -> "Высота зеркала 910 мм не сходится с ..."
std::string DishIssueText(const planning::DishIssue& issue);

// "прямофокусная" or "офсетная".
std::string DishTypeText(planning::DishType type);

// A way of measuring the dish (planning::DishWays), as a form offers it.
//   prime, F -> "фокусное расстояние известно";  offset, W, H, depth -> "ширина, высота, глубина"
std::string DishWayText(const planning::DishWay& way);

// A measurement's caption in a form, with its letter on the dish's sketch and its unit.
//   Width -> "Ширина W, мм";  RimLow -> "До нижнего края r1, мм"
std::string DishMeasureCaption(planning::DishMeasure measure);

// Where to put the tape or the straightedge for a measurement, one line.
//   Width -> "рулеткой поперёк лицевой стороны, по горизонтали"
std::string DishMeasureHint(planning::DishMeasure measure);

// The dish as measured, for the card above DishLines (which names its type): each measurement
// given, in millimetres as typed (shortest form).
//   offset W 800, H 883, depth 79 -> "Мерки антенны: ширина 800 мм, высота 883 мм, глубина 79 мм"
//   prime F 600, D 1000 -> "Мерки антенны: фокусное расстояние 600 мм, диаметр 1000 мм"
std::string DishMeasurementsLine(const planning::PlanInput& input);

// The face's tilt from vertical with its sense, one decimal.
//   19.78 -> "19.8° назад от вертикали";  -13.1 -> "13.1° вперёд от вертикали";
//   0.02 -> "0.0°, вертикально"
std::string FaceTiltText(double face_tilt_deg);

// Feed 1's axis toward the dish, as an inclinometer on the feed's body reads it.
//   5.26 -> "5.3° вверх от горизонтали";  -44.82 -> "44.8° вниз от горизонтали";
//   0 -> "0.0°, горизонтально"
std::string FeedAxisText(double feed_axis_elevation_deg);

// A few lines under the feeds of the plan's table, each ending in '\n': the dish's type and
// figures, how its face and feed 1 lean, how far each other feed turns toward the reflector's
// centre.
//   offset W 800, H 883, depth 79 at Tiberias, 13 -> 19.2 ->
//     "Антенна офсетная: фокусное расстояние 458.7 мм, эффективное 558.9 мм, угол офсета 25.0°,
//      f/D 0.70\n"  (one line)
//     "Наклон зеркала 19.8° назад от вертикали; ось конвертора 1 к зеркалу 5.3° вверх от
//      горизонтали\n"  (one line)
//     "Повернуть к центру зеркала: конвертор 2 на 7.5°\n"
//   prime focus F 600, no diameter -> "Антенна прямофокусная: фокусное расстояние 600.0 мм,
//     диаметр не задан\n..."
std::string DishLines(const planning::Plan& plan);

}  // namespace tarvex
