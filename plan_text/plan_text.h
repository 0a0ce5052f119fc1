#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "conversions/typed_text.h"
#include "planning/plan.h"
#include "planning/plan_sun.h"

// Every word and every number shown of the precise plan: the table of `tarvex-calc plan` (which
// is also what the plan window copies), the window's results, warnings and explanation, the
// card's lines and the reasons an input is refused. The plan itself holds numbers and kinds only.
// Numbers are written with a decimal point whatever the process's locale, never as "-0.0";
// angles keep their ranges after rounding. Free of Qt.

namespace tarvex {

// ---- Numbers ----

// Fixed decimals, a point in every locale; a value that rounds to zero is written without a sign.
//   (63.64, 1) -> "63.6";  (-0.04, 1) -> "0.0";  (0.9053, 3) -> "0.905";  (-2.5, 0) -> "-2"
std::string FixedText(double value, int decimals);

// The shortest text that reads back as the value, whole numbers below 1e15 in full:
//   19.2 -> "19.2";  600 -> "600";  -70 -> "-70";  -3e5 -> "-300000";  1.5e-7 -> "1.5e-07"
std::string ShortText(double value);

// An azimuth with one decimal, in [0, 360) as written: 217.34 -> "217.4°";  359.96 -> "0.0°"
std::string AzimuthText(double degrees);

// Degrees with fixed decimals: (44.82, 1) -> "44.8°";  (6.9994, 2) -> "7.00°"
std::string DegreesText(double degrees, int decimals = 1);

// Millimetres with one decimal: 73.66 -> "73.7 мм"
std::string MillimetresText(double millimetres);

// ---- Words ----

// "Конвертор 2"
std::string FeedName(int feed);

// An orbital position, folded into (-180, 180]: 19.2 -> "19.2° в.д.";  -4.5 -> "4.5° з.д.";
// 0 -> "0.0°";  375 -> "15.0° в.д."
std::string SatelliteText(double degrees);

// A site with four decimals: (35.4615, 32.80833) -> "35.4615° в.д., 32.8083° с.ш."
std::string SiteText(double longitude_deg, double latitude_deg);

// A feed's rotation with one decimal and its sense, seen from behind the dish (the viewpoint is
// stated once, by ViewpointText); (-90, 90] as written.
//   30.17 -> "30.2° по часовой";  -0.65 -> "0.6° против часовой";  0.04 -> "0.0°";
//   -89.97 -> "90.0° по часовой"
std::string RotationText(double degrees);

// What a rotation of 0 is: shown once beside every rotation.
//   -> "Поворот: 0° — разъём конвертора смотрит вниз."
std::string RotationZeroText();

// The one viewpoint of every offset, line and rotation, stated once.
//   -> "Вид сзади антенны: вправо, вниз и «по часовой» — как видно, стоя за антенной."
std::string ViewpointText();

// A feed's offset from feed 1 in millimetres with one decimal, with words.
//   (64.21, -37.06) -> "64.2 мм вправо, 37.1 мм вниз";  (-3, 0.02) -> "3.0 мм влево, 0.0 мм"
std::string OffsetText(double right_mm, double up_mm);

// One offset: (63.64, "вправо", "влево") -> "63.6 мм вправо";  (0.02, ...) -> "0.0 мм"
std::string SignedMillimetresText(double millimetres, const char* positive, const char* negative);

// The line from feed 1 to a feed, as directions and its angle to the horizontal in whole degrees,
// never read as a rotation.
//   (63.64, -37.10) -> "вправо и вниз, под 30° к горизонтали";  (-61.9, 0) -> "влево, по
//   горизонтали";  (0, 50) -> "вверх, по вертикали";  (0, 0) -> "—"
std::string LineText(double right_mm, double up_mm);

// The magnetic declination with east or west: 5.097 -> "5.1° к востоку";  -11.15 -> "11.2° к
// западу";  0.02 -> "0.0°"
std::string DeclinationText(double degrees);

// "Магнитное склонение 5.1° к востоку": the same words in the table, the window and the card.
std::string DeclinationLine(double degrees);

// Decibels with one decimal: 2.21 -> "2.2 дБ"
std::string DecibelsText(double decibels);

// A loss against feed 1 as a level, with a minus sign: 2.21 -> "−2.2 дБ";  0.02 -> "0.0 дБ"
std::string LossText(double decibels);

// A feed's verdict by its beam (planning::VerdictOf):
//   loss 0.42 -> "почти как конвертор 1";  2.21 -> "слабее на 2.2 дБ";
//   4.0 -> "слабее на 4.0 дБ, только для сильного спутника с запасом";
//   degraded -> "не на этой антенне: нужна вторая антенна"
std::string VerdictText(const planning::FeedPlan& feed);

// An axial shift in words, whole millimetres; "" where it rounds to none.
//   12.1 -> "на 12 мм ближе к зеркалу";  -8 -> "на 8 мм дальше от зеркала";  0.3 -> ""
std::string AxialText(double axial_mm);

// The focus advice of a BetterFocus warning:
//   feed 2 (19.2), 1.2 instead of 2.5 -> "Лучше навести антенну на 19.2° в.д.: худший конвертор
//   −1.2 дБ вместо −2.5 дБ."
std::string FocusAdviceText(const planning::PlanWarning& warning, const planning::Plan& plan);

// A feed as the card names it beside its cross-hair: the satellite's longitude and short name
// (the first of its position's names, where the list has it), then with the optics its loss and
// any axial shift, one item a line.
//   feed 2 at 19.2, 2.21 dB, axial 12.1 -> "19.2° в.д. Astra\n−2.2 дБ\nна 12 мм ближе к
//   зеркалу";  without the optics -> "19.2° в.д. Astra"
std::string CardFeedText(const planning::FeedPlan& feed, const planning::Plan& plan);

// YYYY-MM-DD: {2026, 12, 7} -> "2026-12-07"
std::string DateText(const planning::Date& date);

// One warning in one sentence or two: it names its feed once, at its start, and says what to do.
//   Collision of feed 2 with feed 1 at 31.4 mm -> "Конвертор 2: его центр в 31.4 мм от центра
//   конвертора 1, меньше 40 мм: рядом они не встанут. Возьмите конверторы поуже, моноблок или
//   антенну с большим фокусным расстоянием."
std::string WarningText(const planning::PlanWarning& warning, const planning::Plan& plan);

// WarningText of each warning, in the plan's order.
std::vector<std::string> WarningLines(const planning::Plan& plan);

// Why an input was refused, naming the input, one sentence.
//   SatelliteCount 1 -> "Нужно от 2 до 4 спутников, задано 1.";
//   SameSatellite 3 and 1 at 13 -> "Спутник 3 (13°) тот же, что спутник 1: укажите разные
//   спутники."
std::string RefusalText(const planning::PlanRefusal& refusal);

// Why a typed text is refused, for tarvex-calc's error lines: "not " + `what`, then the text
// (quoted, a line break in it escaped) where it can be shown and the reason where there is more
// to say than that.
//   ("an angle", "-4:30W", SignWithHemisphere) -> "not an angle: \"-4:30W\" (a sign and a
//   hemisphere together)";  ("a town", "\xff", NotUtf8) -> "not a town: the text is not UTF-8";
//   ("a number", "600 mm", NotANumber) -> "not a number: \"600 mm\""
std::string TypedTextEnglish(std::string_view what, std::string_view text, TextProblem problem);

// The reason alone, for the window and the page; "" for NotANumber, which each field words.
//   SignWithHemisphere -> "Знак и полушарие вместе: оставьте что-то одно";
//   NotUtf8 -> "Текст не в кодировке UTF-8"
std::string TextProblemText(TextProblem problem);

// A short explanation of which numbers to trust: the main window's simplified model against the
// precise plan. One paragraph, for the window under its results (and the README says the same).
std::string ExplanationText();

// ---- The plan as a whole ----

// One row of the results table: a caption and one cell per feed ("—" where the row does not
// apply, as feed 1's offset from itself).
struct ReportRow {
    std::string caption;
    std::vector<std::string> cells;
};

// The results per feed: satellite, azimuths true and by compass, elevation, angle from the
// dish's axis, rotation and, from feed 2 on, rotation against feed 1, offsets, distance and the
// line from feed 1; with the optics, from feed 2 on, the loss against feed 1, the verdict and an
// axial shift ("—" where there is none). With no feeds: the captions, each with no cells.
std::vector<ReportRow> FeedTable(const planning::Plan& plan);

// When the sun stands at a satellite's azimuth: the time to the minute on the zone's clock (UTC's
// where no zone is known), with the date where it is not `date`, and the sun's elevation then.
//   2026-12-07T11:56:48Z at +7200, 24.37, date 2026-12-07 -> "13:57 UTC+2, высота 24.4°"
//   2026-12-08T11:57:33Z, no zone, date 2026-12-07 -> "2026-12-08 11:58 UTC, высота 24.2°"
//   offset -12600 -> "... UTC-3:30, ...";  none -> "сегодня не будет"
std::string SunTimeText(const std::optional<planning::SunTime>& sun, const planning::Date& date);

// The table's row of the sun at each feed's satellite (SunTimeText of each of `sun`).
ReportRow SunRow(const planning::Plan& plan,
                 const std::vector<std::optional<planning::SunTime>>& sun);

// How to use the sun's times instead of a compass, one line.
//   -> "Солнце вместо компаса: в это время антенна смотрит в сторону солнца, а тень ..."
std::string SunHintText();

// The plan as a table for a terminal, one column per feed, lines ending in '\n': a title, the
// input, the table with the sun's row (`sun`, SunTimes), the viewpoint, the rotation's zero, the
// sun's hint, the declination with the beam deviation factor, the dish and then the warnings.
// `tarvex-calc plan` prints it and the plan window copies it. `place`: the site's name where it
// was chosen by name, shown before its coordinates.
//   place "Екатеринбург, Свердловская область, Россия" -> "Место Екатеринбург, Свердловская
//     область, Россия (60.6122° в.д., 56.8519° с.ш.); дата 2026-12-07" as the input line
std::string PlanText(const planning::PlanInput& input, const planning::Plan& plan,
                     const std::vector<std::optional<planning::SunTime>>& sun,
                     std::string_view place = {});

// The plan as lines for the card, one item per line, inputs first, then each feed's items, then
// the warnings; "" separates the parts. `place` as for PlanText.
std::vector<std::string> ReportLines(const planning::PlanInput& input, const planning::Plan& plan,
                                     std::string_view place = {});

}  // namespace tarvex
