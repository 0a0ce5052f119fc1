#pragma once

#include <string>
#include <string_view>

// Text operations on UTF-8 texts, counted in characters (code points), not bytes. None fails.

namespace tarvex {

// Number of characters.  "" -> 0;  "abc" -> 3;  "НИЖЕ" -> 4
std::size_t TextLength(std::string_view text);

// The characters from 1-based `start`, at most `length` of them; a length past the end stops
// there, a start past the end gives "", a start below 1 counts as 1.
//   ("D:\\Calc\\", 8, 1) -> "\\";  (" 33.26493491", 1, 8) -> " 33.2649";  ("НИЖЕ", 2, 2) -> "ИЖ"
std::string Substring(std::string_view text, long start, long length);

// Exact, case-sensitive comparison; a text of blanks does not equal the empty text.
//   ("", "") -> true;  (" ", "") -> false;  ("a", "A") -> false
bool TextEquals(std::string_view a, std::string_view b);

// Plain concatenation.  (" +", " 23.5") -> " + 23.5"
std::string Concat(std::string_view a, std::string_view b);

// Appends `text` in double quotes as a JSON string is written: quotes, backslashes and control
// characters escaped, the rest (UTF-8) as it is. The JSON writer's strings, and a typed text in a
// message of one line, where a line break or a terminal's control sequence must not be obeyed.
//   "a\"b" -> "\"a\\\"b\"";  "1,2\r\n" -> "\"1,2\\r\\n\""
void AppendQuoted(std::string& out, std::string_view text);

// The same as a new text.  "Анадырь" -> "\"Анадырь\"";  "zz\nzz" -> "\"zz\\nzz\""
std::string Quoted(std::string_view text);

}  // namespace tarvex
