#include "conversions/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "conversions/mixed_value.h"
#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

struct ParseCase {
    const char* text;
    double expected;
};

TEST(ParseLeadingNumber, ReadsTheLongestLeadingNumber) {
    const ParseCase cases[] = {
        {"", 0},          {"  12abc", 12},     {".5", 0.5}, {"27,69", 27},     {"1E3", 1000},
        {"1e3", 1000},    {"1e", 1},           {"1e+", 1},  {"2.5e-1x", 0.25}, {"\t 7", 7},
        {"-4", -4},       {"+4", 4},           {"-", 0},    {".", 0},          {"-.e5", 0},
        {"abc", 0},       {"12.34.56", 12.34}, {"1 2", 1},  {"12.", 12},       {"-.25", -0.25},
        {"27.69", 27.69}, {"00012", 12},       {"1D3", 1},  {"0x10", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseLeadingNumber(c.text), c.expected);
    }
}

TEST(ParseLeadingNumber, BeyondTheDoubleRangeReadsAsInfinityNeverFails) {
    EXPECT_EQ(ParseLeadingNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseLeadingNumber("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseLeadingNumber("1e-999"), 0.0);
    EXPECT_EQ(ParseLeadingNumber(std::string(5000, '9')), std::numeric_limits<double>::infinity());
}

TEST(ParseLeadingNumber, RoundsCorrectlyToTheNearestDouble) {
    EXPECT_EQ(ParseLeadingNumber("0.1"), 0.1);
    EXPECT_EQ(ParseLeadingNumber("217.344291652777"), 217.344291652777);
    EXPECT_EQ(ParseLeadingNumber(" .6189199"), 0.6189199);
}

TEST(ParseNumberStrict, AcceptsOnlyAWholeNumber) {
    EXPECT_EQ(ParseNumberStrict("12."), 12);
    EXPECT_EQ(ParseNumberStrict(" -0.05547 "), -0.05547);
    EXPECT_EQ(ParseNumberStrict("1E-05"), 1e-05);
    for (const char* bad : {"", " ", ".", "-.", "12a", "1,5", "1e", "a1"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ParseNumberStrict(bad), RuntimeError);
    }
    try {
        ParseNumberStrict(".");
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_STREQ(error.what(), "Type mismatch: '.'");
    }
    EXPECT_THROW(ParseNumberStrict("1e999"), RuntimeError);
}

TEST(NumberToText, DoublesShowUpTo15SignificantDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, " 0"},
        {-0.0, " 0"},
        {-0.25, "-.25"},
        {0.25, " .25"},
        {12, " 12"},
        {-3.5, "-3.5"},
        {187.253918273645, " 187.253918273645"},
        {0.5726134387584729, " .572613438758473"},
        {1e15, " 1E+15"},
        {999999999999999, " 999999999999999"},
        {1.5e-5, " 1.5E-05"},
        {0.0001, " .0001"},
        {-1e-300, "-1E-300"},
        {1e100, " 1E+100"},
        {0.1 + 0.2, " .3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NumberToText(c.value), c.text);
    }
}

// Fifteen digits round the very largest doubles up past the double range, so their text reads
// back as an overflow rather than as the number shown (found by fuzz_conversions).
TEST(NumberToText, LargestDoublesShowATextBeyondTheDoubleRange) {
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(NumberToText(largest), " 1.79769313486232E+308");
    EXPECT_EQ(NumberToText(-largest), "-1.79769313486232E+308");
    EXPECT_TRUE(std::isinf(ParseLeadingNumber(NumberToText(largest))));
    EXPECT_THROW(ParseNumberStrict(NumberToText(largest)), RuntimeError);
    // The largest double whose text still reads back.
    EXPECT_EQ(ParseLeadingNumber(NumberToText(1.79769313486231e308)), 1.79769313486231e308);
}

TEST(NumberToText, SinglesShowUpTo7SignificantDigitsOfTheSingle) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {1.0f / 3.0f, " .3333333"},
        {0.6189199090003967f, " .6189199"},
        {208.29554748535156f, " 208.2955"},
        {47.99484634399414f, " 47.99485"},
        {1e7f, " 1E+07"},
        {9999999.0f, " 9999999"},
        {-0.00001f, "-1E-05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NumberToText(c.value), c.text);
    }
}

