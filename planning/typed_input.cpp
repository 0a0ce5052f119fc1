#include "planning/typed_input.h"

#include <GeographicLib/DMS.hpp>
#include <cctype>
#include <charconv>
#include <cmath>
#include <exception>
#include <string>

#include "conversions/float_chars.h"
#include "planning/plan.h"

namespace tarvex::planning {
namespace {

// A number in full: optional sign, digits, optional fraction and exponent; nothing after it.
std::optional<double> ParseDecimal(std::string_view text) {
    std::size_t first_digit = 0;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    } else if (!text.empty() && text.front() == '-') {
        first_digit = 1;
    }
    if (text.size() <= first_digit ||
        !(std::isdigit(static_cast<unsigned char>(text[first_digit])) ||
          text[first_digit] == '.')) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = float_chars::FromChars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Exactly `count` digits.
std::optional<int> Digits(std::string_view text, std::size_t count) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.size() != count || !std::isdigit(static_cast<unsigned char>(text.front())) ||
        error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

struct HemisphereWord {
    std::string_view word;
    char letter;
    AngleKind kind;
};

// Russian hemispheres as GeographicLib's letters, with or without the last point.
constexpr HemisphereWord HemisphereWords[] = {
    {"с.ш.", 'N', AngleKind::Latitude},  {"ю.ш.", 'S', AngleKind::Latitude},
    {"в.д.", 'E', AngleKind::Longitude}, {"з.д.", 'W', AngleKind::Longitude},
    {"с.ш", 'N', AngleKind::Latitude},   {"ю.ш", 'S', AngleKind::Latitude},
    {"в.д", 'E', AngleKind::Longitude},  {"з.д", 'W', AngleKind::Longitude},
};

// The text with a trailing Russian hemisphere turned into its letter, blanks before it dropped.
std::string WithLatinHemisphere(std::string_view text) {
    for (const HemisphereWord& hemisphere : HemisphereWords) {
        if (text.size() > hemisphere.word.size() && text.ends_with(hemisphere.word)) {
            std::string_view angle = text.substr(0, text.size() - hemisphere.word.size());
            while (!angle.empty() && angle.back() == ' ') {
                angle.remove_suffix(1);
            }
            return std::string(angle) + hemisphere.letter;
        }
    }
    std::string angle(text);
    // "4:30 W": a blank before a letter is a habit, not a second number.
    if (angle.size() > 2 && std::isalpha(static_cast<unsigned char>(angle.back())) &&
        angle[angle.size() - 2] == ' ') {
        angle.erase(angle.size() - 2, 1);
    }
    return angle;
}

}  // namespace

std::optional<double> ParseAngle(std::string_view text, AngleKind kind) {
    // Plain decimals first: DMS reads no exponent, and "1e2" has always meant 100.
    if (const std::optional<double> decimal = ParseDecimal(text)) {
        return decimal;
    }
    if (text.empty() || text.front() == ' ' || text.back() == ' ') {
        return std::nullopt;
    }
    try {
        GeographicLib::DMS::flag hemisphere = GeographicLib::DMS::NONE;
        const double angle = GeographicLib::DMS::Decode(WithLatinHemisphere(text), hemisphere);
        const GeographicLib::DMS::flag wrong = kind == AngleKind::Latitude
                                                   ? GeographicLib::DMS::LONGITUDE
                                                   : GeographicLib::DMS::LATITUDE;
        // "-4:30W" would be 4:30 east by DMS's rules: a minus and a hemisphere contradict.
        const bool minus_and_hemisphere =
            hemisphere != GeographicLib::DMS::NONE && text.front() == '-';
        if (!std::isfinite(angle) || hemisphere == wrong || minus_and_hemisphere) {
            return std::nullopt;
        }
        return angle;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<double> ParseNumber(std::string_view text) {
    return ParseDecimal(text);
}

std::optional<Date> ParseDate(std::string_view text) {
    std::optional<int> year, month, day;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        year = Digits(text.substr(0, 4), 4);
        month = Digits(text.substr(5, 2), 2);
        day = Digits(text.substr(8, 2), 2);
    } else if (text.size() == 10 && text[2] == '.' && text[5] == '.') {
        day = Digits(text.substr(0, 2), 2);
        month = Digits(text.substr(3, 2), 2);
        year = Digits(text.substr(6, 4), 4);
    }
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const Date date{*year, *month, *day};
    return IsRealDate(date) ? std::optional<Date>(date) : std::nullopt;
}

}  // namespace tarvex::planning
