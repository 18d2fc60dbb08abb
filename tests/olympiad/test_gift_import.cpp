// SPDX-License-Identifier: MIT
#include "core/common/messages.hpp"
#include "core/olympiad/gift_import.hpp"
#include "olympiad/import_helpers.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

using namespace kavo;
using namespace kavo::olympiad;
using kavo::model::TaskKind;
using kavo::test::cp1251;
using kavo::test::errors;
using kavo::test::warnings;

namespace {

template <int N> std::string en(const Message<N>& m, NoteArg (&&args)[N]) {
    return Note{m, std::move(args)}.text(Lang::English);
}
std::string en(const Message<>& m) {
    return Note{m}.text(Lang::English);
}

struct KindCase {
    std::string gift;
    TaskKind kind;
    std::vector<std::string> variants; // UTF-8
    int answer;
    unsigned answers;
    std::string typed;
};

TEST(GiftImport, MapsEachKindOntoTheProgramsKinds) {
    const std::vector<KindCase> cases = {
        {"::T::Q? {=a ~b ~c}", TaskKind::SingleChoice, {"a", "b", "c"}, 0, 0, ""},
        {"Q? {~a =b}", TaskKind::SingleChoice, {"a", "b"}, 1, 0, ""},
        {"// kavo: folded\nQ? {~a ~b =c ~d ~e}",
         TaskKind::FoldedChoice,
         {"a", "b", "c", "d", "e"},
         2,
         0,
         ""},
        {"The Earth is round.{T}", TaskKind::SingleChoice, {"True", "False"}, 0, 0, ""},
        {"The Earth is flat.{FALSE}", TaskKind::SingleChoice, {"True", "False"}, 1, 0, ""},
        {"Земля плоская.{F}", TaskKind::SingleChoice, {"Верно", "Неверно"}, 1, 0, ""},
        {"Q? {~%50%a ~%50%b ~%-100%c}", TaskKind::MultipleChoice, {"a", "b", "c"}, 0, 0b011, ""},
        {"// kavo: folded\nQ? {~%100%a ~b}",
         TaskKind::MultipleChoiceFolded,
         {"a", "b"},
         0,
         0b001,
         ""},
        {"Q? {~%25%a ~%25%b ~%25%c ~%25%d ~%-100%e}",
         TaskKind::MultipleChoice,
         {"a", "b", "c", "d", "e"},
         0,
         0b01111,
         ""},
        {"Q? {=60}", TaskKind::TypedAnswer, {}, 0, 0, "60"},
        {"Q? {60 km}", TaskKind::TypedAnswer, {}, 0, 0, "60 km"},
        {"Q? {=%100%%5}", TaskKind::TypedAnswer, {}, 0, 0, "%5"},
        {"Q? {=a\\=b\\{c\\}\\~\\#\\:}", TaskKind::TypedAnswer, {}, 0, 0, "a=b{c}~#:"},
        {"Сколько? {=пять}", TaskKind::TypedAnswer, {}, 0, 0, "пять"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gift);
        const auto imported = importGift(c.gift);
        ASSERT_EQ(errors(imported), std::vector<kavo::test::Row>{});
        ASSERT_EQ(imported.tasks.size(), 1u);
        const auto& t = imported.tasks[0].task;
        EXPECT_EQ(t.kind, c.kind);
        for (std::size_t i = 0; i < model::VariantCount; ++i) {
            if (i < c.variants.size())
                EXPECT_EQ(t.variants[i], cp1251(c.variants[i]));
            else
                EXPECT_FALSE(t.variants[i].has_value());
        }
        EXPECT_EQ(t.answer, c.answer);
        EXPECT_EQ(t.answers, c.answers);
        EXPECT_EQ(t.typedAnswer, cp1251(c.typed));
        EXPECT_EQ(t.number, 1);
    }
}

TEST(GiftImport, TextFormatsBecomePageText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a < b & c > d\nnext line {=x ~y}", "a &lt; b &amp; c &gt; d<br>\r\nnext line"},
        {"[plain]<b>as typed</b>\\nsecond {=x ~y}", "&lt;b&gt;as typed&lt;/b&gt;<br>\r\nsecond"},
        {"[html]<p>kept</p>\n<b>x</b> {=x ~y}", "<p>kept</p>\r\n<b>x</b>"},
        {"[markdown]**bold** and *em* and _em_ and `code` < 3 {=x ~y}",
         "<strong>bold</strong> and <em>em</em> and <em>em</em> and <code>code</code> &lt; 3"},
        {"The sky is {=blue ~red} today.", "The sky is _____ today."},
        {"x ≤ y {=x ~y}", "x &#8804; y"},
        {"Привет {=x ~y}", cp1251("Привет")},
    };
    for (const auto& [gift, condition] : cases) {
        SCOPED_TRACE(gift);
        const auto imported = importGift(gift);
        ASSERT_TRUE(imported.ok());
        EXPECT_EQ(imported.tasks.at(0).task.condition, condition);
    }
    // Variants take the question's format unless they give their own.
    const auto imported = importGift("[html]Q {=<i>a</i> ~[plain]<i>b</i> ~c ≥ d}");
    ASSERT_TRUE(imported.ok());
    const auto& v = imported.tasks.at(0).task.variants;
    EXPECT_EQ(v[0], "<i>a</i>");
    EXPECT_EQ(v[1], "&lt;i&gt;b&lt;/i&gt;");
    EXPECT_EQ(v[2], "c &#8805; d");
}

