#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// The card's title and who made it.
//   "Карточка установки мультифида";  ("1.0.0") -> "Составлена программой Tarvex 1.0.0."
std::string CardTitle();

// The job's customer and note, each on a line of its own where given.
//   ("Иванов", "") -> {"Заказчик: Иванов"};  ("", "крыша") -> {"Заметка: крыша"}
std::vector<std::string> CardJobLines(std::string_view customer, std::string_view note);
std::string CardMadeBy(std::string_view version);

// How to print and use the layouts that follow the words.
std::string CardHowToUse();

// Where one view takes several sheets: how many, and how to lay them together.
//   (4, 2, 2, 50) -> "Раскладка не помещается на один лист: листов на каждый вид — 4 (рядов: 2,
//     столбцов: 2). Листы перекрываются не меньше чем на 50 мм: ..."
std::string CardTilingNote(int sheets, int rows, int columns, double overlap_mm);

// A layout sheet's header: the up arrow's word, the view, the notes under it.
//   "ВЕРХ";  (false) -> "Вид сзади на антенну: стоя за ней, лицом к спутникам"
std::string CardUpWord();
std::string CardViewTitle(bool from_front);
//   (row 1, column 2 of 3, 2 rows, unplaced {3, 4}) -> {"ряд 1, столбец 2 из 3 (рядов: 2)",
//     "в натуральную величину, мм от центра конвертора 1", "не поместились: конвертор 3, 4 —
//     см. лист 1"}; a single sheet and nothing unplaced -> the middle note only
std::vector<std::string> CardSheetNotes(int row, int column, int columns, int rows,
                                        const std::vector<int>& unplaced_feeds);

// Every page's foot: the program, the site and the satellites, should the pages be parted.
//   ("1.0.0", 35.4615, 32.80833, {13, 19.2}) -> "Tarvex 1.0.0 · долгота 35.4615°, широта
//     32.8083° · спутники 13.0° в.д., 19.2° в.д."
std::string CardFoot(std::string_view version, double longitude_deg, double latitude_deg,
                     const std::vector<double>& satellites_deg);

// Where a neighbouring sheet's edge lies, and the scale bar's caption.
//   (3) -> "край листа 3";  "100 мм: проверьте масштаб печати"
std::string SheetEdgeText(int sheet);
std::string ScaleBarText();

}  // namespace tarvex
