#include "conversions/number_text.h"

#include <locale.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

#include "conversions/checked_math.h"
#include "conversions/float_chars.h"
#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

struct NumberSpan {
    std::size_t end = 0;      // one past the last character of the number
    bool has_digits = false;  // false: no number at all
};

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// Finds the longest number starting at `pos`: sign, digits, ".", digits, exponent.
NumberSpan ScanNumber(std::string_view text, std::size_t pos) {
    NumberSpan span;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    std::size_t after_int = SkipDigits(text, pos);
    span.has_digits = after_int > pos;
    pos = after_int;
    if (pos < text.size() && text[pos] == '.') {
        std::size_t after_frac = SkipDigits(text, pos + 1);
        span.has_digits = span.has_digits || after_frac > pos + 1;
        pos = after_frac;
    }
    span.end = pos;
    if (span.has_digits && pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        std::size_t exp = pos + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) {
            ++exp;
        }
        std::size_t after_exp = SkipDigits(text, exp);
        if (after_exp > exp) {
            span.end = after_exp;
        }
    }
    return span;
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

// Converts a text already known to be a number. strtod_l with the C locale rounds correctly,
// reads "." whatever the process locale is, and gives infinity beyond the double range.
double ConvertNumber(std::string_view number) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string copy(number);
    return strtod_l(copy.c_str(), nullptr, c_locale);
}

std::string FinishNumberText(std::string_view digits, bool negative) {
    std::string text(negative ? "-" : " ");
    if (digits.substr(0, 2) == "0.") {
        digits.remove_prefix(1);
    }
    for (char c : digits) {
        text += (c == 'e') ? 'E' : c;
    }
    return text;
}

template <typename Number>
std::string RenderNumber(Number x, int significant_digits) {
    CheckFinite(x);
    if (x == 0) {
        return " 0";
    }
    std::array<char, 64> buffer{};
    auto [end, ec] =
        float_chars::ToChars(buffer.data(), buffer.data() + buffer.size(), std::fabs(x),
                             std::chars_format::general, significant_digits);
    (void)ec;  // 64 characters always suffice for 15 digits and an exponent
    return FinishNumberText(std::string_view(buffer.data(), end - buffer.data()), x < 0);
}

struct Pattern {
    int min_integer_digits = 0;
    int decimals = 0;
    int min_decimals = 0;
    bool has_point = false;
};

Pattern ParsePattern(std::string_view pattern) {
    Pattern parsed;
    for (char c : pattern) {
        if (c == '.' && !parsed.has_point) {
            parsed.has_point = true;
        } else if (c == '0' || c == '#') {
            if (!parsed.has_point) {
                parsed.min_integer_digits += (c == '0') ? 1 : 0;
            } else {
                ++parsed.decimals;
                parsed.min_decimals = (c == '0') ? parsed.decimals : parsed.min_decimals;
            }
        } else {
            throw std::invalid_argument("FormatNumber: unsupported pattern character");
        }
    }
    return parsed;
}

// Every double has a finite decimal expansion; this returns it in full ("0.046000000000000000943…")
// with at least `min_decimals` decimals.
std::string ExactDecimal(double magnitude, int min_decimals) {
    int binary_exponent = 0;
    std::frexp(magnitude, &binary_exponent);
    const int fraction_digits = std::max(min_decimals, 53 - binary_exponent);
    std::string buffer(400 + static_cast<std::size_t>(fraction_digits), '\0');
    auto [end, ec] = float_chars::ToChars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                          std::chars_format::fixed, fraction_digits);
    (void)ec;  // the buffer holds the 309 integer digits of the largest double and more
    buffer.resize(static_cast<std::size_t>(end - buffer.data()));
    return buffer;
}

// Adds one unit in the last place of a string of digits; returns false when it carries out.
bool IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return true;
        }
        *it = '0';
    }
    return false;
}

}  // namespace

double ParseLeadingNumber(std::string_view text) {
    const std::size_t start = SkipBlanks(text, 0);
    const NumberSpan span = ScanNumber(text, start);
    if (!span.has_digits) {
        return 0.0;
    }
    return ConvertNumber(text.substr(start, span.end - start));
}

double ParseNumberStrict(std::string_view text) {
    const std::size_t start = SkipBlanks(text, 0);
    const NumberSpan span = ScanNumber(text, start);
    if (!span.has_digits || SkipBlanks(text, span.end) != text.size()) {
        throw RuntimeError(ErrorKind::TypeMismatch, "Type mismatch: '" + std::string(text) + "'");
    }
    return CheckFinite(ConvertNumber(text.substr(start, span.end - start)));
}

float AsSingle(double x) {
    CheckFinite(x);
    const float single = static_cast<float>(x);
    if (std::isinf(single)) {
        throw RuntimeError(ErrorKind::Overflow, "Overflow");
    }
    return single;
}

std::int16_t RoundToInt16(double x) {
    const double rounded = std::nearbyint(CheckFinite(x));
    if (rounded < -32768.0 || rounded > 32767.0) {
        throw RuntimeError(ErrorKind::Overflow, "Overflow");
    }
    return static_cast<std::int16_t>(rounded);
}

double FloorNumber(double x) {
    return std::floor(x);
}

std::string NumberToText(double x) {
    return RenderNumber(x, 15);
}

std::string NumberToText(float x) {
    return RenderNumber(x, 7);
}

std::string WholeToText(float whole) {
    if (whole == 0) {
        return "0";
    }
    std::array<char, 64> buffer{};
    auto [end, ec] = float_chars::ToChars(buffer.data(), buffer.data() + buffer.size(), whole,
                                          std::chars_format::fixed, 0);
    (void)ec;  // the largest single has 39 digits
    return std::string(buffer.data(), end);
}

std::string FormatNumber(double x, std::string_view pattern) {
    CheckFinite(x);
    const Pattern parsed = ParsePattern(pattern);
    const std::string exact = ExactDecimal(std::fabs(x), parsed.decimals + 1);
    const std::size_t point = exact.find('.');
    std::string integer = exact.substr(0, point);
    std::string fraction = exact.substr(point + 1, static_cast<std::size_t>(parsed.decimals));

    // Truncate, then round the magnitude up when the first dropped digit is 5 or more: an exact
    // half thereby goes away from zero.
    if (exact[point + 1 + static_cast<std::size_t>(parsed.decimals)] >= '5') {
        if (!IncrementDigits(fraction) && !IncrementDigits(integer)) {
            integer.insert(integer.begin(), '1');
        }
    }
    integer.erase(0, integer.find_first_not_of('0'));
    if (integer.size() < static_cast<std::size_t>(parsed.min_integer_digits)) {
        integer.insert(0, parsed.min_integer_digits - integer.size(), '0');
    }
    while (fraction.size() > static_cast<std::size_t>(parsed.min_decimals) &&
           fraction.back() == '0') {
        fraction.pop_back();
    }
    std::string text = x < 0 ? "-" : "";
    text += integer;
    if (parsed.has_point) {
        text += '.';
        text += fraction;
    }
    return text;
}

}  // namespace tarvex
