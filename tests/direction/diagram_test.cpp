#include "direction/diagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "conversions/runtime_error.h"
#include "tests/support/recording_surface.h"

namespace tarvex {
namespace {

constexpr double FullTurn = 2 * std::numbers::pi;
const char* const ExampleAzimuth = "217.344291652777";  // ALFA1 of the main window's example

ResultsReader Fields(std::string first, std::string second = "44.8168471212995") {
    return [=] { return ResultsFields{first, second}; };
}

std::vector<std::string> Drawn(const std::string& axis_shift, const std::string& azimuth,
                               const std::string& elevation = "44.8168471212995") {
    RecordingSurface surface;
    DiagramCommand command(Fields(azimuth, elevation));
    EXPECT_TRUE(command.Run(surface, axis_shift));
    return surface.Transcript();
}

const DrawCall& LastOf(const RecordingSurface& surface, DrawOp op) {
    for (auto it = surface.Calls().rbegin(); it != surface.Calls().rend(); ++it) {
        if (it->op == op) {
            return *it;
        }
    }
    throw std::logic_error("no such call");
}

TEST(HalfDegreeFloor, RoundsDownToHalfDegrees) {
    const std::pair<const char*, const char*> rows[] = {
        {"187.5", " 187.5"}, {"187.75", " 187.5"}, {"187.49", " 187"}, {"-12.7", "-13"},
        {"-12.3", "-12.5"},  {"0.5", " .5"},       {"", " 0"},         {"359.999", " 359.5"}};
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(HalfDegreeFloor(text), expected);
    }
    EXPECT_THROW(HalfDegreeFloor("1e39"), RuntimeError);
}

TEST(AzimuthArc, SpansTheAzimuthFromTheDirectionLine) {
    // Azimuth, axis shift, and the angles as the singles read to their last digit shown.
    const double rows[][4] = {{217, -20, 1.2740893, 5.0614505},
                              {187, -20, 1.7976876, 5.0614505},
                              {217, 0, 0.9250237, 4.7123852}};
    for (const auto& [azimuth, shift, start, end] : rows) {
        const ArcAngles arc = AzimuthArc(azimuth, shift);
        EXPECT_NEAR(arc.start, start, 0.6e-7) << azimuth << " " << shift;
        EXPECT_NEAR(arc.end, end, 0.6e-7) << azimuth << " " << shift;
    }
    // With the diagram's pi, 360 degrees stay just inside a full turn.
    EXPECT_LT(AzimuthArc(217, -90).end, FullTurn);
    EXPECT_GT(AzimuthArc(217, -90).end, 6.28317);
}

TEST(DiagramCommand, DrawsTheExampleStepByStep) {
    const std::vector<std::string> expected = {
        // 1. a fresh start
        "clear", "draw-mode 13", "pen-width 1", "fill-style 0",
        // 2. north-south cross axis; its end circles in the colour left by the last run
        "line 3020 108 3020 3108 FF0000 w1", "circle 3020 108 50 [000000 w1]",
        "circle 3020 3108 50 [000000 w1]", "text-position 3020 108", "fore-color 0000FF",
        "print ' SOUNT' at 3020 108 [0000FF]", "text-position 3020 3108", "fore-color 0000FF",
        "print 'NORTH' at 3020 3108 [0000FF]",
        // 3. east-west cross axis, west first at the B end
        "line 1520 1608 4520 1608 FF0000 w1", "circle 1520 1608 50 [0000FF w1]",
        "circle 4520 1608 50 [0000FF w1]", "text-position 4520 1608", "fore-color 0000FF",
        "print '  WEST' at 4520 1608 [0000FF]", "text-position 1520 1608", "fore-color 0000FF",
        "print 'EAST' at 1520 1608 [0000FF]",
        // 4.-5. the cross turned by -20 degrees
        "pen-width 5", "line 2507 198 3533 3018 FF0000 w5", "circle 2507 198 50 [0000FF w5]",
        "circle 3533 3018 50 [0000FF w5]", "text-position 2507 198", "fore-color 0000FF",
        "print ' SOUNT' at 2507 198 [0000FF]", "text-position 3533 3018", "fore-color 0000FF",
        "print 'NORTH' at 3533 3018 [0000FF]",
        // 6. its east-west axis at -110 degrees
        "line 1610 2121 4430 1095 FF0000 w5", "circle 1610 2121 50 [0000FF w5]",
        "circle 4430 1095 50 [0000FF w5]", "text-position 4430 1095", "fore-color 0000FF",
        "print '  WEST' at 4430 1095 [0000FF]", "text-position 1610 2121", "fore-color 0000FF",
        "print 'EAST' at 1610 2121 [0000FF]",
        // 7.-8.
        "yield", "fore-color FF0000", "pen-width 20", "point 3020 1608 [FF0000 w20]", "pen-width 8",
        // 11. the direction of the satellite at 197 degrees, B end towards it
        "line 2581 3042 3459 174 FFFF00 w8",
        // 12.-13.
        "pen-width 2", "arc 3020 1608 400 1.2740893 5.0614505 [FF0000 w2]",
        // 14.
        "text-position 3159 374", "fore-color 000000", "print 'alfa= 217' at 3159 374 [000000]"};
    EXPECT_EQ(Drawn("-20", ExampleAzimuth), expected);
}

// Azimuth, elevation (not used), the direction line and the label, which stays inside the
// drawing near north.
TEST(DiagramCommand, PrintsTheAzimuthBelowTheSatelliteEnd) {
    const char* const rows[][4] = {
        {"187.25", "23.5", "line 3357 3070 2683 146 FFFF00 w8",
         "print 'alfa= 187' at 2383 346 [000000]"},
        {"-12.3", "23.5", "line 2214 343 3826 2873 FFFF00 w8",
         "print 'alfa=-12.5' at 3526 3073 [000000]"},
        {"180", "", "line 3533 3018 2507 198 FFFF00 w8", "print 'alfa= 180' at 2207 398 [000000]"},
        {"20", "", "line 3020 108 3020 3108 FFFF00 w8", "print 'alfa= 20' at 2720 3115 [000000]"},
        {"-70.5", "", "line 1520 1621 4520 1595 FFFF00 w8",
         "print 'alfa=-70.5' at 4110 1795 [000000]"}};
    for (const auto& [azimuth, elevation, line, label] : rows) {
        const std::vector<std::string> drawn = Drawn("-20", azimuth, elevation);
        EXPECT_EQ(drawn.at(drawn.size() - 6), line);
        EXPECT_EQ(drawn.back(), label);
    }
}

TEST(DiagramCommand, AnAxisShiftWithoutANumberIsNoShift) {
    for (const char* shift : {"", "abc", "  0.0 degrees"}) {
        EXPECT_EQ(Drawn(shift, ExampleAzimuth), Drawn("0", ExampleAzimuth)) << shift;
    }
}

// Arc angles stay within one turn and keep their sign: past 360 degrees (-91) the end comes back
// as the same direction; below -360 (700) both stay negative, so the sector is closed.
TEST(DiagramCommand, EveryAxisShiftDrawsAnArcWithinOneTurn) {
    const double pi = 3.14159;  // the diagram's own
    const std::map<std::string, std::pair<double, double>> exact = {
        {"-91", {2.513272, 361 * pi / 180 - FullTurn}},
        {"700", {-(647 * pi / 180 - FullTurn), -(430 * pi / 180 - FullTurn)}}};
    RecordingSurface surface;
    DiagramCommand command(Fields(ExampleAzimuth));
    for (const char* shift :
         {"0", "-90", "-91", "700", "-1000", "630.5", "1e30", "-1e30", "-360", "359.99"}) {
        SCOPED_TRACE(shift);
        ASSERT_TRUE(command.Run(surface, shift));
        const DrawCall& arc = LastOf(surface, DrawOp::Arc);
        EXPECT_LE(std::fabs(arc.args.at(3)), FullTurn);
        EXPECT_LE(std::fabs(arc.args.at(4)), FullTurn);
        if (const auto found = exact.find(shift); found != exact.end()) {
            EXPECT_NEAR(arc.args.at(3), found->second.first, 1e-5);
            EXPECT_NEAR(arc.args.at(4), found->second.second, 1e-5);
        }
        EXPECT_EQ(LastOf(surface, DrawOp::Print).text, "alfa= 217");
    }
}

TEST(DiagramCommand, ForegroundColourCarriesOverToTheNextStart) {
    const ColorValue initial = 0x123456;  // whatever the window started with
    RecordingSurface surface(initial);
    DiagramCommand command(Fields(ExampleAzimuth));
    for (ColorValue step2_circles : {initial, ColorBlack}) {
        surface.Forget();
        ASSERT_TRUE(command.Run(surface, "-20"));
        std::vector<ColorValue> circles;
        for (const DrawCall& call : surface.Calls()) {
            if (call.op == DrawOp::Circle) {
                circles.push_back(call.fore_color);
            }
        }
        const std::vector<ColorValue> expected = {step2_circles, step2_circles, ColorRed, ColorRed,
                                                  ColorRed,      ColorRed,      ColorRed, ColorRed};
        EXPECT_EQ(circles, expected);
        EXPECT_EQ(LastOf(surface, DrawOp::Point).fore_color, ColorBlue);
        EXPECT_EQ(LastOf(surface, DrawOp::Arc).fore_color, ColorBlue);
        EXPECT_EQ(LastOf(surface, DrawOp::Print).fore_color, ColorBlack);
    }
}

TEST(DiagramCommand, AStartDuringTheYieldRunsWhollyInsideTheFirst) {
    RecordingSurface surface;
    DiagramCommand command(Fields(ExampleAzimuth));
    int yields = 0;
    surface.SetOnYield([&] {
        if (++yields == 1) {
            EXPECT_TRUE(command.Run(surface, "0"));  // POZIA changed, START pressed again
        }
        return true;
    });
    ASSERT_TRUE(command.Run(surface, "-20"));
    const std::vector<std::string> drawn = surface.Transcript();
    // The inner run cleared and drew the cross turned by 0; the outer one then draws its last
    // steps over it, with the axis shift text the inner run took.
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), "clear"), 2);
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), "line 2117 2806 3923 410 FFFF00 w8"), 2);
    EXPECT_EQ(
        std::count(drawn.begin(), drawn.end(), "arc 3020 1608 400 0.92502373 4.712385 [FF0000 w2]"),
        2);
    EXPECT_EQ(command.AxisShiftText(), "0");
}

