#include "conversions/text.h"

#include <array>

namespace tarvex {
namespace {

constexpr std::array<bool, 256> EscapedBytes = [] {
    std::array<bool, 256> escaped{};
    for (int c = 0; c < 0x20; ++c) {
        escaped[c] = true;
    }
    escaped['"'] = true;
    escaped['\\'] = true;
    return escaped;
}();

const char* ShortEscape(char c) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            return nullptr;
    }
}

void AppendEscaped(std::string& out, char c) {
    if (const char* escape = ShortEscape(c)) {
        out += escape;
    } else {
        constexpr char hex[] = "0123456789abcdef";
        out += "\\u00";
        out += hex[(c >> 4) & 0xF];
        out += hex[c & 0xF];
    }
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the character with 0-based index `index`, or text.size() past the end.
std::size_t OffsetOfCharacter(std::string_view text, std::size_t index) {
    std::size_t offset = 0;
    while (offset < text.size() && index > 0) {
        ++offset;
        while (offset < text.size() && IsContinuationByte(text[offset])) {
            ++offset;
        }
        --index;
    }
    return offset;
}

}  // namespace

std::size_t TextLength(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        count += IsContinuationByte(c) ? 0 : 1;
    }
    return count;
}

std::string Substring(std::string_view text, long start, long length) {
    if (length <= 0) {
        return {};
    }
    const std::size_t first = OffsetOfCharacter(text, start > 1 ? start - 1 : 0);
    const std::size_t rest =
        OffsetOfCharacter(text.substr(first), static_cast<std::size_t>(length));
    return std::string(text.substr(first, rest));
}

bool TextEquals(std::string_view a, std::string_view b) {
    return a == b;
}

std::string Concat(std::string_view a, std::string_view b) {
    std::string joined;
    joined.reserve(a.size() + b.size());
    joined.append(a).append(b);
    return joined;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    std::size_t plain_start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (EscapedBytes[static_cast<unsigned char>(c)]) {
            out.append(text.substr(plain_start, i - plain_start));
            AppendEscaped(out, c);
            plain_start = i + 1;
        }
    }
    out.append(text.substr(plain_start));
    out += '"';
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    AppendQuoted(quoted, text);
    return quoted;
}

}  // namespace tarvex
