#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "direction/drawing_surface.h"
#include "direction/results_file.h"

// The compass diagram of the direction window: where satellite 1 lies as seen from the site,
// drawn facing south (south at the top, east on the left). Every coordinate, colour and angle is
// computed here; the surface only draws what it is told. Twips, x to the right, y downward.

namespace tarvex {

inline constexpr std::int16_t DiagramCentreX = 3020;
inline constexpr std::int16_t DiagramCentreY = 1608;
inline constexpr std::int16_t AxisHalfLength = 1500;
inline constexpr float EndMarkRadius = 50;
inline constexpr float AzimuthArcRadius = 400;
// The drawing (the window's client area), and the room the window font's text takes in it: a
// line's height and the widest character's width.
inline constexpr int DiagramWidth = 5010;
inline constexpr int DiagramHeight = 3315;
inline constexpr int LabelHeight = 200;
inline constexpr int LabelCharacterWidth = 90;
// The diagram's own value of pi, deliberately not the double nearest pi: every angle and every
// rounded end point depends on it.
inline constexpr double DiagramPi = 3.14159;

struct DiagramPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool operator==(const DiagramPoint&) const = default;
};

// S(theta) and C(theta): RoundToInt16(sin(theta * k) * 1500) and the same of cos, in double
// precision, with k = 3.14159 / 180 applied as (theta * 3.14159) / 180.
//   AxisSin(-20) -> -513;  AxisCos(-20) -> 1410;  AxisSin(-90) -> -1500;  AxisCos(-90) -> 0
std::int16_t AxisSin(float degrees);
std::int16_t AxisCos(float degrees);

// The ends of the line through the centre at theta degrees; a positive theta turns the line
// clockwise on screen. A(0) is the top end (south), B(0) the bottom end (north).
//   AxisEndA(0) -> (3020, 108);  AxisEndB(0) -> (3020, 3108);  AxisEndA(-20) -> (2507, 198);
//   AxisEndA(197) -> (2581, 3042);  AxisEndB(197) -> (3459, 174)
DiagramPoint AxisEndA(float degrees);
DiagramPoint AxisEndB(float degrees);

// The azimuth text rounded down to a multiple of half a degree, as NumberToText shows it:
//   "187.5" -> " 187.5";  "187.75" -> " 187.5";  "187.49" -> " 187";  "180" -> " 180";
//   "-12.7" -> "-13";  "-12.3" -> "-12.5";  "217.344291652777" -> " 217";  "abc" -> " 0"
// Throws RuntimeError "Overflow" for a text whose number is beyond single precision ("1e39").
std::string HalfDegreeFloor(std::string_view azimuth_text);

// The azimuth arc, radians as singles: counterclockwise on screen from the direction line to the
// turned north end, spanning `azimuth` degrees. `axis_shift` is the typed shift as a double.
//   (217, -20) -> {1.2740893, 5.0614505};  (217, 0) -> {0.9250237, 4.7123852}
struct ArcAngles {
    float start = 0;
    float end = 0;
};
ArcAngles AzimuthArc(double azimuth, double axis_shift);

// The angle with its magnitude reduced by whole turns (2 pi) until it lies within 2 pi, its sign
// kept, so that a negative angle still draws its radius. Angles already within are unchanged.
//   6.2831802 -> 6.2831802;  7.0 -> 7.0 - 2 pi;  -13.0 -> -(13.0 - 4 pi)
double WithinOneTurn(double radians);

// Reads the azimuth of satellite 1 and its elevation as texts (the results exchange file).
using ResultsReader = std::function<ResultsFields()>;

// START of the direction window. Holds the window's `AxisShiftText`, the text of POZIA as taken
// by the last START, which a START run during the yield of another replaces for both.
class DiagramCommand {
  public:
    explicit DiagramCommand(ResultsReader read_results);

    // Draws the whole diagram anew. Returns false when the surface's yield reported the window
    // discarded: the command then stopped there and touched nothing more, this object included
    // (it may have been destroyed with the window). Throws RuntimeError at the failing step (an
    // unreadable results file at step 9, an axis shift beyond single precision at step 4), with
    // everything before it drawn.
    [[nodiscard]] bool Run(DrawingSurface& surface, std::string_view axis_shift_input);

    const std::string& AxisShiftText() const { return m_axis_shift_text; }

  private:
    ResultsReader m_read_results;
    std::string m_axis_shift_text;
};

}  // namespace tarvex