TEST(GiftImport, RefusesWhatTheProgramCannotWriteWithLineAndColumn) {
    using R = kavo::test::Row;
    const std::vector<std::pair<std::string, R>> cases = {
        {"Q {=a ~b", {1, 3, en(kavo::msg::olympiad::blockNotClosed)}},
        {"Q } {=a ~b}", {1, 3, en(kavo::msg::olympiad::strayClosing)}},
        {"Q {=a {~b}", {1, 7, en(kavo::msg::olympiad::braceInBlock)}},
        {"Q {=a ~b} and {=c ~d}", {1, 15, en(kavo::msg::olympiad::secondBlock)}},
        {"::Title Q {=a ~b}", {1, 1, en(kavo::msg::olympiad::titleNotClosed)}},
        {"Q {x ~a =b}", {1, 4, en(kavo::msg::olympiad::textBeforeAnswers)}},
        {"Q {~%150%a =b}", {1, 5, en(kavo::msg::olympiad::badWeight, {"%150%"})}},
        {"Q {~%abc%a =b}", {1, 5, en(kavo::msg::olympiad::badWeight, {"%abc%"})}},
        {"Q {=a ~}", {1, 7, en(kavo::msg::olympiad::emptyAnswer)}},
        {"// kavo: bogus\nQ {=a ~b}", {1, 10, en(kavo::msg::olympiad::kavoUnknown, {"bogus"})}},
        {"// kavo: folded=1\nQ {=a ~b}",
         {1, 10, en(kavo::msg::olympiad::kavoUnknown, {"folded=1"})}},
        {"// kavo: number=x\nQ {=a ~b}",
         {1, 10,
          en(kavo::msg::olympiad::kavoBadValue, {"number", kavo::msg::olympiad::wordNumber})}},
        {"// kavo: name-ru=\"open\nQ {=a ~b}",
         {1, 10,
          en(kavo::msg::olympiad::kavoBadValue, {"name-ru", kavo::msg::olympiad::wordQuoted})}},
        {"// kavo: folded\n// kavo: folded\nQ {=a ~b}",
         {2, 10, en(kavo::msg::olympiad::kavoTwice, {"folded"})}},
        {"// kavo: number=1\n\nQ {=a ~b}", {1, 1, en(kavo::msg::olympiad::kavoAlone)}},
        {"Q\n// kavo: folded\n{=a ~b}", {2, 1, en(kavo::msg::olympiad::kavoAfterText)}},
        {"// kavo: name-ru=\"x\"\nQ{=a ~b}", {1, 10, en(kavo::msg::olympiad::namesTogether)}},
        {"// kavo: folded\nQ {=5}",
         {1, 10, en(kavo::msg::olympiad::kavoNotHere, {"folded", kavo::msg::olympiad::wordTyped})}},
        {"// kavo: name=\"x\"\nQ {=a ~b}",
         {1, 10, en(kavo::msg::olympiad::kavoNotHere, {"name", kavo::msg::olympiad::wordChoice})}},
        {"$CATEGORY: kavo/parts/1,2\n\nQ{=a ~b}", {1, 1, en(kavo::msg::olympiad::partsBad)}},
        {"$CATEGORY: kavo/stuff\n\nQ{=a ~b}",
         {1, 1, en(kavo::msg::olympiad::kavoCategory, {"kavo/stuff"})}},
        {"$CATEGORY: kavo/parts/50,50,0\n\nQ{=a ~b}",
         {1, 1, en(kavo::msg::olympiad::partsTooMany, {"100"})}},
        {"// kavo: edits\nMain\n\n// kavo: sub\nA {=1}",
         {2, 1, en(kavo::msg::olympiad::editsCount, {"1"})}},
        {"// kavo: sub\nA {=1}", {2, 1, en(kavo::msg::olympiad::subAlone)}},
        {"// kavo: edits\nMain {=1}", {2, 6, en(kavo::msg::olympiad::editsHeadBlock)}},
        {"// kavo: edits\nMain\n\n// kavo: sub\nA {=1 ~2}\n\n// kavo: sub\nB {=3}",
         {5, 3, en(kavo::msg::olympiad::subKind)}},
        {"// kavo: number=3\nQ{=a ~b}\n\n// kavo: number=3\nR{=a ~b}",
         {5, 1, en(kavo::msg::olympiad::numberTaken, {"3", "2"})}},
        {"$CATEGORY: kavo/parts/1,1,0\n\n// kavo: number=3\nQ{=a ~b}",
         {4, 1, en(kavo::msg::olympiad::numberOutside, {"3", "1", "1", "0", "2"})}},
        {"// kavo: number=0\nQ{=a ~b}", {2, 1, en(kavo::msg::olympiad::numberRange, {"0"})}},
        {"// kavo: number=100\nQ{=a ~b}", {2, 1, en(kavo::msg::olympiad::numberRange, {"100"})}},
    };
    for (const auto& [gift, row] : cases) {
        SCOPED_TRACE(gift);
        const auto imported = importGift(gift);
        EXPECT_EQ(errors(imported), std::vector<R>{row});
    }
}

