// SPDX-License-Identifier: MIT
#pragma once
// Checks of an olympiad as a whole: what no single task shows.

#include "core/model/task.hpp"

#include <optional>
#include <vector>

namespace kavo::olympiad {

// The right answers of the single-choice tasks bunched on one letter.
struct AnswerBunching {
    int variant = 0;      // 0 (A) to 4 (E)
    int count = 0;        // single-choice tasks whose right answer is that variant
    int singleChoice = 0; // single-choice tasks in all (folded ones included)
};

// Pupils learn to guess a letter that is right too often: at least four single-choice tasks
// (folded or not), more than half of them right on one letter. None otherwise.
std::optional<AnswerBunching> answersBunched(const std::vector<model::Task>& tasks);

} // namespace kavo::olympiad
