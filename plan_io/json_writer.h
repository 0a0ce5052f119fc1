#pragma once

#include <optional>
#include <string>
#include <string_view>

// JSON written directly, one object per line: the batch modes write one per input line, and
// building a document and dumping it costs more than the plan itself (README: make bench). The
// program's one JSON writer: the plan's JSON, the calculation's, the error lines.

namespace tarvex {

// Appends `text` as a JSON string, quotes included. Texts are UTF-8 and passed through as they
// are; quotes, backslashes and control characters are escaped.
//   "a\"b" -> "\"a\\\"b\"";  "1,2\r\n" -> "\"1,2\\r\\n\""
void AppendJsonString(std::string& out, std::string_view text);

// Appends a number: the fewest digits that read back as it, written without an exponent from
// 0.0001 to below 1e15, and a whole number with ".0" (the form the plan's JSON has always had); -0
// as 0.0; not finite: null.
//   13 -> "13.0";  70.37298712472179 -> "70.37298712472179";  1e-05 -> "1e-05";  0.0001 ->
//   "0.0001";  1e15 -> "1e+15";  123456789012345 -> "123456789012345.0";  -0 -> "0.0"
void AppendJsonNumber(std::string& out, double value);

// A JSON text written as it goes: members and elements separated as they come.
//   JsonWriter json; json.BeginObject(); json.Key("a"); json.Number(1); json.EndObject();
//   std::move(json).Finish() -> {"a":1.0}
class JsonWriter {
  public:
    JsonWriter() { m_text.reserve(320); }

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // A member's name: plain ASCII without quotes or backslashes, written as it is.
    void Key(std::string_view key);
    void Number(double value);
    void Integer(long long value);
    void Number(const std::optional<double>& value);  // null when none
    void String(std::string_view text);
    void Null();
    // A JSON value written elsewhere, as it is.
    void Raw(std::string_view json);
    // A member whose value is a string.
    void Member(std::string_view key, std::string_view text) {
        Key(key);
        String(text);
    }

    std::string Finish() && { return std::move(m_text); }

  private:
    void Separate();
    void Open(char bracket);
    void Close(char bracket);

    std::string m_text;
    bool m_after_value = false;
};

// The answer of a batch to a line it rejects: {"error":"line N: reason"}.
//   (3, "not valid JSON") -> {"error":"line 3: not valid JSON"}
std::string ErrorLine(long line_number, std::string_view reason);

}  // namespace tarvex
