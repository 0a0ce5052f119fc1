#include "names/name_key.h"

#include <cstdint>

namespace tarvex::names {
namespace {

// Base letters of U+00C0..U+017F; '*' for the letters written with two, '-' for signs.
constexpr std::string_view LatinBase =
    "aaaaaa*ceeeeiiiidnooooo-ouuuuy**"
    "aaaaaa*ceeeeiiiidnooooo-ouuuuy*y"
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii**jjkkklllllllllln"
    "nnnnnnnnoooooo**rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";

std::string_view TwoLetters(char32_t c) {
    switch (c) {
        case 0xC6:
        case 0xE6:
            return "ae";
        case 0xDE:
        case 0xFE:
            return "th";
        case 0xDF:
            return "ss";
        case 0x132:
        case 0x133:
            return "ij";
        default:
            return "oe";
    }
}

// The next code point of UTF-8 `text` from `at`, which it moves on; a byte that does not begin a
// valid sequence stands for itself.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at);
    const std::size_t length = first < 0x80         ? 1
                               : first >> 5 == 0x6  ? 2
                               : first >> 4 == 0xE  ? 3
                               : first >> 3 == 0x1E ? 4
                                                    : 0;
    if (length <= 1 || at + length > text.size()) {
        ++at;
        return first;
    }
    char32_t c = first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return first;
        }
        c = c << 6 | (byte(at + i) & 0x3F);
    }
    at += length;
    return c;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsSeparator(char32_t c) {
    if (c < 0x80) {
        return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
    }
    // No-break space, signs of Latin-1, modifier letters (ʼ ʻ), general punctuation (’ – —),
    // and the Latin-1 multiplication and division signs.
    return (c >= 0xA0 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || (c >= 0x2B0 && c <= 0x2FF) ||
           (c >= 0x2000 && c <= 0x206F);
}

}  // namespace

NameKey KeyOf(std::string_view text) {
    NameKey name;
    bool word_begins = true;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = NextCodePoint(text, at);
        if (IsSeparator(c)) {
            word_begins = true;
            continue;
        }
        if (word_begins) {
            name.word_starts.push_back(name.key.size());
            word_begins = false;
        }
        if (c >= 'A' && c <= 'Z') {
            c += 'a' - 'A';
        } else if (c >= 0x410 && c <= 0x42F) {
            c += 0x20;
        } else if (c >= 0x400 && c <= 0x40F) {
            c += 0x50;
        }
        if (c == 0x451) {
            c = 0x435;  // ё -> е
        }
        if (c >= 0xC0 && c <= 0x17F) {
            const char base = LatinBase[c - 0xC0];
            if (base == '*') {
                name.key += TwoLetters(c);
            } else {
                name.key += base;
            }
            continue;
        }
        if (c >= 0x218 && c <= 0x21B) {
            name.key += c < 0x21A ? 's' : 't';  // Romanian ș ț
            continue;
        }
        Append(name.key, c);
    }
    return name;
}

std::string WordStarts(const NameKey& name) {
    std::string starts;
    for (const std::size_t start : name.word_starts) {
        starts += '\n';
        starts.append(name.key, start);
    }
    return starts;
}

bool BeginsAWord(const std::string& query, const NameKey& name) {
    for (const std::size_t start : name.word_starts) {
        if (name.key.compare(start, query.size(), query) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace tarvex::names