// The message's own texts, compared as written: a literal '%' before a digit in a hint is
// not an argument.
TEST(GiftImport, HintsHoldTheirLiteralPercentInBothLanguages) {
    struct Case {
        std::string gift;
        Lang lang;
        std::string report;
    };
    const Case cases[] = {
        {"Q {=a =b ~c}", Lang::English,
         "q.gift:1:3: left out: 2 variants marked '=' right; a single choice has one (give weights "
         "~%50% for several)"},
        {"Q {=a =b ~c}", Lang::Russian,
         "q.gift:1:3: пропущен: 2 варианта отмечены '=' как верные; в задаче с одним ответом "
         "верный "
         "один (для нескольких укажите веса ~%50%)"},
    };
    for (const auto& c : cases) {
        const auto imported = importGift(c.gift);
        ASSERT_EQ(imported.problems.size(), 1u) << c.gift;
        EXPECT_EQ(describe(imported.problems[0], c.lang, "q.gift"), c.report);
    }
}

// A category that names a path is refused; titles and names never become paths, so they
// may read like one, as the form's name fields take them.
TEST(GiftImport, CategoriesThatNamePathsAreRefusedNamesAndTitlesPass) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"$CATEGORY: ../../x\n\nQ {=a ~b}", "../../x"},
        {"$CATEGORY: /etc\n\nQ {=a ~b}", "/etc"},
        {"$CATEGORY: C:\\x\n\nQ {=a ~b}", "C:\\x"},
    };
    for (const auto& [gift, path] : cases) {
        SCOPED_TRACE(gift);
        const auto e = errors(importGift(gift));
        ASSERT_EQ(e.size(), 1u);
        EXPECT_NE(std::get<2>(e[0]).find("\"" + path + "\" names a path"), std::string::npos);
    }
    for (std::string ok :
         {"::Speed km/h::Q {=a ~b}", "::A: the start::Q {=a ~b}",
          "$CATEGORY: $course$/top/Olympiad\n\n::x::Q {=a ~b}", "::../../x::Q {=a ~b}",
          "::/etc::Q {=a ~b}", "::C:\\x::Q {=a ~b}", "::a/..\\..\\b::Q {=a ~b}",
          "// kavo: name-ru=\"../../x\" name-en=\"x\"\nQ {=a ~b}",
          "// kavo: edits name=\"/etc/passwd\"\nMain\n\n// kavo: sub\nA{=1}\n\n// kavo: "
          "sub\nB{=2}"})
        EXPECT_TRUE(importGift(ok).ok()) << ok;
}

