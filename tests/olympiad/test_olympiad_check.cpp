// SPDX-License-Identifier: MIT
#include "core/olympiad/olympiad_check.hpp"

#include <gtest/gtest.h>

using namespace kavo;
using model::TaskKind;

namespace {

std::vector<model::Task> tasksAnswering(std::initializer_list<std::pair<TaskKind, int>> rows) {
    std::vector<model::Task> tasks;
    for (const auto& [kind, answer] : rows) {
        model::Task task;
        task.kind = kind;
        task.answer = answer;
        tasks.push_back(task);
    }
    return tasks;
}

} // namespace

TEST(OlympiadCheck, AnswersBunchedOnOneLetter) {
    const auto S = TaskKind::SingleChoice, F = TaskKind::FoldedChoice, M = TaskKind::MultipleChoice,
               T = TaskKind::TypedAnswer;
    // Fewer than four single-choice tasks never bunch.
    EXPECT_FALSE(
        olympiad::answersBunched(tasksAnswering({{S, 0}, {S, 0}, {S, 0}, {M, 0}, {T, 0}})));
    // Exactly half is not more than half.
    EXPECT_FALSE(olympiad::answersBunched(tasksAnswering({{S, 1}, {S, 1}, {S, 0}, {S, 2}})));
    // Folded single choice counts; other kinds do not.
    const auto bunched =
        olympiad::answersBunched(tasksAnswering({{S, 2}, {F, 2}, {S, 2}, {F, 0}, {M, 1}, {T, 0}}));
    ASSERT_TRUE(bunched);
    EXPECT_EQ(bunched->variant, 2);
    EXPECT_EQ(bunched->count, 3);
    EXPECT_EQ(bunched->singleChoice, 4);
}
