#include "conversions/typed_text.h"

#include <GeographicLib/DMS.hpp>
#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "conversions/float_chars.h"

namespace tarvex {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHemisphereLetter(char c) {
    return std::string_view("NSEWnsew").find(c) != std::string_view::npos;
}

// The code point at `at` of a valid UTF-8 text, and its length in bytes.
char32_t CodePointAt(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char first = byte(0);
    length = first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
    if (length == 1) {
        return first;
    }
    char32_t c = first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        c = c << 6 | (byte(i) & 0x3F);
    }
    return c;
}

// What a character of a typed angle stands for: '-', '+' or ' ' for the signs and spaces that
// look like them; 0 for the invisible ones GeographicLib's DMS drops; else none.
std::optional<char> Plain(char32_t c) {
    if ((c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0x2796 || c == 0xFE63 || c == 0xFF0D) {
        return '-';
    }
    if (c == 0x2795 || c == 0xFE62 || c == 0xFF0B) {
        return '+';
    }
    if (c == '\t' || c == '\n' || c == '\r' || c == 0xA0 || (c >= 0x2000 && c <= 0x200A) ||
        c == 0x202F || c == 0x3000) {
        return ' ';
    }
    if (c == 0x200B || c == 0x2063 || c == 0x2064) {
        return '\0';
    }
    return std::nullopt;
}

// A Russian hemisphere at the start of `rest` (с.ш., ю. ш., В.Д., вд) as its letter, with the
// bytes it takes.
std::optional<char> RussianHemisphere(std::string_view rest, std::size_t& length) {
    struct Designator {
        std::string_view first_lower, first_upper, second_lower, second_upper;
        char letter;
    };
    static constexpr Designator Designators[] = {{"с", "С", "ш", "Ш", 'N'},
                                                 {"ю", "Ю", "ш", "Ш", 'S'},
                                                 {"в", "В", "д", "Д", 'E'},
                                                 {"з", "З", "д", "Д", 'W'}};
    for (const Designator& d : Designators) {
        if (!rest.starts_with(d.first_lower) && !rest.starts_with(d.first_upper)) {
            continue;
        }
        std::size_t next = d.first_lower.size();
        next += next < rest.size() && rest[next] == '.';
        while (next < rest.size() && rest[next] == ' ') {
            ++next;
        }
        const std::string_view second = rest.substr(next);
        if (!second.starts_with(d.second_lower) && !second.starts_with(d.second_upper)) {
            continue;
        }
        next += d.second_lower.size();
        next += next < rest.size() && rest[next] == '.';
        length = next;
        return d.letter;
    }
    return std::nullopt;
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A comma between two digits made a point; none for any other comma or a semicolon.
std::optional<std::string> WithDecimalPoints(std::string_view text) {
    std::string pointed(text);
    for (std::size_t i = 0; i < pointed.size(); ++i) {
        if (pointed[i] == ';') {
            return std::nullopt;
        }
        if (pointed[i] == ',') {
            if (i == 0 || i + 1 == pointed.size() || !IsDigit(pointed[i - 1]) ||
                !IsDigit(pointed[i + 1])) {
                return std::nullopt;
            }
            pointed[i] = '.';
        }
    }
    return pointed;
}

// Digits with an optional point and exponent, nothing else: "35.4615", ".5", "1e2".
std::optional<double> Unsigned(std::string_view text) {
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.')) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = float_chars::FromChars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool EndsInUnit(std::string_view word) {
    static constexpr std::string_view Units[] = {"°", "º", "'", "\"", "′", "″", "’", "”", "d", "D"};
    return std::any_of(std::begin(Units), std::end(Units),
                       [&](std::string_view unit) { return word.ends_with(unit); });
}

bool IsHemisphereWord(std::string_view word) {
    return word.size() == 1 && IsHemisphereLetter(word[0]);
}

// The angle's words joined where they belong together ("55°" "45′", "4:30" "W"); none for two
// bare numbers, which are not one angle.
std::optional<std::string> Joined(std::string_view text) {
    std::string joined;
    std::string_view previous;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = text.find_first_not_of(' ', i);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const std::string_view word = text.substr(start, end - start);
        if (!previous.empty() && !IsHemisphereWord(word) && !IsHemisphereWord(previous) &&
            !EndsInUnit(previous)) {
            return std::nullopt;
        }
        joined += word;
        previous = word;
        i = end;
    }
    return joined;
}

// The magnitude of an angle without its sign and hemisphere.
std::optional<double> Magnitude(std::string_view body) {
    if (const std::optional<double> decimal = Unsigned(body)) {
        return decimal;
    }
    // DMS would add up "70+1" and read "7.0E+1" as 8 degrees east; no one types a sum.
    if (body.empty() || !(IsDigit(body.front()) || body.front() == '.') ||
        body.find_first_of("+-eE") != std::string_view::npos) {
        return std::nullopt;
    }
    try {
        GeographicLib::DMS::flag hemisphere = GeographicLib::DMS::NONE;
        const double angle = GeographicLib::DMS::Decode(std::string(body), hemisphere);
        if (hemisphere != GeographicLib::DMS::NONE || !std::isfinite(angle)) {
            return std::nullopt;
        }
        return angle;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

AngleReading Refused(TextProblem problem) {
    return {std::nullopt, std::nullopt, problem};
}

}  // namespace

TextProblem CheckTypedText(std::string_view text, std::size_t max_bytes) {
    if (text.size() > max_bytes) {
        return TextProblem::TooLong;
    }
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
        const unsigned char first = byte(0);
        std::size_t length = 0;
        char32_t lowest = 0;
        if (first < 0x80) {
            length = 1;
        } else if (first >= 0xC2 && first < 0xE0) {
            length = 2;
        } else if (first >= 0xE0 && first < 0xF0) {
            length = 3;
            lowest = 0x800;
        } else if (first >= 0xF0 && first < 0xF5) {
            length = 4;
            lowest = 0x10000;
        } else {
            return TextProblem::NotUtf8;
        }
        if (at + length > text.size()) {
            return TextProblem::NotUtf8;
        }
        char32_t c = first & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            if ((byte(i) & 0xC0) != 0x80) {
                return TextProblem::NotUtf8;
            }
            c = c << 6 | (byte(i) & 0x3F);
        }
        if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return TextProblem::NotUtf8;
        }
        at += length;
    }
    return TextProblem::None;
}