TEST(GiftImport, WarnsOfChangedWeightsAndDroppedFeedback) {
    using R = kavo::test::Row;
    const std::vector<std::pair<std::string, std::vector<R>>> cases = {
        {"Q {=a ~%50%b}", {{1, 3, en(kavo::msg::olympiad::partialDropped)}}},
        {"Q {=%50%a}", {{1, 3, en(kavo::msg::olympiad::partialDropped)}}},
        {"Q {~%60%a ~%40%b ~c}", {{1, 3, en(kavo::msg::olympiad::weightsChanged, {"A, B"})}}},
        {"Q {~%50%a ~%50%b ~%-100%c ~d}",
         {{1, 3, en(kavo::msg::olympiad::weightsChanged, {"A, B"})}}},
        {"Q {=a#good ~b#bad}", {{1, 3, en(kavo::msg::olympiad::feedbackDropped)}}},
        {"Q {=a ~b ####general}", {{1, 3, en(kavo::msg::olympiad::feedbackDropped)}}},
        {"Q {T#no#yes}", {{1, 3, en(kavo::msg::olympiad::feedbackDropped)}}},
        {"Q {~%50%a ~%50%b ~%-100%c ~%-100%d}", {}},
        {"Q {~%50%a ~%50%b ~c}", {}},
    };
    for (const auto& [gift, expected] : cases) {
        SCOPED_TRACE(gift);
        const auto imported = importGift(gift);
        EXPECT_TRUE(imported.ok());
        EXPECT_EQ(warnings(imported), expected);
    }
}

TEST(GiftImport, DetectsTheEncoding) {
    const std::string utf8 = "::Вопрос::Столица? {=Москва ~Казань}\n";
    const auto plain = importGift(utf8);
    const auto bom = importGift("\xEF\xBB\xBF" + utf8);
    const auto windows = importGift(cp1251(utf8));
    EXPECT_EQ(plain.encoding, Encoding::Utf8);
    EXPECT_EQ(bom.encoding, Encoding::Utf8WithBom);
    EXPECT_EQ(windows.encoding, Encoding::Cp1251);
    ASSERT_TRUE(plain.ok() && bom.ok() && windows.ok());
    EXPECT_EQ(plain.tasks.at(0).task.condition, cp1251("Столица?"));
    EXPECT_EQ(bom.tasks.at(0).task, plain.tasks.at(0).task);
    EXPECT_EQ(windows.tasks.at(0).task, plain.tasks.at(0).task);
    EXPECT_EQ(windows.tasks.at(0).title, "Вопрос");
}

