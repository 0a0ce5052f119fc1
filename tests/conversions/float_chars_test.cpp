#include "conversions/float_chars.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// The fallback used where the standard library lacks the floating forms, against libstdc++'s own.

namespace tarvex::float_chars {
namespace {

// Every kind of double a conversion can trip over: random bit patterns (subnormals among them),
// values near powers of two and of ten, short decimals, large whole numbers.
std::vector<double> Values() {
    std::mt19937_64 random(20261208);
    std::vector<double> values = {
        0.0,  -0.0, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 9007199254740993.0,
        1e23, 0.1,  0.3,    123456789012345680000.0};
    for (int i = 0; i < 150000; ++i) {
        const double any = std::bit_cast<double>(random());
        values.push_back(std::isfinite(any) ? any : 1.5);
    }
    for (int e = -1074; e <= 1023; ++e) {
        const double power = std::ldexp(1.0, e);
        values.insert(values.end(),
                      {power, std::nextafter(power, 0.0), std::nextafter(power, 2 * power)});
    }
    std::uniform_int_distribution<std::int64_t> whole(0, std::int64_t{1} << 62);
    std::uniform_int_distribution<int> shift(0, 900);
    std::uniform_real_distribution<double> reading(-1000, 1000);  // what a plan's table shows
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::ldexp(static_cast<double>(whole(random)), shift(random)));
        values.push_back(static_cast<double>(whole(random) % 100000000) / 1000.0);
        values.push_back(reading(random));
        values.push_back(std::bit_cast<double>(random() & 0x000FFFFFFFFFFFFFull));  // subnormal
    }
    return values;
}

const std::vector<double>& AllValues() {
    static const std::vector<double> values = Values();
    return values;
}

template <typename Convert>
std::string Text(Convert convert) {
    char buffer[1500];
    const std::to_chars_result result = convert(buffer, buffer + sizeof buffer);
    EXPECT_EQ(result.ec, std::errc());
    return std::string(buffer, result.ptr);
}

TEST(FloatChars, ShortestMatchesTheStandardLibrary) {
    for (const double value : AllValues()) {
        ASSERT_EQ(Text([&](char* f, char* l) { return fallback::ToChars(f, l, value); }),
                  Text([&](char* f, char* l) { return std::to_chars(f, l, value); }))
            << std::bit_cast<std::uint64_t>(value);
    }
}

TEST(FloatChars, FixedScientificAndGeneralMatchTheStandardLibrary) {
    const std::chars_format formats[] = {std::chars_format::fixed, std::chars_format::scientific,
                                         std::chars_format::general};
    std::size_t k = 0;
    for (const double value : AllValues()) {
        const std::chars_format format = formats[k % 3];
        // Up to 17 digits, and now and then a long run beyond the value's exact expansion.
        const int precision = static_cast<int>(k / 3 % 18) + (k % 97 == 0 ? 400 : 0);
        ++k;
        if (format == std::chars_format::fixed && std::fabs(value) > 1e300 && precision > 17) {
            continue;
        }
        ASSERT_EQ(
            Text([&](char* f, char* l) {
                return fallback::ToChars(f, l, value, format, precision);
            }),
            Text([&](char* f, char* l) { return std::to_chars(f, l, value, format, precision); }))
            << std::bit_cast<std::uint64_t>(value) << " precision " << precision;
    }
}

TEST(FloatChars, ReadingMatchesTheStandardLibrary) {
    std::vector<std::string> texts = {
        "",       "-",         ".",      "-.5",      "+1",
        " 1",     "1e",        "1e+",    "2.5e-3x",  "1e400",
        "-1e400", "1e-400",    "0e-400", "4.9e-324", "2e-324",
        "inf",    "-Infinity", "infin",  "nan",      "nan(abc_1)",
        "nan(",   "00.10",     "1.",     "0x10",     "123456789012345678901234567890"};
    char buffer[64];
    for (const double value : AllValues()) {
        texts.emplace_back(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        if (texts.size() % 7 == 0) {
            texts.emplace_back(buffer, std::to_chars(buffer, buffer + sizeof buffer, value,
                                                     std::chars_format::scientific, 25)
                                           .ptr);
        }
    }
    for (const std::string& text : texts) {
        double expected = 42;
        double actual = 42;
        const auto want = std::from_chars(text.data(), text.data() + text.size(), expected);
        const auto got = fallback::FromChars(text.data(), text.data() + text.size(), actual);
        ASSERT_EQ(got.ec, want.ec) << text;
        ASSERT_EQ(got.ptr - text.data(), want.ptr - text.data()) << text;
        ASSERT_TRUE(std::bit_cast<std::uint64_t>(actual) ==
                        std::bit_cast<std::uint64_t>(expected) ||
                    (std::isnan(actual) && std::isnan(expected)))
            << text;
    }
}

// A decimal comma in the process's locale (Qt sets it from LANG) never reaches the texts.
TEST(FloatChars, TheProcessLocaleChangesNothing) {
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) {
        GTEST_SKIP() << "no ru_RU.UTF-8 locale";
    }
    const auto text = [](auto convert) { return Text(convert); };
    EXPECT_EQ(text([](char* f, char* l) { return fallback::ToChars(f, l, 0.1); }), "0.1");
    EXPECT_EQ(text([](char* f, char* l) {
                  return fallback::ToChars(f, l, 0.25, std::chars_format::general, 3);
              }),
              "0.25");
    double value = 0;
    const std::string typed = "2.5e-3";
    EXPECT_EQ(fallback::FromChars(typed.data(), typed.data() + typed.size(), value).ptr,
              typed.data() + typed.size());
    EXPECT_EQ(value, 0.0025);
    std::setlocale(LC_ALL, "C");
}

TEST(FloatChars, TooSmallABufferIsReportedNotOverrun) {
    char buffer[4];
    EXPECT_EQ(fallback::ToChars(buffer, buffer + 4, 123.456).ec, std::errc::value_too_large);
    EXPECT_EQ(fallback::ToChars(buffer, buffer + 4, 1.0, std::chars_format::fixed, 3).ec,
              std::errc::value_too_large);
}

}  // namespace
}  // namespace tarvex::float_chars
