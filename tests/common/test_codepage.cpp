// SPDX-License-Identifier: MIT
// The Windows-1251 code page at the widget boundary: what is written as a reference, what
// is refused.
#include "core/common/codepage.hpp"

#include <gtest/gtest.h>

#include <optional>

using kavo::Unencodable;

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    EXPECT_EQ(kavo::utf8ToCp1251(kavo::cp1251ToUtf8(bytes), Unencodable::Refuse), bytes);
}

TEST(CodePage, ReferencesOnlyForCharactersMarkupAllows) {
    struct Case {
        const char* name;
        std::string utf8;
        std::optional<std::string> reference, refuse; // none: refused
    };
    const Case cases[] = {
        {"Cyrillic", "\xD0\x96", "\xC6", "\xC6"},
        {"U+0098 as read", "\xC2\x98", "\x98", "\x98"},
        {"a sign", "x \xE2\x89\xA4 2", "x &#8804; 2", {}},
        {"beyond the BMP", "\xF0\x9F\x98\x80", "&#128512;", {}},
        {"the last character", "\xF4\x8F\xBF\xBD", "&#1114109;", {}},
        {"a lone surrogate", "a\xED\xA0\x80", {}, {}},
        {"U+FFFE", "\xEF\xBF\xBE", {}, {}},
        {"U+FDD0", "\xEF\xB7\x90", {}, {}},
        {"U+1FFFF", "\xF0\x9F\xBF\xBF", {}, {}},
        {"a C1 control", "\xC2\x85", {}, {}},
        {"not UTF-8", "\xFF", {}, {}},
        {"an overlong NUL", "\xC0\x80", {}, {}},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", {}, {}},
        {"cut short", "\xE2\x89", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kavo::utf8ToCp1251(c.utf8, Unencodable::CharacterReference), c.reference)
            << c.name;
        EXPECT_EQ(kavo::utf8ToCp1251(c.utf8, Unencodable::Refuse), c.refuse) << c.name;
    }
}
