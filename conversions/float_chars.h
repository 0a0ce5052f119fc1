#pragma once

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include <locale.h>

// Floating-point std::to_chars / std::from_chars where the standard library has them, and the same
// results where it does not (the page's WebAssembly build: emscripten's libc++ has only the
// integer forms). Every Qt-free use of the floating forms goes through here.
//
// The fallback relies on the C library's printf and strtod, which are correctly rounded in glibc
// and in musl, run under a "C" locale of their own for the calling thread only: the process's
// locale never changes a result.

// libstdc++ says it has them; libc++ 13 says so only for the integer forms it has (it defines no
// __cpp_lib_to_chars at all).
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define TARVEX_STANDARD_FLOAT_CHARS 1
#else
#define TARVEX_STANDARD_FLOAT_CHARS 0
#endif

namespace tarvex::float_chars {

// A whole number in decimal, never through the locale: 12345 -> "12345";  -7 -> "-7"
inline std::string WholeText(long long value) {
    char text[24];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Significant digits and the decimal exponent of the first, written d.ddde±XX:
//   ("125", -2) -> "1.25e-02";  ("6", 15) -> "6e+15"
inline std::string Scientific(const std::string& digits, int exponent) {
    std::string text(1, digits[0]);
    if (digits.size() > 1) {
        text += '.';
        text.append(digits, 1);
    }
    const int magnitude = exponent < 0 ? -exponent : exponent;
    text += exponent < 0 ? "e-" : "e+";
    text += magnitude < 10 ? "0" : "";
    text += WholeText(magnitude);
    return text;
}

namespace fallback {

// Switches the calling thread to the "C" locale for as long as it lives.
class CLocale {
  public:
    CLocale() : m_previous(uselocale(Locale())) {}
    ~CLocale() { uselocale(m_previous); }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

  private:
    static locale_t Locale() {
        static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c_locale;
    }
    locale_t m_previous;
};

// The end of a result written into [first, last), or value_too_large with `last` as std::to_chars
// reports it.
inline std::to_chars_result Copy(char* first, char* last, const char* text, std::size_t size) {
    if (static_cast<std::size_t>(last - first) < size) {
        return {last, std::errc::value_too_large};
    }
    std::memcpy(first, text, size);
    return {first + size, std::errc()};
}

inline std::to_chars_result Printed(char* first, char* last, const char* format, int precision,
                                    double value) {
    const CLocale c_locale;
    char small[128];
    const int size = std::snprintf(small, sizeof small, format, precision, value);
    if (size < 0) {
        return {last, std::errc::value_too_large};
    }
    if (static_cast<std::size_t>(size) < sizeof small) {
        return Copy(first, last, small, static_cast<std::size_t>(size));
    }
    std::string large(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(large.data(), large.size(), format, precision, value);
    return Copy(first, last, large.data(), static_cast<std::size_t>(size));
}

inline bool ReadsBack(const std::string& text, double value) {
    const CLocale c_locale;
    return std::strtod(text.c_str(), nullptr) == value;
}

// The digits of `text` in %e form ("1.2345e+07") and its decimal exponent.
inline void SplitScientific(const char* text, std::string& digits, int& exponent) {
    digits.clear();
    const char* c = text;
    for (; *c != 'e'; ++c) {
        if (*c != '.') {
            digits += *c;
        }
    }
    exponent = std::atoi(c + 1);
}

// Adds `step` (+1 or -1) in the last place of a string of digits; false when it leaves the same
// number of digits (a carry out of, or a borrow from, the first digit).
inline bool StepLastDigit(std::string& digits, int step) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (step > 0 ? *it != '9' : *it != '0') {
            *it = static_cast<char>(*it + step);
            return digits.front() != '0';
        }
        *it = step > 0 ? '0' : '9';
    }
    return false;
}

inline std::string Fixed(const std::string& digits, int exponent) {
    if (exponent < 0) {
        return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    const auto integer_digits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integer_digits) {
        return digits + std::string(integer_digits - digits.size(), '0');
    }
    return digits.substr(0, integer_digits) + "." + digits.substr(integer_digits);
}

// The shortest text that reads back as `value` (finite, > 0): the fewest significant digits, of
// those the nearest to the value, written fixed or scientific, whichever is shorter (fixed when
// equal). A whole number written fixed is written exactly, as the standard library does.
inline void ShortestDigits(double value, std::string& digits, int& exponent) {
    const CLocale c_locale;
    char text[64];
    for (int precision = 0; precision < 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision, value);
        SplitScientific(text, digits, exponent);
        if (ReadsBack(Scientific(digits, exponent), value)) {
            break;
        }
        // Next to a power of two the interval that reads back is lopsided: the nearest candidate
        // can miss it while its neighbour on the far side lies within.
        std::string neighbour = digits;
        const bool above = std::strtod(text, nullptr) < value;
        if (StepLastDigit(neighbour, above ? 1 : -1) &&
            ReadsBack(Scientific(neighbour, exponent), value)) {
            digits = neighbour;
            break;
        }
    }
}

inline std::string Shortest(double value) {
    std::string digits;
    int exponent = 0;
    ShortestDigits(value, digits, exponent);
    std::string scientific = Scientific(digits, exponent);
    std::string fixed = Fixed(digits, exponent);
    if (fixed.size() > scientific.size()) {
        return scientific;
    }
    if (exponent >= 0 && digits.size() < static_cast<std::size_t>(exponent) + 1) {
        const CLocale c_locale;
        char text[400];
        std::snprintf(text, sizeof text, "%.0f", value);
        fixed = text;
    }
    return fixed;
}

inline std::to_chars_result ToChars(char* first, char* last, double value) {
    if (!std::isfinite(value) || value == 0) {
        return Printed(first, last, "%.*g", 1, value);
    }
    std::string text = std::signbit(value) ? "-" + Shortest(-value) : Shortest(value);
    return Copy(first, last, text.data(), text.size());
}

__extension__ typedef unsigned __int128 Wide;

// Fixed with `decimals` (0 to 17) decimals, exactly as printf rounds (the exact binary value,
// halves to even), in integers: printf in musl computes in long double, which WebAssembly only
// emulates, and a plan's table holds some hundred of these. False where the scaled value would
// not fit in 127 bits.
inline bool ExactFixed(double value, int decimals, std::string& text) {
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    Wide scaled = mantissa;
    for (int i = 0; i < decimals; ++i) {
        scaled *= 5;
    }
    const int shift = exponent - 53 + decimals;  // scaled * 2^shift is value * 10^decimals
    if (shift >= 0) {
        int bits = 0;
        for (Wide rest = scaled; rest != 0; rest >>= 1) {
            ++bits;
        }
        if (bits + shift > 127) {
            return false;
        }
        scaled <<= shift;
    } else if (-shift >= 128) {
        scaled = 0;  // below 2^-35: rounds to 0
    } else {
        const int drop = -shift;
        const Wide kept = scaled >> drop;
        const Wide rest = scaled - (kept << drop);
        const Wide half = Wide{1} << (drop - 1);
        scaled = kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
    }
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(scaled % 10)));
        scaled /= 10;
    } while (scaled != 0);
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    text = std::signbit(value) ? "-" + digits : digits;
    return true;
}

