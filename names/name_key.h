#pragma once

#include <string>
#include <string_view>
#include <vector>

// Names compared as people type them: without regard to case, spaces, dashes and other
// punctuation, Latin accents or ё.

namespace tarvex::names {

struct NameKey {
    std::string key;                       // UTF-8
    std::vector<std::size_t> word_starts;  // byte offsets in key where a word of the name began
};

// Lower case; ё -> е; Latin letters with accents -> their base letters (ß -> ss, æ -> ae);
// ASCII other than letters and digits, and Unicode punctuation and spaces, dropped (each starts
// a new word); anything else kept as it is.
//   "Express-AMU1" -> {"expressamu1", {0, 7}};  "Орёл" -> "орел";  "Kraków" -> "krakow";
//   "Санкт-Петербург" -> {"санктпетербург", {0, 10}}
NameKey KeyOf(std::string_view text);

// The parts of a name's key from each word's start on, each after a '\n' (never part of a key),
// so that one search for '\n' + query tells whether the query begins a word.
//   key of "Санкт-Петербург" -> "\nсанктпетербург\nпетербург"
std::string WordStarts(const NameKey& name);

// True when `query` (a key) begins one of the words of `name`.
//   ("петер", key of "Санкт-Петербург") -> true;  ("тер", ...) -> false
bool BeginsAWord(const std::string& query, const NameKey& name);

}  // namespace tarvex::names
