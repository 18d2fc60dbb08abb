// SPDX-License-Identifier: MIT
// Files that are not what they should be: every one gives a placed message, none a crash.
#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "core/olympiad/gift_import.hpp"
#include "olympiad/import_helpers.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace kavo;
using namespace kavo::olympiad;
using kavo::test::errors;
using kavo::test::warnings;

namespace {

template <int N> std::string en(const Message<N>& m, NoteArg (&&args)[N]) {
    return Note{m, std::move(args)}.text(Lang::English);
}
std::string en(const Message<>& m) {
    return Note{m}.text(Lang::English);
}

// Every problem lies inside the text: a line that exists and a column on it.
void expectPlaced(const OlympiadImport& imported, std::string_view text) {
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    for (const auto& p : imported.problems) {
        EXPECT_GE(p.pos.line, 1);
        EXPECT_LE(p.pos.line, lines);
        EXPECT_GE(p.pos.column, 1);
    }
}

TEST(GiftBadInput, EmptyAndBinaryFiles) {
    using R = kavo::test::Row;
    const std::vector<std::pair<std::string, R>> cases = {
        {"", {1, 1, en(kavo::msg::olympiad::empty)}},
        {"\n\n   \n", {1, 1, en(kavo::msg::olympiad::empty)}},
        {"// only a comment\n", {1, 1, en(kavo::msg::olympiad::empty)}},
        {"\xEF\xBB\xBF", {1, 1, en(kavo::msg::olympiad::empty)}},
        {std::string("Q {=a ~b}\n\nab\0cd", 16), {3, 3, en(kavo::msg::olympiad::binary, {"0x00"})}},
        {"\x7F"
         "ELF\x02\x01",
         {1, 1, en(kavo::msg::olympiad::binary, {"0x7F"})}},
        {"\xEF\xBB\xBFQ {=\xFF ~b}", {1, 1, en(kavo::msg::olympiad::badUtf8)}},
    };
    for (const auto& [bytes, row] : cases) {
        SCOPED_TRACE(bytes);
        const auto imported = importGift(bytes);
        EXPECT_EQ(errors(imported), std::vector<R>{row});
        EXPECT_TRUE(imported.tasks.empty());
    }
}

TEST(GiftBadInput, EveryTruncationOfTheExampleIsPlacedAndNeverCrashes) {
    std::ifstream in(KAVO_EXAMPLE_OLYMPIAD, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 1000u);
    std::size_t refused = 0;
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const auto cut = std::string_view(whole).substr(0, n);
        const auto imported = importGift(cut);
        expectPlaced(imported, cut);
        refused += imported.ok() ? 0 : 1;
    }
    // Cuts inside an answer block, a title or an Edits task are errors, not silent losses.
    EXPECT_GT(refused, whole.size() / 4);
    const auto mid = importGift(whole.substr(0, whole.find("~%-50%9")));
    EXPECT_EQ(std::get<2>(errors(mid).at(0)), en(kavo::msg::olympiad::blockNotClosed));
}

TEST(GiftBadInput, RandomBytesOfGiftSyntaxNeverCrash) {
    std::mt19937 random(15);
    const std::string alphabet = "{}=~#%:\\/[]-> \n\nabcТ01$CATEGORY//kavo:number=folded\"";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const auto length = random() % 120;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        const auto imported = importGift(text);
        expectPlaced(imported, text);
    }
}

TEST(GiftBadInput, MixedLineBreaksAreReadAndNamed) {
    const auto imported = importGift("A {=a ~b}\r\n\r\nB {=c ~d}\n\nC {=e ~f}\rD");
    EXPECT_EQ(warnings(imported),
              (std::vector<kavo::test::Row>{
                  {3, 10, en(kavo::msg::olympiad::mixedBreaks, {"LF", "CR LF"})}}));
    ASSERT_EQ(imported.tasks.size(), 3u);
    EXPECT_EQ(imported.tasks[1].pos, (SourcePos{3, 1}));
    // A lone CR breaks the line too: "D" continues the question after its answer block.
    EXPECT_EQ(imported.tasks[2].pos, (SourcePos{5, 1}));
    EXPECT_EQ(imported.tasks[2].task.condition, "C _____ D");
}

TEST(GiftBadInput, TenThousandQuestionsAreCheckedWhole) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "::Q" + std::to_string(i) + "::Question " + std::to_string(i) + "? {=yes ~no}\n\n";
    const auto imported = importGift(text);
    EXPECT_EQ(imported.tasks.size(), 10000u);
    const auto e = errors(imported);
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e[0], (kavo::test::Row{199, 1, en(kavo::msg::olympiad::tooManyTasks)}));
}

TEST(GiftBadInput, AFileAboveTheLimitIsRefusedUnread) {
    kavo::test::TempDir dir;
    const auto path = dir.path() / "big.gift";
    {
        std::ofstream out(path, std::ios::binary);
        out << "Q {=a ~b}\n\n";
    }
    std::filesystem::resize_file(path, 50u * 1024 * 1024);
    const auto imported = importGiftFile(path);
    EXPECT_EQ(errors(imported),
              (std::vector<kavo::test::Row>{
                  {1, 1,
                   en(kavo::msg::olympiad::tooLarge,
                      {std::to_string(50u * 1024 * 1024), std::to_string(MaxFileBytes)})}}));
    EXPECT_THROW(importGiftFile(dir.path() / "missing.gift"), kavo::Error);
}

} // namespace
