#include "conversions/text.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

TEST(TextLength, CountsCharactersNotBytes) {
    EXPECT_EQ(TextLength(""), 0u);
    EXPECT_EQ(TextLength("abc"), 3u);
    EXPECT_EQ(TextLength("НИЖЕ"), 4u);
    EXPECT_EQ(TextLength(" 33.2649мм-->НИЖЕ"), 17u);
}

TEST(Substring, IsOneBasedAndStopsAtTheEnd) {
    const struct {
        const char* text;
        long start;
        long length;
        const char* expected;
    } cases[] = {{" 33.26493491", 1, 8, " 33.2649"},
                 {" .5", 1, 8, " .5"},
                 {"D:\\Calc\\", 8, 1, "\\"},
                 {"D:\\Calc\\", 1, 7, "D:\\Calc"},
                 {"НИЖЕ", 2, 2, "ИЖ"},
                 {"abc", 4, 1, ""},
                 {"abc", 0, 2, "ab"},
                 {"abc", 2, 0, ""},
                 {"abc", 2, -1, ""},
                 {"", 1, 1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Substring(c.text, c.start, c.length), c.expected);
    }
}

}  // namespace
}  // namespace tarvex
