#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plan_window/plan_form.h"
#include "planning/plan.h"

// The plan in words and the frame of its drawing, for the window, the clipboard and the card.
// Free of Qt.

namespace tarvex {

// Every feed is drawn as a circle of this diameter: the usual LNB's collar.
inline constexpr double FeedDiameterMm = 40;

// Degrees with one decimal and the sense of a feed's rotation, seen from behind the dish.
//   12.34 -> "12.3° по часовой стрелке, если смотреть сзади на антенну"
//   -0.5 -> "0.5° против часовой стрелки, если смотреть сзади на антенну";  0.01 -> "0.0°"
std::string RotationText(double degrees);

// A feed's offset from feed 1 in millimetres with one decimal, with words.
//   (64.21, -37.06) -> "64.2 мм вправо, 37.1 мм вниз";  (-3, 0.02) -> "3.0 мм влево, 0.0 мм"
std::string OffsetText(double right_mm, double up_mm);

// An orbital position with one decimal: 19.2 -> "19.2° в.д.";  -4.5 -> "4.5° з.д."
std::string SatelliteText(double degrees);

// One row of the results table: a caption and one cell per feed.
struct ReportRow {
    std::string caption;
    std::vector<std::string> cells;  // "" where the row does not apply (feed 1's offset)
};

// The results per feed: satellite, azimuth true and magnetic, elevation, rotation and, from
// feed 2 on, rotation against feed 1, offset, centre distance and tilt of the line.
std::vector<ReportRow> FeedTable(const planning::Plan& plan);

// Each warning as one line, naming its feed where it concerns one.
//   {"collision", 2, "Облучатели не помещаются рядом."} -> "Облучатель 2: Облучатели не ..."
std::vector<std::string> WarningLines(const planning::Plan& plan);

// The whole plan as plain text, inputs first, one item per line: what "Копировать" copies and
// the card prints.
std::vector<std::string> ReportLines(const planning::PlanInput& input, const planning::Plan& plan);

// The region a drawing of the feeds shows, in millimetres from feed 1's centre (up positive).
struct LayoutBounds {
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
};

// Every feed's circle and `marker`, with a margin, in whole tens of millimetres; `centred` makes
// the region symmetric about feed 1.
//   feeds at (0, 0) and (64, -37), no marker, not centred -> {-30, 90, -70, 30}
//   the same centred -> {-90, 90, -90, 90}
LayoutBounds FeedLayoutBounds(const planning::Plan& plan, const std::optional<FeedPosition>& marker,
                              bool centred);

}  // namespace tarvex
