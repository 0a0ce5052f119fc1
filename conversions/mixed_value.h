#pragma once

#include <string>
#include <utility>
#include <variant>

// A value that holds either a number or a text, as the fields of a window do; where a number is
// needed, a text is read as one (AsDouble).

namespace tarvex {

class MixedValue {
  public:
    MixedValue(double number) : m_value(number) {}  // NOLINT: implicit, like the values it models
    MixedValue(std::string text) : m_value(std::move(text)) {}    // NOLINT
    MixedValue(const char* text) : m_value(std::string(text)) {}  // NOLINT

    bool IsText() const { return std::holds_alternative<std::string>(m_value); }
    const std::string& Text() const { return std::get<std::string>(m_value); }
    double Number() const { return std::get<double>(m_value); }

  private:
    std::variant<double, std::string> m_value;
};

// A number as it is; a text read as a whole number ("." as separator).
//   MixedValue("-0.05547") -> -0.05547;  MixedValue(2.5) -> 2.5
// Throws RuntimeError "Type mismatch: '.'" for MixedValue("."), "Overflow" for "1e999".
double AsDouble(const MixedValue& value);

// NumberToText of the double value; a text is read by AsDouble first.
//   MixedValue("12.") -> " 12";  MixedValue("23.5") -> " 23.5";  MixedValue(-0.25) -> "-.25"
std::string NumberToText(const MixedValue& value);

}  // namespace tarvex
