#pragma once

#include <string>
#include <string_view>

// A flat JSON object of string values on one line, written directly: the batch mode writes one
// per input line, and a general JSON document would cost more than the calculation.

namespace tarvex {

// Appends `text` as a JSON string, quotes included. Texts are UTF-8 and passed through as they
// are; quotes, backslashes and control characters are escaped.
//   "a\"b" -> "\"a\\\"b\"";  "1,2\r\n" -> "\"1,2\\r\\n\""
void AppendJsonString(std::string& out, std::string_view text);

class JsonLine {
  public:
    // Adds a member. The key is written as it is: plain ASCII without quotes or backslashes; it is
    // not checked for repetition.
    void Add(std::string_view key, std::string_view value);

    // {"key":"value",...} without a line end.
    std::string Finish() &&;

    JsonLine() { m_text.reserve(320); }

  private:
    std::string m_text = "{";
};

}  // namespace tarvex
