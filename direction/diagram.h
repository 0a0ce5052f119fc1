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

// The drawing (the window's client area), in twips, and the room the window font's text takes in
// it: a line's height and the widest character's width.
inline constexpr int DiagramWidth = 5010;
inline constexpr int DiagramHeight = 3315;
inline constexpr int LabelHeight = 200;
inline constexpr int LabelCharacterWidth = 90;

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

// Reads the azimuth of satellite 1 and its elevation as texts (the results exchange file).
using ResultsReader = std::function<ResultsFields()>;

// START of the direction window. Holds the window's `AxisShiftText`, the text of POZIA as taken
// by the last START, which a START run during the yield of another replaces for both.
class DiagramCommand {
  public:
    explicit DiagramCommand(ResultsReader read_results);

    // Draws the whole diagram anew. Returns false when the surface's yield reported the window
    // discarded: the command then stopped there and touched nothing more, this object included
    // (it may have been destroyed with the window). Throws RuntimeError where the drawing fails
    // (an axis shift beyond single precision once the fixed axes are drawn, an unreadable results
    // file after the yield and the centre dot), with everything before it drawn.
    [[nodiscard]] bool Run(DrawingSurface& surface, std::string_view axis_shift_input);

    const std::string& AxisShiftText() const { return m_axis_shift_text; }

  private:
    ResultsReader m_read_results;
    std::string m_axis_shift_text;
};

}  // namespace tarvex
