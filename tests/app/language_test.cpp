// SPDX-License-Identifier: MIT
// The language file's rule (English when its text holds "En" anywhere, case-sensitive) and
// the arguments of the message table's texts.
#include "core/common/lang.hpp"

#include <gtest/gtest.h>

TEST(LanguageFile, EnglishExactlyWhenTheTextHoldsEn) {
    struct Case {
        const char* text;
        kavo::Lang lang;
    };
    const Case cases[] = {
        {"En", kavo::Lang::English},      {"En\r\n", kavo::Lang::English},
        {"English", kavo::Lang::English}, {"Rus\r\nEnd", kavo::Lang::English},
        {"en", kavo::Lang::Russian},      {"EN", kavo::Lang::Russian},
        {"Rus\r\n", kavo::Lang::Russian}, {"", kavo::Lang::Russian},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kavo::langOfFile(c.text), c.lang) << c.text;
}

// "%1" to "%9" stand for the arguments; any other "%" stays as written.
TEST(MessageArguments, ReplacedInOnePass) {
    struct Case {
        const char* pattern;
        std::initializer_list<std::string_view> args;
        const char* text;
    };
    const Case cases[] = {
        {"%1 and %2", {"a", "b"}, "a and b"},
        {"%2%1", {"a", "b"}, "ba"},
        {"100%", {"x"}, "100%"},
        {"%3 %0", {"a"}, "%3 %0"},
        {"%%1", {"a"}, "%a"},
        {"%1", {"%1"}, "%1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kavo::substitute(c.pattern, c.args), c.text) << c.pattern;
    // A "%" at the very end looks at nothing past it.
    EXPECT_EQ(kavo::substitute(std::string_view("100%2", 4), {"a", "b"}), "100%");
}