TEST(GiftImport, NumbersRunOnAndFillTheParts) {
    const auto imported = importGift("A{=a ~b}\n\n// kavo: number=5\nB{=1}\n\nC{T}\n\n"
                                     "// kavo: edits name=\"Ed\"\nMain\n\n// kavo: sub\nx{=1}\n\n"
                                     "// kavo: sub\ny{=2}\n\nD{=3}\n");
    ASSERT_TRUE(imported.ok());
    std::vector<int> numbers;
    for (const auto& t : imported.tasks)
        numbers.push_back(t.number);
    EXPECT_EQ(numbers, (std::vector<int>{1, 5, 6, 7, 8}));
    EXPECT_FALSE(imported.sizesGiven);
    EXPECT_EQ(imported.sizes, (model::PartSizes{8, 0, 0}));
    const auto& edits = imported.tasks[3].task;
    EXPECT_EQ(edits.kind, TaskKind::Edits);
    EXPECT_EQ(edits.folder, "7");
    EXPECT_EQ(edits.number, 0);
    EXPECT_EQ(edits.title, "Ed");
}

TEST(GiftImport, ReadsTheExampleOlympiad) {
    const auto imported = importGiftFile(KAVO_EXAMPLE_OLYMPIAD);
    EXPECT_EQ(imported.problems.size(), 0u)
        << (imported.problems.empty() ? ""
                                      : describe(imported.problems[0], Lang::English, "example"));
    EXPECT_EQ(imported.sizes, (model::PartSizes{4, 3, 2}));
    ASSERT_EQ(imported.tasks.size(), 8u);
    const std::vector<TaskKind> kinds = {TaskKind::SingleChoice,         TaskKind::FoldedChoice,
                                         TaskKind::SingleChoice,         TaskKind::MultipleChoice,
                                         TaskKind::TypedAnswer,          TaskKind::SingleChoice,
                                         TaskKind::MultipleChoiceFolded, TaskKind::Edits};
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(imported.tasks[i].task.kind, kinds[i]) << i;
    const auto& capital = imported.tasks[1].task;
    ASSERT_TRUE(capital.names.has_value());
    EXPECT_EQ(capital.names->russian, cp1251("Столица"));
    EXPECT_EQ(capital.names->english, "Capital");
    EXPECT_EQ(capital.answer, 1);
    EXPECT_EQ(imported.tasks[3].task.answers, 0b01011u);
    EXPECT_TRUE(imported.tasks[4].task.picture);
    EXPECT_EQ(imported.tasks[4].task.condition,
              "A car covers <strong>120 km</strong> in 2 hours.<br>\r\nIts speed in km/h?");
    EXPECT_EQ(imported.tasks[6].task.variants[0], "{");
    EXPECT_EQ(imported.tasks[6].task.variants[2], "=");
    const auto& edits = imported.tasks[7].task;
    EXPECT_EQ(edits.folder, "PartC/9");
    EXPECT_EQ(edits.title, cp1251("Движение"));
    ASSERT_EQ(edits.subQuestions.size(), 2u);
    EXPECT_EQ(edits.subQuestions[1].answer, "13:00");
    EXPECT_EQ(imported.tasks[7].pos, (SourcePos{42, 1}));
}

TEST(GiftImport, ProblemsReadInBothLanguages) {
    const auto imported = importGift("\n\nQ {=a ~b ~c ~d ~e ~f}\n\nQ {=a ~b} {=c}");
    ASSERT_EQ(imported.problems.size(), 2u);
    EXPECT_EQ(describe(imported.problems[0], Lang::English, "o.gift"),
              "o.gift:3:3: left out: 6 variants; a task holds 2 to 5");
    EXPECT_EQ(describe(imported.problems[0], Lang::Russian, "o.gift"),
              "o.gift:3:3: пропущен: 6 вариантов; в задаче их от 2 до 5");
    EXPECT_EQ(describe(imported.problems[1], Lang::English, "o.gift"),
              "o.gift:5:11: error: A second answer block in one question; a question has one "
              "(Edits tasks: see the kavo sub questions)");
}

} // namespace
