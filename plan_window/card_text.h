#pragma once

#include <string>

#include "planning/plan.h"

// The installation card's and the drawing's own words: sheets, tiles, distances read off a tape,
// feeds the card cannot carry. Part of the plan's text layer; free of Qt.

namespace tarvex {

// A distance with its unit, sized for reading off a tape: millimetres below 10 m, metres below
// 10 km, kilometres below 1000 km; beyond that "более 1000 км".
//   399.2 -> "399 мм";  12345 -> "12.3 м";  1e8 -> "100 км";  1e20 -> "более 1000 км"
std::string DistanceText(double mm);

//   (2, 4) -> "лист 2 из 4"
std::string CardPageLabel(int page, int pages);
//   (1, 2, 3) -> "ряд 1, столбец 2 из 3"
std::string CardTilePlace(int row, int column, int columns);
//   (4, feed 399 mm right) -> "Конвертор 4 не поместился на карточку: он в 399 мм от
//   конвертора 1 (399.0 мм вправо, 0.0 мм). Отмерьте это положение от центра конвертора 1."
std::string UnplacedFeedText(int number, const planning::FeedPlan& feed);

}  // namespace tarvex