TEST(DiagramCommand, StopsAtOnceWhenTheWindowIsDiscardedDuringTheYield) {
    RecordingSurface surface;
    bool read = false;
    DiagramCommand command([&] {
        read = true;
        return ResultsFields{ExampleAzimuth, ""};
    });
    surface.SetOnYield([] { return false; });
    EXPECT_FALSE(command.Run(surface, "-20"));
    EXPECT_EQ(surface.Calls().back().op, DrawOp::Yield);
    EXPECT_FALSE(read);
}

// An unreadable results file stops after the centre dot; an axis shift beyond single precision
// after the cross.
TEST(DiagramCommand, FaultsStopWhereTheyHappen) {
    RecordingSurface surface;
    DiagramCommand unreadable([]() -> ResultsFields {
        throw RuntimeError(ErrorKind::ResultsFileMissing, "File not found");
    });
    EXPECT_THROW(static_cast<void>(unreadable.Run(surface, "-20")), RuntimeError);
    EXPECT_EQ(surface.Transcript().back(), "pen-width 8");
    EXPECT_EQ(LastOf(surface, DrawOp::Point).pen_width, 20);
    DiagramCommand command(Fields(ExampleAzimuth));
    EXPECT_THROW(static_cast<void>(command.Run(surface, "1e39")), RuntimeError);
    EXPECT_EQ(surface.Transcript().back(), "pen-width 5");
    EXPECT_EQ(command.AxisShiftText(), "1e39");
}

// A number out of range in the file is the file's fault, whatever the typed numbers.
TEST(DiagramCommand, AzimuthOutOfRangeInTheFileIsAnInvalidFile) {
    RecordingSurface surface;
    DiagramCommand command(Fields("1e309"));
    try {
        static_cast<void>(command.Run(surface, "-20"));
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Kind(), ErrorKind::ResultsFileInvalid);
        EXPECT_STREQ(error.what(), "Invalid azimuth in the results file: 1e309 (Overflow)");
    }
}

}  // namespace
}  // namespace tarvex
