#include "plan_io/json_writer.h"

#include <array>
#include <charconv>
#include <cmath>

#include "conversions/float_chars.h"
#include "conversions/text.h"

namespace tarvex {
namespace {

// Numbers are written without an exponent while their decimal point falls within these bounds:
// from 0.0001 ("0.000d", the point 3 places before the first digit) to below 1e15 (15 digits before the point).
constexpr int MaxFixedDigits = 15;
constexpr int MinFixedPoint = -4;

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    AppendQuoted(out, text);
}

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (value == 0) {
        out += "0.0";
        return;
    }
    if (value < 0) {
        out += '-';
    }
    std::string digits;
    int exponent = 0;
    float_chars::ShortestDigits(value, digits, exponent);
    const int count = static_cast<int>(digits.size());
    const int point = exponent + 1;  // digits before the decimal point
    if (point > MaxFixedDigits || point <= MinFixedPoint) {
        out += float_chars::Scientific(digits, exponent);
    } else if (point >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(point - count), '0');
        out += ".0";
    } else if (point > 0) {
        out.append(digits, 0, static_cast<std::size_t>(point));
        out += '.';
        out.append(digits, static_cast<std::size_t>(point));
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    }
}

void JsonWriter::Separate() {
    if (m_after_value) {
        m_text += ',';
    }
    m_after_value = true;
}

void JsonWriter::Open(char bracket) {
    Separate();
    m_text += bracket;
    m_after_value = false;
}

void JsonWriter::Close(char bracket) {
    m_text += bracket;
    m_after_value = true;
}

void JsonWriter::Key(std::string_view key) {
    Separate();
    m_text += '"';
    m_text += key;
    m_text += "\":";
    m_after_value = false;
}

void JsonWriter::Number(double value) {
    Separate();
    AppendJsonNumber(m_text, value);
}

void JsonWriter::Integer(long long value) {
    Separate();
    char text[24];
    m_text.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void JsonWriter::Number(const std::optional<double>& value) {
    if (value) {
        Number(*value);
    } else {
        Null();
    }
}

void JsonWriter::String(std::string_view text) {
    Separate();
    AppendJsonString(m_text, text);
}

void JsonWriter::Null() {
    Separate();
    m_text += "null";
}

void JsonWriter::Raw(std::string_view json) {
    Separate();
    m_text += json;
}

std::string ErrorLine(long line_number, std::string_view reason) {
    JsonWriter json;
    json.BeginObject();
    json.Member("error",
                "line " + float_chars::WholeText(line_number) + ": " + std::string(reason));
    json.EndObject();
    return std::move(json).Finish();
}

}  // namespace tarvex
