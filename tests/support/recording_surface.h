#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "direction/drawing_surface.h"

// A drawing surface that draws nothing and keeps every call, with the state each call was made
// in, so that a diagram can be checked call by call without a window.

namespace tarvex {

enum class DrawOp {
    Clear,
    DrawMode,
    FillStyle,
    PenWidth,
    ForeColor,
    Line,
    Circle,
    Arc,
    Point,
    TextPosition,
    Print,
    Yield
};

struct DrawCall {
    DrawOp op = DrawOp::Clear;
    // The call's numeric arguments in order: coordinates, radius, angles, width, colour, mode.
    std::vector<double> args;
    std::string text;  // Print only
    // The surface's state when the call was made.
    ColorValue fore_color = ColorBlack;
    int pen_width = 1;
    float text_x = 0;
    float text_y = 0;
};

class RecordingSurface : public DrawingSurface {
  public:
    // `initial_fore_color` stands for the window's colour before anything set it; `line_height`
    // (twips) is how far a print moves the text position down.
    explicit RecordingSurface(ColorValue initial_fore_color = ColorBlack, float line_height = 195);

    void Clear() override;
    void SetDrawMode(DrawMode mode) override;
    void SetFillStyle(FillStyle style) override;
    void SetPenWidth(int pixels) override;
    void SetForeColor(ColorValue color) override;
    void Line(float x1, float y1, float x2, float y2, ColorValue color) override;
    void Circle(float x, float y, float radius) override;
    void Arc(float x, float y, float radius, double start, double end) override;
    void Point(float x, float y) override;
    void SetTextPosition(float x, float y) override;
    void Print(std::string_view text) override;
    // Recorded first, then `on_yield` runs (it may draw on this surface, as events handled
    // during a real yield may); its answer is returned. Without a hook drawing goes on.
    bool Yield() override;

    void SetOnYield(std::function<bool()> on_yield) { m_on_yield = std::move(on_yield); }

    const std::vector<DrawCall>& Calls() const { return m_calls; }
    // One line per call, numbers as short as they read back exactly, colours as six hex digits
    // (blue, green, red), and for the calls that depend on it the state in brackets:
    //   "line 3020 108 3020 3108 FF0000 w1"
    //   "circle 3020 108 50 [000000 w1]"
    //   "arc 3020 1608 400 1.2740893 5.0614505 [FF0000 w2]"
    //   "print ' SOUNT' at 3020 108 [0000FF]"
    std::vector<std::string> Transcript() const;
    void Forget() { m_calls.clear(); }  // keeps the state, drops the record

  private:
    void Record(DrawOp op, std::vector<double> args, std::string text = {});

    std::vector<DrawCall> m_calls;
    std::function<bool()> m_on_yield;
    ColorValue m_fore_color;
    int m_pen_width = 1;
    float m_text_x = 0;
    float m_text_y = 0;
    float m_line_height;
};

}  // namespace tarvex
