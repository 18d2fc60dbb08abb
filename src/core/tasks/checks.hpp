// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"
#include "core/tasks/task_form.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kavo::tasks {

enum class TemplateKind {
    Radio,                 // single choice
    Edit,                  // typed answer
    Spoiler,               // folded answers
    MultipleChoice,        // several right answers
    MultipleChoiceSpoiler, // the same, folded
};

// The template a form chooses once its removed variants are emptied; none when the fold
// answer is neither "Yes" nor "No".
std::optional<TemplateKind> chooseTemplate(const TaskForm& form);

// Runs every check of the form in order and returns the collected messages in the
// interface language; empty when the form may be written. taskTotal is the stored sum of
// the part sizes; the task's place is found from Edit2 to Edit4 as the writer will.
Text checkForm(const TaskForm& form, std::string_view lang, std::int64_t taskTotal);

} // namespace kavo::tasks
