#include "tests/support/recording_surface.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <utility>

namespace tarvex {
namespace {

// The shortest text that reads back as the same value; a value that is a single is written as
// the single it is (1.2740893, not 1.2740893363952637).
std::string ShortNumber(double value) {
    std::array<char, 32> buffer{};
    const float single = static_cast<float>(value);
    const auto [end, ec] = static_cast<double>(single) == value
                               ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), single)
                               : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ec;  // 32 characters hold any shortest double
    return std::string(buffer.data(), end);
}

std::string ColorText(double color) {
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%06X", static_cast<unsigned>(color));
    return buffer.data();
}

std::string Numbers(const std::vector<double>& args, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && i < args.size(); ++i) {
        text += ' ' + ShortNumber(args[i]);
    }
    return text;
}

std::string ForeState(const DrawCall& call) {
    return " [" + ColorText(call.fore_color) + " w" + std::to_string(call.pen_width) + "]";
}

std::string Describe(const DrawCall& call) {
    const auto& args = call.args;
    switch (call.op) {
        case DrawOp::Clear:
            return "clear";
        case DrawOp::DrawMode:
            return "draw-mode" + Numbers(args, 1);
        case DrawOp::FillStyle:
            return "fill-style" + Numbers(args, 1);
        case DrawOp::PenWidth:
            return "pen-width" + Numbers(args, 1);
        case DrawOp::ForeColor:
            return "fore-color " + ColorText(args.at(0));
        case DrawOp::Line:
            return "line" + Numbers(args, 4) + ' ' + ColorText(args.at(4)) + " w" +
                   std::to_string(call.pen_width);
        case DrawOp::Circle:
            return "circle" + Numbers(args, 3) + ForeState(call);
        case DrawOp::Arc:
            return "arc" + Numbers(args, 5) + ForeState(call);
        case DrawOp::Point:
            return "point" + Numbers(args, 2) + ForeState(call);
        case DrawOp::TextPosition:
            return "text-position" + Numbers(args, 2);
        case DrawOp::Print:
            return "print '" + call.text + "' at " + ShortNumber(call.text_x) + ' ' +
                   ShortNumber(call.text_y) + " [" + ColorText(call.fore_color) + "]";
        case DrawOp::Yield:
            return "yield";
    }
    return "?";
}

}  // namespace

RecordingSurface::RecordingSurface(ColorValue initial_fore_color, float line_height)
    : m_fore_color(initial_fore_color), m_line_height(line_height) {}

void RecordingSurface::Record(DrawOp op, std::vector<double> args, std::string text) {
    m_calls.push_back(DrawCall{op, std::move(args), std::move(text), m_fore_color, m_pen_width,
                               m_text_x, m_text_y});
}

void RecordingSurface::Clear() {
    m_text_x = 0;
    m_text_y = 0;
    Record(DrawOp::Clear, {});
}

void RecordingSurface::SetDrawMode(DrawMode mode) {
    Record(DrawOp::DrawMode, {static_cast<double>(mode)});
}

void RecordingSurface::SetFillStyle(FillStyle style) {
    Record(DrawOp::FillStyle, {static_cast<double>(style)});
}

void RecordingSurface::SetPenWidth(int pixels) {
    m_pen_width = pixels;
    Record(DrawOp::PenWidth, {static_cast<double>(pixels)});
}

void RecordingSurface::SetForeColor(ColorValue color) {
    m_fore_color = color;
    Record(DrawOp::ForeColor, {static_cast<double>(color)});
}

void RecordingSurface::Line(float x1, float y1, float x2, float y2, ColorValue color) {
    Record(DrawOp::Line, {x1, y1, x2, y2, static_cast<double>(color)});
}

void RecordingSurface::Circle(float x, float y, float radius) {
    Record(DrawOp::Circle, {x, y, radius});
}

void RecordingSurface::Arc(float x, float y, float radius, double start, double end) {
    Record(DrawOp::Arc, {x, y, radius, start, end});
}

void RecordingSurface::Point(float x, float y) {
    Record(DrawOp::Point, {x, y});
}

void RecordingSurface::SetTextPosition(float x, float y) {
    m_text_x = x;
    m_text_y = y;
    Record(DrawOp::TextPosition, {x, y});
}

void RecordingSurface::Print(std::string_view text) {
    Record(DrawOp::Print, {}, std::string(text));
    m_text_x = 0;
    m_text_y += m_line_height;
}

bool RecordingSurface::Yield() {
    Record(DrawOp::Yield, {});
    return m_on_yield ? m_on_yield() : true;
}

std::vector<std::string> RecordingSurface::Transcript() const {
    std::vector<std::string> lines;
    lines.reserve(m_calls.size());
    for (const DrawCall& call : m_calls) {
        lines.push_back(Describe(call));
    }
    return lines;
}

}  // namespace tarvex
