// Number conversions on arbitrary texts and on arbitrary doubles: reading never fails, every
// rendering reads back to what it renders and lies within the precision it shows, and each
// rendering agrees digit for digit with the C library's printf, which rounds the exact binary
// value on its own, independent code path.
//
// Input: a text for ParseLeadingNumber; when it has 8 bytes or more, its first 8 bytes are also
// taken as the bits of a double, so that subnormals, huge exponents and every last bit are
// reached directly.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "conversions/mixed_value.h"
#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "conversions/text.h"
#include "fuzz/require.h"

namespace {

bool HasDigit(std::string_view text) {
    return text.find_first_of("0123456789") != std::string_view::npos;
}

template <typename... Args>
std::string Printf(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

// NumberToText as printf's %G would write it: a sign position, no zero before the point.
std::string ExpectedNumberText(double x, int significant_digits) {
    if (x == 0) {
        return " 0";
    }
    std::string digits = Printf("%.*G", significant_digits, std::fabs(x));
    if (digits.compare(0, 2, "0.") == 0) {
        digits.erase(0, 1);
    }
    return (x < 0 ? "-" : " ") + digits;
}

// printf's %.Nf of the magnitude, except that an exact half goes away from zero (printf rounds
// it to even). The magnitude m * 2^e (m odd) times 10^N ends in exactly .5 when and only when
// e = -(N + 1), that is when m * 2^(N + 1) is an odd whole number; such a magnitude is below
// 2^(52 - N), where one step of a long double (64-bit mantissa) is far less than 10^-N, so
// stepping up once decides the tie without reaching the next one.
std::string FixedAwayFromZero(double magnitude, int decimals) {
    long double value = magnitude;
    if (std::fmod(std::ldexp(magnitude, decimals + 1), 2.0) == 1.0) {
        value = std::nextafter(value, static_cast<long double>(INFINITY));
    }
    return Printf("%.*Lf", decimals, value);
}

std::string ExpectedShiftPattern(double x) {  // "##0.00000"
    return (x < 0 ? "-" : "") + FixedAwayFromZero(std::fabs(x), 5);
}

std::string ExpectedRotationPattern(double x) {  // "##.#"
    std::string text = FixedAwayFromZero(std::fabs(x), 1);
    if (text.compare(0, 2, "0.") == 0) {
        text.erase(0, 1);
    }
    if (text.back() == '0') {
        text.pop_back();
    }
    return (x < 0 ? "-" : "") + text;
}

// NumberToText reads back to what it renders, within half a unit of its fifteenth digit.
void CheckNumberText(double x) {
    const std::string text = tarvex::NumberToText(x);
    FUZZ_REQUIRE(text == ExpectedNumberText(x, 15));
    const double back = tarvex::ParseLeadingNumber(text);
    if (std::isinf(back)) {
        // The fifteen digits of the very largest doubles round up beyond the double range:
        // " 1.79769313486232E+308" reads back as an overflow.
        FUZZ_REQUIRE(std::fabs(x) >= 1.797693134862315e308);
        return;
    }
    FUZZ_REQUIRE(tarvex::NumberToText(back) == text);
    FUZZ_REQUIRE(tarvex::ParseNumberStrict(text) == back);
    // Half a unit of the fifteenth digit is at most 5e-15 of the value; reading the digits back
    // adds half a step of the double (1.1e-16 of it), a subnormal its smallest step.
    FUZZ_REQUIRE(std::fabs(back - x) <= 5.12e-15 * std::fabs(x) + 5e-324);
    // A text given to NumberToText is read first, and renders as its number does.
    FUZZ_REQUIRE(tarvex::NumberToText(tarvex::MixedValue(text)) == text);
}

void CheckDouble(double x) {
    CheckNumberText(x);

    const std::string fixed = tarvex::FormatNumber(x, "##0.00000");
    FUZZ_REQUIRE(fixed == ExpectedShiftPattern(x));
    const double fixed_back = tarvex::ParseNumberStrict(fixed);
    FUZZ_REQUIRE(tarvex::ParseLeadingNumber(fixed) == fixed_back);
    FUZZ_REQUIRE(std::fabs(fixed_back - x) <= 0.5e-5 * (1 + 1e-9) + std::fabs(x) * 1e-15);

    const std::string short_form = tarvex::FormatNumber(x, "##.#");
    FUZZ_REQUIRE(short_form == ExpectedRotationPattern(x));
    if (HasDigit(short_form)) {
        const double short_back = tarvex::ParseNumberStrict(short_form);
        FUZZ_REQUIRE(tarvex::ParseLeadingNumber(short_form) == short_back);
        FUZZ_REQUIRE(std::fabs(short_back - x) <= 0.05 * (1 + 1e-9) + std::fabs(x) * 1e-15);
    } else {
        FUZZ_REQUIRE(std::fabs(x) < 0.05);
    }
}

void CheckSingle(double x) {
    try {
        const float single = tarvex::AsSingle(x);
        FUZZ_REQUIRE(std::fabs(x) <= 3.4028235677973366e38);  // rounds to at most FLT_MAX
        const std::string text = tarvex::NumberToText(single);
        FUZZ_REQUIRE(text == ExpectedNumberText(single, 7));
        // Seven digits do not always survive a trip through a single, but they do through a
        // double.
        const double back = tarvex::ParseLeadingNumber(text);
        FUZZ_REQUIRE(std::fabs(back - static_cast<double>(single)) <=
                     5.000001e-7 * std::fabs(static_cast<double>(single)) + 1.5e-45);
        if (text.find('E') == std::string::npos) {
            FUZZ_REQUIRE(tarvex::NumberToText(back) == text);
        }
        if (std::floor(single) == single) {
            const std::string whole = tarvex::WholeToText(single);
            FUZZ_REQUIRE(tarvex::ParseNumberStrict(whole) == single);
            FUZZ_REQUIRE(whole.find_first_not_of("-0123456789") == std::string::npos);
        }
    } catch (const tarvex::RuntimeError&) {
        FUZZ_REQUIRE(!(std::fabs(x) < 3.4e38));
    }
}

void CheckNumber(double x) {
    if (!std::isfinite(x)) {
        return;
    }
    CheckDouble(x);
    CheckSingle(x);
    try {
        const std::int16_t rounded = tarvex::RoundToInt16(x);
        FUZZ_REQUIRE(std::fabs(rounded - x) <= 0.5);
    } catch (const tarvex::RuntimeError&) {
        FUZZ_REQUIRE(!(x > -32768.5 && x < 32767.5));
    }
    const double floor = tarvex::FloorNumber(x);
    FUZZ_REQUIRE(floor == std::trunc(floor) && (floor == x || (floor < x && x < floor + 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double x = tarvex::ParseLeadingNumber(text);
    FUZZ_REQUIRE(!std::isnan(x));
    try {
        FUZZ_REQUIRE(tarvex::ParseNumberStrict(text) == x);
    } catch (const tarvex::RuntimeError&) {
    }
    (void)tarvex::TextLength(text);
    (void)tarvex::Substring(text, static_cast<long>(size % 7), static_cast<long>(size % 11));
    CheckNumber(x);

    if (size >= sizeof(double)) {
        double bits = 0;
        std::memcpy(&bits, data, sizeof bits);
        CheckNumber(bits);
    }
    return 0;
}
