#pragma once

#include <cstdint>
#include <string_view>

// The drawing surface of a window as the direction diagram uses it. Coordinates are twips from
// the top-left corner of the client area (x to the right, y downward), widths are pixels.

namespace tarvex {

// A colour value: red in the lowest byte, green in the next, blue in the third.
using ColorValue = std::uint32_t;
inline constexpr ColorValue ColorBlack = 0x000000;
inline constexpr ColorValue ColorRed = 0x0000FF;
inline constexpr ColorValue ColorBlue = 0xFF0000;
inline constexpr ColorValue ColorCyan = 0xFFFF00;

// Drawing replaces the pixels with the pen colour (the platform's mode number 13).
enum class DrawMode { CopyPen = 13 };

// How closed figures (circles, sectors) are filled; the fill colour is always black.
enum class FillStyle { Solid = 0, Transparent = 1 };

class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    // Erases everything drawn; the current text position returns to (0, 0).
    virtual void Clear() = 0;
    virtual void SetDrawMode(DrawMode mode) = 0;
    virtual void SetFillStyle(FillStyle style) = 0;
    // Width in pixels of lines, outlines and points.
    virtual void SetPenWidth(int pixels) = 0;
    // Colour of circles, arcs, points and text; kept until set again, also across clears.
    virtual void SetForeColor(ColorValue color) = 0;

    // A straight segment in `color` at the pen width.
    virtual void Line(float x1, float y1, float x2, float y2, ColorValue color) = 0;
    // Outlined in the foreground colour, filled by the fill style.
    virtual void Circle(float x, float y, float radius) = 0;
    // Counterclockwise on screen from `start` to `end`, radians, 0 pointing right (pi/2 up).
    // A negative angle stands for its magnitude and also draws the radius to that end; with both
    // negative the sector is closed and filled. Both must lie within -2 pi .. 2 pi.
    virtual void Arc(float x, float y, float radius, double start, double end) = 0;
    // A dot of the pen width in the foreground colour.
    virtual void Point(float x, float y) = 0;

    // Where the next text starts: its top-left corner.
    virtual void SetTextPosition(float x, float y) = 0;
    // Draws the text in the window font and foreground colour on a transparent background at
    // the current text position, then moves the position to the left edge one line lower.
    virtual void Print(std::string_view text) = 0;

    // Lets pending user-interface events be handled. False when the window was discarded
    // meanwhile: the caller must then stop at once and touch neither the surface nor the window.
    [[nodiscard]] virtual bool Yield() = 0;
};

}  // namespace tarvex
