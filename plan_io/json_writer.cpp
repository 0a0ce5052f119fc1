#include "cli/json_line.h"

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

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
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

void JsonLine::Add(std::string_view key, std::string_view value) {
    if (m_text.size() > 1) {
        m_text += ',';
    }
    m_text += '"';
    m_text += key;
    m_text += "\":";
    AppendJsonString(m_text, value);
}

std::string JsonLine::Finish() && {
    m_text += '}';
    return std::move(m_text);
}

}  // namespace tarvex