inline std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                                    int precision) {
    std::string text;
    if (format == std::chars_format::fixed && std::isfinite(value) && precision >= 0 &&
        precision <= 17 && ExactFixed(value, precision, text)) {
        return Copy(first, last, text.data(), text.size());
    }
    const char* conversion = format == std::chars_format::fixed        ? "%.*f"
                             : format == std::chars_format::scientific ? "%.*e"
                                                                       : "%.*g";
    return Printed(first, last, conversion, precision, value);
}

// std::from_chars for chars_format::general: an optional '-', digits with an optional point, an
// optional exponent; or inf, infinity, nan, nan(...). Out of range (an overflow, or non-zero
// digits that round to zero): result_out_of_range, and `value` keeps what it held.
inline std::from_chars_result FromChars(const char* first, const char* last, double& value) {
    const char* c = first;
    c += c != last && *c == '-';
    const char* digits = c;
    bool any_digit = false;
    bool nonzero = false;
    const auto is_digit = [](char d) { return d >= '0' && d <= '9'; };
    for (; c != last && is_digit(*c); ++c) {
        any_digit = true;
        nonzero = nonzero || *c != '0';
    }
    if (c != last && *c == '.') {
        for (++c; c != last && is_digit(*c); ++c) {
            any_digit = true;
            nonzero = nonzero || *c != '0';
        }
    }
    if (!any_digit) {
        // Words only: inf, infinity, nan and nan(letters, digits, _).
        const auto word = [&](const char* w) {
            const std::size_t n = std::strlen(w);
            if (static_cast<std::size_t>(last - digits) < n) {
                return false;
            }
            for (std::size_t i = 0; i < n; ++i) {
                if ((digits[i] | 0x20) != w[i]) {
                    return false;
                }
            }
            return true;
        };
        const bool negative = digits != first;
        if (word("infinity") || word("inf")) {
            value = negative ? -HUGE_VAL : HUGE_VAL;
            return {digits + (word("infinity") ? 8 : 3), std::errc()};
        }
        if (word("nan")) {
            const char* end = digits + 3;
            if (end != last && *end == '(') {
                const char* p = end + 1;
                while (p != last &&
                       (is_digit(*p) || *p == '_' || ((*p | 0x20) >= 'a' && (*p | 0x20) <= 'z'))) {
                    ++p;
                }
                end = p != last && *p == ')' ? p + 1 : end;
            }
            value = negative ? -std::nan("") : std::nan("");
            return {end, std::errc()};
        }
        return {first, std::errc::invalid_argument};
    }
    if (c != last && (*c == 'e' || *c == 'E')) {
        const char* e = c + 1;
        e += e != last && (*e == '+' || *e == '-');
        if (e != last && is_digit(*e)) {
            while (e != last && is_digit(*e)) {
                ++e;
            }
            c = e;
        }
    }
    const std::string text(first, c);
    double parsed = 0;
    {
        const CLocale c_locale;
        parsed = std::strtod(text.c_str(), nullptr);
    }
    if (std::isinf(parsed) || (parsed == 0 && nonzero)) {
        return {c, std::errc::result_out_of_range};
    }
    value = parsed;
    return {c, std::errc()};
}

}  // namespace fallback

