#pragma once

#include <string>
#include <vector>

#include "plan_window/plan_report.h"
#include "planning/plan.h"

// How the installation card lays the feeds out at 1:1 over sheets of paper (its words are the
// text layer's: card_text.h). Free of Qt.

namespace tarvex {

// Neighbouring sheets share at least this strip, wider than a feed, so that every feed lies whole
// on at least one sheet and the sheets can be laid over one another by their marks.
inline constexpr double CardOverlapMm = planning::FeedBodyMm + 10;

// The most sheets one view of the layout may take; a feed that would need more is named on the
// card instead of being drawn (it is metres away: no holder carries it).
inline constexpr int MaxCardSheets = 12;

struct CardTile {
    LayoutBounds region;  // in millimetres from feed 1's centre, up positive
    int row = 0;          // from the top
    int column = 0;       // from the left
};

struct CardTiling {
    LayoutBounds whole;  // every placed feed with its margin, in whole tens of mm
    int rows = 1;
    int columns = 1;
    std::vector<CardTile> tiles;  // row by row from the top, each from the left
    std::vector<int> unplaced;    // 0-based indices of the feeds the card cannot hold
};

// Tiles the layout of `plan`'s feeds over regions of at most `width_mm` x `height_mm` (rounded
// down to whole tens), spread evenly, neighbours overlapping by CardOverlapMm or more. Feeds are
// taken nearest first while the tiles stay within MaxCardSheets; feed 1 is always placed.
//   Tiberias 13 -> 19.2 E, F 600 on 170 x 230 -> 1 tile, nothing unplaced
//   feeds at 0, 278 and 399 mm to the right, on 170 x 230 -> 1 row of 4 tiles
//   a feed at 1e20 mm -> only feed 1 placed, that feed unplaced
CardTiling TileCard(const planning::Plan& plan, double width_mm, double height_mm);

// The plan as seen from in front of the dish: right and left, and the senses of rotation,
// swapped.
planning::Plan MirroredPlan(const planning::Plan& plan);

// The sheet (0-based) each item of the given heights lands on, stacked from the top of sheets of
// `page_mm`, an item that does not fit starting a new sheet.
//   ({100, 100, 100}, 250) -> {0, 0, 1}
std::vector<int> PackOnPages(const std::vector<double>& heights_mm, double page_mm);

}  // namespace tarvex