TEST(NumberToText, TextIsReadAsAsDoubleDoes) {
    EXPECT_EQ(NumberToText(MixedValue("12.")), " 12");
    EXPECT_EQ(NumberToText(MixedValue("23.5")), " 23.5");
    EXPECT_THROW(NumberToText(MixedValue(".")), RuntimeError);
}

TEST(FormatNumber, RoundsTheExactValueHalfAwayFromZero) {
    const struct {
        double value;
        const char* pattern;
        const char* text;
    } cases[] = {
        {0.5, "##0.00000", "0.50000"},
        {-0.0554666, "##0.00000", "-0.05547"},
        {0.1579304, "##0.00000", "0.15793"},
        {-0.000001, "##0.00000", "-0.00000"},
        {0.0, "##0.00000", "0.00000"},
        {1234.5, "##0.00000", "1234.50000"},
        {0.46, "##.#", ".5"},
        {12, "##.#", "12."},
        {23.4786729837, "##.#", "23.5"},
        {0.04, "##.#", "."},
        {0.05, "##.#", ".1"},  // 0.05 is slightly above 1/20 in binary
        {0.25, "##.#", ".3"},  // an exact half goes away from zero
        {-0.25, "##.#", "-.3"},
        {0.35, "##.#", ".3"},   // 0.35 is slightly below 7/20 in binary
        {9.96, "##.#", "10."},  // the carry reaches the integer digits
        {99.96, "#0.0", "100.0"},
        {0.000005, "##0.00000", "0.00001"},
        {2.675, "0.00", "2.67"},  // 2.675 is 2.67499999... in binary
        {1e20, "##.#", "100000000000000000000."},
        {5e-324, "##0.00000", "0.00000"},
        // An exact half where one step of the double is far coarser than the last decimal.
        {67698643645853.640625, "##0.00000", "67698643645853.64063"},
        {-1125899906842623.25, "##.#", "-1125899906842623.3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " " + c.text);
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.text);
    }
}

TEST(FormatNumber, RejectsInfinityAndUnknownPatternCharacters) {
    EXPECT_THROW(FormatNumber(std::numeric_limits<double>::infinity(), "##.#"), RuntimeError);
    EXPECT_THROW(FormatNumber(1, "#,##0"), std::invalid_argument);
}

TEST(AsSingle, RoundsToNearestSingleAndRejectsOutOfRange) {
    EXPECT_EQ(AsSingle(0.6189199326959691), 0.6189199090003967f);
    EXPECT_EQ(AsSingle(0.22689280275926282), 0.22689279913902283f);
    EXPECT_EQ(AsSingle(1.0 + 0x1p-24), 1.0f);  // a tie goes to even
    EXPECT_EQ(AsSingle(3.4028234663852886e38), std::numeric_limits<float>::max());
    EXPECT_THROW(AsSingle(1e39), RuntimeError);
    EXPECT_THROW(AsSingle(-1e39), RuntimeError);
    EXPECT_THROW(AsSingle(std::numeric_limits<double>::infinity()), RuntimeError);
    EXPECT_THROW(AsSingle(std::nan("")), RuntimeError);
}

TEST(RoundToInt16, RoundsHalvesToEvenWithinRange) {
    const struct {
        double value;
        int expected;
    } cases[] = {{2.5, 2},  {3.5, 4},         {-2.5, -2},        {1500.4, 1500},
                 {-0.4, 0}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundToInt16(c.value), c.expected);
    }
    EXPECT_THROW(RoundToInt16(32767.5), RuntimeError);
    EXPECT_THROW(RoundToInt16(-32769), RuntimeError);
    EXPECT_THROW(RoundToInt16(std::nan("")), RuntimeError);
}

TEST(FloorAndWholeText, RoundTripAWholeSingleExactly) {
    EXPECT_EQ(FloorNumber(-20.3), -21);
    EXPECT_EQ(FloorNumber(187.9), 187);
    EXPECT_EQ(WholeToText(187.0f), "187");
    EXPECT_EQ(WholeToText(-21.0f), "-21");
    EXPECT_EQ(WholeToText(-0.0f), "0");
    const float large = 1e30f;
    EXPECT_EQ(ParseNumberStrict(WholeToText(large)), static_cast<double>(large));
}

}  // namespace
}  // namespace tarvex
