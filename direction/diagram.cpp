#include "direction/diagram.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "conversions/checked_math.h"
#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "conversions/text.h"

namespace tarvex {
namespace {

constexpr std::int16_t DiagramCentreX = 3020;
constexpr std::int16_t DiagramCentreY = 1608;
constexpr std::int16_t AxisHalfLength = 1500;
constexpr float EndMarkRadius = 50;
constexpr float AzimuthArcRadius = 400;
// The diagram's own value of pi, deliberately not the double nearest pi: every angle and every
// rounded end point depends on it.
constexpr double DiagramPi = 3.14159;

// Degrees to radians with the diagram's pi, multiplied before divided: every rounded end point
// depends on that order.
double DiagramRadians(double degrees) {
    return Div(Mul(degrees, DiagramPi), 180);
}

struct DiagramPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
};

// S(theta) and C(theta): RoundToInt16(sin(theta * k) * 1500) and the same of cos, in double
// precision, with k = 3.14159 / 180 applied as (theta * 3.14159) / 180.
//   AxisSin(-20) -> -513;  AxisCos(-20) -> 1410;  AxisSin(-90) -> -1500;  AxisCos(-90) -> 0
std::int16_t AxisSin(float degrees) {
    return RoundToInt16(Mul(Sin(DiagramRadians(degrees)), AxisHalfLength));
}

std::int16_t AxisCos(float degrees) {
    return RoundToInt16(Mul(Cos(DiagramRadians(degrees)), AxisHalfLength));
}

// The ends of the line through the centre at theta degrees; a positive theta turns the line
// clockwise on screen. A(0) is the top end (south), B(0) the bottom end (north).
//   AxisEndA(0) -> (3020, 108);  AxisEndB(0) -> (3020, 3108);  AxisEndA(-20) -> (2507, 198);
//   AxisEndA(197) -> (2581, 3042);  AxisEndB(197) -> (3459, 174)
DiagramPoint AxisEndA(float degrees) {
    return {static_cast<std::int16_t>(DiagramCentreX + AxisSin(degrees)),
            static_cast<std::int16_t>(DiagramCentreY - AxisCos(degrees))};
}

DiagramPoint AxisEndB(float degrees) {
    return {static_cast<std::int16_t>(DiagramCentreX - AxisSin(degrees)),
            static_cast<std::int16_t>(DiagramCentreY + AxisCos(degrees))};
}

// The angle with its magnitude reduced by whole turns (2 pi) until it lies within 2 pi, its sign
// kept, so that a negative angle still draws its radius. Angles already within are unchanged.
//   6.2831802 -> 6.2831802;  7.0 -> 7.0 - 2 pi;  -13.0 -> -(13.0 - 4 pi)
double WithinOneTurn(double radians) {
    constexpr double FullTurn = 2 * std::numbers::pi;
    const double magnitude = std::fabs(radians);
    if (magnitude <= FullTurn) {
        return radians;
    }
    const double reduced = std::fmod(magnitude, FullTurn);
    return std::signbit(radians) ? -reduced : reduced;
}

float AsSurfaceCoordinate(std::int16_t twips) {
    return static_cast<float>(twips);
}

void DrawAxis(DrawingSurface& surface, float degrees) {
    const DiagramPoint a = AxisEndA(degrees);
    const DiagramPoint b = AxisEndB(degrees);
    surface.Line(AsSurfaceCoordinate(a.x), AsSurfaceCoordinate(a.y), AsSurfaceCoordinate(b.x),
                 AsSurfaceCoordinate(b.y), ColorBlue);
    surface.Circle(AsSurfaceCoordinate(a.x), AsSurfaceCoordinate(a.y), EndMarkRadius);
    surface.Circle(AsSurfaceCoordinate(b.x), AsSurfaceCoordinate(b.y), EndMarkRadius);
}

void PrintLabelAt(DrawingSurface& surface, DiagramPoint at, std::string_view label) {
    surface.SetTextPosition(AsSurfaceCoordinate(at.x), AsSurfaceCoordinate(at.y));
    surface.SetForeColor(ColorRed);
    surface.Print(label);
}

// South at the A end, north at the B end.
void DrawNorthSouthAxis(DrawingSurface& surface, float degrees) {
    DrawAxis(surface, degrees);
    PrintLabelAt(surface, AxisEndA(degrees), " SOUNT");
    PrintLabelAt(surface, AxisEndB(degrees), "NORTH");
}

// West at the B end, printed first; east at the A end.
void DrawEastWestAxis(DrawingSurface& surface, float degrees) {
    DrawAxis(surface, degrees);
    PrintLabelAt(surface, AxisEndB(degrees), "  WEST");
    PrintLabelAt(surface, AxisEndA(degrees), "EAST");
}

void DrawCentreDot(DrawingSurface& surface) {
    surface.SetForeColor(ColorBlue);
    surface.SetPenWidth(20);
    surface.Point(AsSurfaceCoordinate(DiagramCentreX), AsSurfaceCoordinate(DiagramCentreY));
    surface.SetPenWidth(8);
}

void DrawDirectionLine(DrawingSurface& surface, float degrees) {
    const DiagramPoint a = AxisEndA(degrees);
    const DiagramPoint b = AxisEndB(degrees);
    surface.Line(AsSurfaceCoordinate(a.x), AsSurfaceCoordinate(a.y), AsSurfaceCoordinate(b.x),
                 AsSurfaceCoordinate(b.y), ColorCyan);
}

void DrawAzimuthArc(DrawingSurface& surface, ArcAngles arc) {
    surface.SetPenWidth(2);
    surface.Arc(AsSurfaceCoordinate(DiagramCentreX), AsSurfaceCoordinate(DiagramCentreY),
                AzimuthArcRadius, WithinOneTurn(arc.start), WithinOneTurn(arc.end));
}

// 300 twips left of and 200 below the satellite's end of the direction line, moved no further
// than needed to lie wholly inside the drawing: near north that place is below its bottom edge.
void PrintAzimuth(DrawingSurface& surface, float direction, std::string_view azimuth_text) {
    const std::string label = Concat("alfa=", azimuth_text);
    const int widest_x = DiagramWidth - LabelCharacterWidth * static_cast<int>(label.size());
    const int lowest_y = DiagramHeight - LabelHeight;
    const auto x = static_cast<std::int16_t>(std::clamp(2720 - AxisSin(direction), 0, widest_x));
    const auto y = static_cast<std::int16_t>(std::clamp(1808 + AxisCos(direction), 0, lowest_y));
    surface.SetTextPosition(AsSurfaceCoordinate(x), AsSurfaceCoordinate(y));
    surface.SetForeColor(ColorBlack);
    surface.Print(label);
}

// A number out of range in the file is the file's fault, not the typed numbers'.
std::string FileAzimuthText(std::string_view field) {
    try {
        return HalfDegreeFloor(field);
    } catch (const RuntimeError& error) {
        throw RuntimeError(ErrorKind::ResultsFileInvalid,
                           "Invalid azimuth in the results file: " + std::string(field) + " (" +
                               error.what() + ")");
    }
}

}  // namespace

