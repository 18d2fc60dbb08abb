// SPDX-License-Identifier: MIT
// A file of one line as long as the size limit allows is read in time linear in its size
// (registered with a ctest TIMEOUT), and its problems are placed in the right column.
#include "core/common/messages.hpp"
#include "core/olympiad/gift_import.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

using namespace kavo::olympiad;

namespace {

// Characters, not bytes, before a byte offset of UTF-8 text, plus one.
int columnOf(const std::string& text, std::size_t offset) {
    int column = 1;
    for (std::size_t i = 0; i < offset; ++i)
        column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return column;
}

// One question on one line of `bytes` bytes: options with escapes and Cyrillic letters,
// ending in an option whose weight is no number.
std::string oneLine(std::size_t bytes) {
    std::string text = "::Q::Выберите {";
    const std::string tail = "~%bad%конец}";
    for (int i = 0; text.size() + tail.size() + 40 < bytes; ++i)
        text += "~вариант\\=" + std::to_string(i) + "\\{x\\} ";
    text += std::string(bytes - tail.size() - text.size(), ' ');
    return text + tail;
}

} // namespace

TEST(LongLine, SixteenMegabytesOnOneLineAreRefusedAtLineOne) {
    const auto text = oneLine(MaxFileBytes);
    ASSERT_EQ(text.size(), MaxFileBytes);
    kavo::test::TempDir dir;
    const auto file = dir.path() / "long.gift";
    kavo::test::writeBytes(file, text);
    const auto imported = importGiftFile(file);
    ASSERT_FALSE(imported.ok());
    ASSERT_EQ(imported.problems.size(), 1u);
    EXPECT_EQ(imported.problems[0].note.what.en, kavo::msg::olympiad::badWeight.en);
    EXPECT_EQ(imported.problems[0].pos, (SourcePos{1, columnOf(text, text.find("%bad%"))}));

    // One byte more is refused before it is read, at line 1 too.
    kavo::test::writeBytes(file, text + " ");
    const auto large = importGiftFile(file);
    ASSERT_EQ(large.problems.size(), 1u);
    EXPECT_EQ(large.problems[0].note.what.en, kavo::msg::olympiad::tooLarge.en);
    EXPECT_EQ(large.problems[0].pos, (SourcePos{1, 1}));
}

// Places asked out of order on long lines (the empty answers of a block, reported where
// each begins) come out as a count from the line's start gives them.
TEST(LongLine, EveryProblemOfALongLineIsPlacedByCharacters) {
    std::string text = "Q {";
    std::vector<std::size_t> empties;
    for (int i = 0; i < 3000; ++i) {
        if (i % 7 != 0) {
            text += "~ж";
            for (int k = 0; k < i % 5; ++k)
                text += "ы";
            text += " ";
        }
        if (i % 7 == 0) {
            empties.push_back(text.size());
            text += "~ ";
        }
    }
    text += "}\n\nQ2 {=a ~b}";
    const auto imported = importGift(text);
    std::vector<SourcePos> expected, got;
    for (const auto at : empties)
        expected.push_back({1, columnOf(text, at)});
    for (const auto& p : imported.problems)
        if (p.note.what.en == kavo::msg::olympiad::emptyAnswer.en)
            got.push_back(p.pos);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(imported.tasks.size(), 1u);
}
