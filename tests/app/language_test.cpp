// SPDX-License-Identifier: MIT
// The language switch, the language file's rule (English when its text holds "En" anywhere,
// case-sensitive).
#include "core/common/error.hpp"
#include "core/common/lang.hpp"
#include "core/shell/language.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using kavo::test::readBytes;

// A switch reads what the next start needs before it writes: a missing one leaves the
// language file as it was, so the program still starts in the old language.
TEST(LanguageSwitch, AFileTheNextStartNeedsStopsItBeforeTheWrite) {
    struct Case {
        bool english;
        const char* missing;
    };
    const Case cases[] = {
        {true, "Language/Toolkit.txt"},      {false, "file/Toolkit.txt"},
        {true, "file/Toolkit.txt"},          {false, "file_for_edits/task3.out"},
        {true, "file_for_edits/zamena.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        kavo::test::TempDir dir;
        kavo::test::copySystemFolder(dir.path());
        const auto language = dir.path() / "System_folder/Language/Language.txt";
        const auto before = readBytes(language);
        fs::remove(dir.path() / "System_folder" / c.missing);
        EXPECT_THROW(kavo::app::writeLanguage(dir.path(), c.english), kavo::Error);
        EXPECT_EQ(readBytes(language), before);
    }
    kavo::test::TempDir dir;
    kavo::test::copySystemFolder(dir.path());
    kavo::app::writeLanguage(dir.path(), true);
    EXPECT_EQ(readBytes(dir.path() / "System_folder/Language/Language.txt"), "En\r\n");
}

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
