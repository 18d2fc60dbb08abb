// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"
#include "core/tasks/task_form.hpp"

#include <string_view>

namespace kavo::tasks {

// How many of C, D and E the form removes.
int removalCount(const TaskForm& form);

// The seventeen scoring lines of a multiple-choice answer, with the sections of the
// removed variants emptied and their terms taken out of the total line.
Pieces multipleChoiceScoring(std::string_view answer, int removed);

} // namespace kavo::tasks