std::string AngleText(std::string_view text) {
    std::string plain;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        if (const std::optional<char> letter = RussianHemisphere(text.substr(at), length)) {
            plain += std::string(" ") + *letter + " ";
            at += length;
            continue;
        }
        const char32_t c = CodePointAt(text, at, length);
        if (const std::optional<char> replaced = Plain(c)) {
            if (*replaced != '\0') {
                plain += *replaced;
            }
        } else {
            plain.append(text.substr(at, length));
        }
        at += length;
    }
    return plain;
}

AngleReading ReadAngleText(std::string_view angle_text) {
    const std::optional<std::string> pointed = WithDecimalPoints(Trimmed(angle_text));
    const std::optional<std::string> joined = pointed ? Joined(*pointed) : std::nullopt;
    if (!joined || joined->empty()) {
        return Refused(TextProblem::NotANumber);
    }
    std::string_view body = *joined;
    int signs = 0;
    bool negative = false;
    std::optional<char> hemisphere;
    const auto take_sign = [&] {
        if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
            negative = body.front() == '-';
            ++signs;
            body.remove_prefix(1);
        }
    };
    take_sign();
    if (!body.empty() && IsHemisphereLetter(body.front())) {
        hemisphere = body.front();
        body.remove_prefix(1);
    }
    take_sign();
    if (!body.empty() && IsHemisphereLetter(body.back())) {
        if (hemisphere) {
            return Refused(TextProblem::NotANumber);
        }
        hemisphere = body.back();
        body.remove_suffix(1);
    }
    const std::optional<double> magnitude = Magnitude(body);
    if (!magnitude || signs > 1) {
        return Refused(TextProblem::NotANumber);
    }
    if (hemisphere && signs > 0) {
        return Refused(TextProblem::SignWithHemisphere);
    }
    AngleReading reading;
    const bool west_or_south =
        hemisphere && std::string_view("SWsw").find(*hemisphere) != std::string_view::npos;
    reading.degrees = negative != west_or_south ? -*magnitude : *magnitude;
    if (hemisphere) {
        reading.hemisphere = std::string_view("NSns").find(*hemisphere) != std::string_view::npos
                                 ? AngleKind::Latitude
                                 : AngleKind::Longitude;
    }
    return reading;
}

AngleReading ReadAngle(std::string_view text) {
    const TextProblem problem = CheckTypedText(text);
    return problem == TextProblem::None ? ReadAngleText(AngleText(text)) : Refused(problem);
}

AngleReading ReadAngle(std::string_view text, AngleKind kind) {
    AngleReading reading = ReadAngle(text);
    if (reading.hemisphere && *reading.hemisphere != kind) {
        return Refused(TextProblem::WrongHemisphere);
    }
    return reading;
}

NumberReading ReadNumber(std::string_view text) {
    const TextProblem problem = CheckTypedText(text);
    if (problem != TextProblem::None) {
        return {std::nullopt, problem};
    }
    const std::optional<std::string> pointed = WithDecimalPoints(Trimmed(AngleText(text)));
    std::string_view number = pointed ? std::string_view(*pointed) : std::string_view();
    const bool negative = number.starts_with('-');
    if (negative || number.starts_with('+')) {
        number.remove_prefix(1);
    }
    const std::optional<double> value = Unsigned(number);
    if (!value) {
        return {std::nullopt, TextProblem::NotANumber};
    }
    return {negative ? -*value : *value, TextProblem::None};
}

}  // namespace tarvex