std::string HalfDegreeFloor(std::string_view azimuth_text) {
    const float value = AsSingle(ParseLeadingNumber(azimuth_text));
    // The whole part is written out and read back, as the design converts it; WholeToText writes
    // every digit, so the number comes back unchanged.
    const double whole = ParseNumberStrict(WholeToText(static_cast<float>(FloorNumber(value))));
    float fraction = AsSingle(Sub(value, whole));
    if (fraction > 0.5f) {
        fraction = 0.5f;
    }
    if (fraction < 0.5f) {
        fraction = 0;
    }
    return NumberToText(Add(whole, fraction));
}

ArcAngles AzimuthArc(double azimuth, double axis_shift) {
    ArcAngles arc;
    arc.start = AsSingle(DiagramRadians(Sub(Sub(270, azimuth), axis_shift)));
    arc.end = AsSingle(Add(DiagramRadians(azimuth), arc.start));
    return arc;
}

DiagramCommand::DiagramCommand(ResultsReader read_results)
    : m_read_results(std::move(read_results)) {}

bool DiagramCommand::Run(DrawingSurface& surface, std::string_view axis_shift_input) {
    surface.Clear();
    surface.SetDrawMode(DrawMode::CopyPen);
    surface.SetPenWidth(1);
    surface.SetFillStyle(FillStyle::Solid);
    DrawNorthSouthAxis(surface, 0);
    DrawEastWestAxis(surface, -90);

    surface.SetPenWidth(5);
    m_axis_shift_text = std::string(axis_shift_input);
    const float axis_shift = AsSingle(ParseLeadingNumber(m_axis_shift_text));
    DrawNorthSouthAxis(surface, axis_shift);
    DrawEastWestAxis(surface, axis_shift - 90.0f);

    if (!surface.Yield()) {
        return false;  // the window is gone, and this object with it
    }

    DrawCentreDot(surface);
    const ResultsFields results = m_read_results();
    const std::string azimuth_text = FileAzimuthText(results.first);
    const double azimuth = ParseLeadingNumber(azimuth_text);
    // A START run during the yield may have replaced the axis shift text: the rest of the
    // drawing follows the latest one.
    const double typed_shift = ParseLeadingNumber(m_axis_shift_text);
    const float direction = AsSingle(Add(azimuth, typed_shift));
    DrawDirectionLine(surface, direction);
    DrawAzimuthArc(surface, AzimuthArc(azimuth, typed_shift));
    PrintAzimuth(surface, direction, azimuth_text);
    return true;
}

}  // namespace tarvex