// Shortest text that reads back as `value`, as std::to_chars(first, last, value).
inline std::to_chars_result ToChars(char* first, char* last, double value) {
#if TARVEX_STANDARD_FLOAT_CHARS
    return std::to_chars(first, last, value);
#else
    return fallback::ToChars(first, last, value);
#endif
}

// The fewest significant digits that read back as `value` (finite, not 0), the nearest of those,
// without the sign, and the decimal exponent of the first: value = d.ddd * 10^exponent.
//   600 -> {"6", 2};  0.0125 -> {"125", -2};  -70.37298712472179 -> {"7037298712472179", 1}
inline void ShortestDigits(double value, std::string& digits, int& exponent) {
#if TARVEX_STANDARD_FLOAT_CHARS
    char text[32];
    const char* const end =
        std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific)
            .ptr;
    const char* const e = std::find(static_cast<const char*>(text), end, 'e');
    digits.assign(text, 1);
    if (text + 1 < e) {
        digits.append(text + 2, static_cast<std::size_t>(e - (text + 2)));
    }
    const char* const sign = e + 1;
    std::from_chars(*sign == '+' ? sign + 1 : sign, end, exponent);
#else
    fallback::ShortestDigits(std::fabs(value), digits, exponent);
#endif
}

// As std::to_chars(first, last, value, format, precision).
inline std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                                    int precision) {
#if TARVEX_STANDARD_FLOAT_CHARS
    return std::to_chars(first, last, value, format, precision);
#else
    return fallback::ToChars(first, last, value, format, precision);
#endif
}

// As std::from_chars(first, last, value) (chars_format::general).
inline std::from_chars_result FromChars(const char* first, const char* last, double& value) {
#if TARVEX_STANDARD_FLOAT_CHARS
    return std::from_chars(first, last, value);
#else
    return fallback::FromChars(first, last, value);
#endif
}

}  // namespace tarvex::float_chars
