// SPDX-License-Identifier: MIT
// The language file's rule: English when its text holds "En" anywhere, case-sensitive.
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
