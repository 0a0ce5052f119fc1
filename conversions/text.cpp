#include "conversions/text.h"

namespace tarvex {
namespace {

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

}  // namespace tarvex
