// SPDX-License-Identifier: MIT
// Questions that do not fit as written: left out with their place and reason, fitted with a
// warning where they can be, and the variants of choice questions put in another order.
#include "core/common/messages.hpp"
#include "core/olympiad/gift_import.hpp"
#include "olympiad/import_helpers.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

using namespace kavo;
using namespace kavo::olympiad;
using kavo::model::TaskKind;
using kavo::test::cp1251;
using kavo::test::en;
using kavo::test::errors;
using kavo::test::leftOut;
using kavo::test::Row;
using kavo::test::rows;
using kavo::test::warnings;
namespace o = kavo::msg::olympiad;

namespace {

TEST(ImportFit, QuestionsNoTaskCanHoldAreLeftOutWithLineAndColumn) {
    const std::vector<std::pair<std::string, Row>> cases = {
        {"Q {=a ~b ~c ~d ~e ~f}", {1, 3, en(o::tooManyVariants, {"6"})}},
        {"Q {~a}", {1, 3, en(o::tooFewVariants, {"1"})}},
        {"Q\n{\n=a -> 1\n=b -> 2\n}", {2, 1, en(o::matching)}},
        {"Q {#3:0.5}", {1, 3, en(o::numeric)}},
        {"Q {#1..5}", {1, 3, en(o::numeric)}},
        {"Q {#=3:0 =4:0}", {1, 3, en(o::numeric)}},
        {"Q {#}", {1, 3, en(o::numeric)}},
        {"Q {}", {1, 3, en(o::essay)}},
        // An essay with general feedback was taken for a numeric answer.
        {"Q {####Say why.}", {1, 3, en(o::essay)}},
        {"Q {=a =b}", {1, 3, en(o::twoTyped, {"2"})}},
        {"Q {=a =b ~c}", {1, 3, en(o::twoRight, {"2"})}},
        {"Q {~a ~%-50%b}", {1, 3, en(o::noRight)}},
        {"Q {=a\\nb}", {1, 5, en(o::answerBreak)}},
        {"Q {=x ≤ 3}", {1, 5, en(o::answerCodePage, {"x ≤ 3", "≤"})}},
    };
    for (const auto& [gift, row] : cases) {
        SCOPED_TRACE(gift);
        // Between two questions that fit: those are numbered 1 and 2, nothing blocks.
        const auto imported = importGift("A {=x ~y}\n\n" + gift + "\n\nB {=x ~y}");
        EXPECT_EQ(errors(imported), std::vector<Row>{});
        const auto [line, column, text] = row;
        EXPECT_EQ(leftOut(imported), (std::vector<Row>{{line + 2, column, text}}));
        ASSERT_EQ(imported.tasks.size(), 2u);
        EXPECT_EQ(imported.tasks[0].number, 1);
        EXPECT_EQ(imported.tasks[1].number, 2);
        EXPECT_EQ(imported.tasks[1].pos.line, 5 + std::count(gift.begin(), gift.end(), '\n'));
    }
}

TEST(ImportFit, NumbersSkipLeftOutQuestionsAndRealErrorsStillBlock) {
    struct Case {
        std::string gift;
        std::vector<int> numbers;
        std::size_t errors, leftOut, warnings;
    };
    const std::vector<Case> cases = {
        // A left-out question takes no number, and a given number stays.
        {"A{=x ~y}\n\nB{}\n\n// kavo: number=5\nC{=x ~y}\n\nD{=x ~y}", {1, 5, 6}, 0, 1, 0},
        {"// kavo: number=4\nB{}\n\nA{=x ~y}", {1}, 0, 1, 0},
        // A description is left out with a warning only.
        {"Read this first.\n\nA{=x ~y}", {1}, 0, 0, 1},
        // Real errors block, left-out questions or not.
        {"A{=x ~y}\n\nB{}\n\nC{=x ~y", {1}, 1, 1, 0},
        {"// kavo: bogus\nA{=x ~y}\n\nB{}", {1}, 1, 1, 0},
        {"// kavo: number=1\nA{=x ~y}\n\nB{}\n\n// kavo: number=1\nC{=x ~y}", {1, 1}, 1, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gift);
        const auto imported = importGift(c.gift);
        std::vector<int> numbers;
        for (const auto& t : imported.tasks)
            numbers.push_back(t.number);
        EXPECT_EQ(numbers, c.numbers);
        EXPECT_EQ(countErrors(imported.problems), c.errors);
        EXPECT_EQ(imported.leftOut(), c.leftOut);
        EXPECT_EQ(warnings(imported).size(), c.warnings);
        EXPECT_EQ(imported.ok(), c.errors == 0);
    }
    // More than 99 tasks counts only those that fit.
    std::string many;
    for (int i = 0; i < 99; ++i)
        many += "Q" + std::to_string(i) + " {=x ~y}\n\nE{}\n\n";
    EXPECT_TRUE(importGift(many).ok());
    EXPECT_FALSE(importGift(many + "Last {=x ~y}").ok());
}

TEST(ImportFit, NumericAndSeveralAcceptedAnswersBecomeTypedAnswersWhereTheyCan) {
    struct Case {
        std::string gift;
        bool firstAnswer;
        std::optional<std::string> typed; // none: left out
        std::vector<std::string> warnings;
    };
    const std::vector<Case> cases = {
        {"Q {#42}", false, "42", {en(o::numericTyped, {"42"})}},
        {"Q {#42:0}", false, "42", {en(o::numericTyped, {"42"})}},
        {"Q {#=-3.5:0}", false, "-3.5", {en(o::numericTyped, {"-3.5"})}},
        {"Q {#42#Right!}", false, "42", {en(o::feedbackDropped), en(o::numericTyped, {"42"})}},
        {"Q {#42:1}", false, std::nullopt, {}},
        {"Q {#4e1}", false, std::nullopt, {}},
        {"Q {=a =b}", false, std::nullopt, {}},
        {"Q {=a =b =c}", true, "a", {en(o::firstKept, {"a", "\"b\", \"c\""})}},
        {"Q {=%100%a =%50%b}", true, "a", {en(o::firstKept, {"a", "\"b\""})}},
        {"Q {=a =%0%b}", false, "a", {en(o::partialDropped)}},
        {"Q {=a}", true, "a", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gift);
        const auto imported = importGift(c.gift, {c.firstAnswer, false});
        ASSERT_TRUE(imported.ok());
        if (!c.typed) {
            EXPECT_TRUE(imported.tasks.empty());
            EXPECT_EQ(imported.leftOut(), 1u);
            continue;
        }
        ASSERT_EQ(imported.tasks.size(), 1u);
        EXPECT_EQ(imported.tasks[0].task.kind, TaskKind::TypedAnswer);
        EXPECT_EQ(imported.tasks[0].task.typedAnswer, *c.typed);
        std::vector<std::string> texts;
        for (const auto& w : warnings(imported))
            texts.push_back(std::get<2>(w));
        EXPECT_EQ(texts, c.warnings);
    }
    EXPECT_EQ(importGift("Q {=a =b}\n\nR {=c =d}").severalAccepted, 2u);
}

std::string bankOf(int count) {
    std::string gift;
    for (int i = 0; i < count; ++i)
        gift += "Question " + std::to_string(i) + "? {=right" + std::to_string(i) +
                " ~wrong one ~wrong two ~wrong three}\n\n";
    return gift;
}

TEST(ImportFit, BunchedAnswersAreNamedAndShuffledTheSameWayEveryTime) {
    const auto plain = importGift(bankOf(6));
    ASSERT_TRUE(plain.bunched.has_value());
    EXPECT_EQ(plain.bunched->variant, 0);
    EXPECT_EQ(plain.bunched->count, 6);
    EXPECT_EQ(plain.shuffled, 0u);

    const auto shuffled = importGift(bankOf(6), {false, true});
    const auto again = importGift(bankOf(6), {false, true});
    ASSERT_EQ(shuffled.tasks.size(), 6u);
    std::set<int> letters;
    for (std::size_t i = 0; i < 6; ++i) {
        const auto& t = shuffled.tasks[i].task;
        // The right answer moved with its variant, and the same file gives the same order.
        EXPECT_EQ(t.variants[static_cast<std::size_t>(t.answer)], "right" + std::to_string(i));
        EXPECT_EQ(t, again.tasks[i].task);
        letters.insert(t.answer);
    }
    EXPECT_GT(letters.size(), 1u);
    EXPECT_GT(shuffled.shuffled, 0u);
    EXPECT_FALSE(importGift("Q {=a ~b}\n\nR {=a ~b}\n\nS {=a ~b}").bunched.has_value());
}

TEST(ImportFit, ShuffleKeepsReferringVariantsAndKeepOrderQuestions) {
    struct Case {
        std::string gift;
        std::vector<std::size_t> fixed; // variants that keep their place
    };
    const std::vector<Case> cases = {
        {"Q {=a ~b ~c ~All of the above}", {3}},
        {"Q {~a ~b ~c =NONE OF THESE}", {3}},
        {"Q {=Все ответы верны ~b ~c ~d}", {0}},
        {"Q {~a ~b ~нет верного ответа =d}", {2}},
        {"// kavo: keep-order\nQ {=a ~b ~c ~d ~e}", {0, 1, 2, 3, 4}},
        {"Q {T}", {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gift);
        const auto plain = importGift(c.gift);
        ASSERT_TRUE(plain.ok());
        // Several questions of the same shape, so that some order other than the file's is
        // drawn for the movable variants.
        for (int k = 0; k < 8; ++k) {
            const std::string gift = c.gift.substr(0, c.gift.find('{')) + std::to_string(k) +
                                     c.gift.substr(c.gift.find('{'));
            const auto shuffled = importGift(gift, {false, true});
            ASSERT_EQ(shuffled.tasks.size(), 1u);
            const auto& before = plain.tasks[0].task;
            const auto& after = shuffled.tasks[0].task;
            for (auto i : c.fixed)
                EXPECT_EQ(after.variants[i], before.variants[i]) << i;
            EXPECT_EQ(after.variants[static_cast<std::size_t>(after.answer)],
                      before.variants[static_cast<std::size_t>(before.answer)]);
        }
    }
    // A multiple choice keeps its right variants with their texts.
    const auto multiple = importGift("Q7 {~%50%a ~%50%b ~%-100%c ~%-100%d}", {false, true});
    const auto& t = multiple.tasks.at(0).task;
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(((t.answers >> i) & 1u) != 0, *t.variants[i] == "a" || *t.variants[i] == "b");
}

} // namespace
