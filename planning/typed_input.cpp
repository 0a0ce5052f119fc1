#include "planning/typed_input.h"

#include <cctype>
#include <charconv>

#include "planning/plan.h"

namespace tarvex::planning {
namespace {

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

}  // namespace

std::optional<double> ParseAngle(std::string_view text, AngleKind kind) {
    return ReadAngle(text, kind).degrees;
}

std::optional<double> ParseNumber(std::string_view text) {
    return ReadNumber(text).value;
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
