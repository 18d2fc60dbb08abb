// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/lang.hpp"
#include "core/model/task.hpp"
#include "core/tasks/task_form.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kavo::tasks {

// The rules of a task itself, whatever it came from (the form, an import): the answer
// names no removed variant, the number lies in a part of the olympiad, own names are
// given. A task without an olympiad (sizes not known) skips the part rule.
std::vector<Check> checkTask(const model::Task& task, const model::Olympiad* olympiad);

// Page text that shows nothing: only blanks, tabs, line breaks and non-breaking spaces
// (typed, or as &nbsp; or &#160;). A variant or condition of such text counts as empty.
bool isBlank(std::string_view pageText);

// The messages of the checks in their order, each once, in the interface language; the task
// they ran on and the answer as typed name what a message shows.
Text checkMessages(std::vector<Check> failed, Lang lang, const model::Task* task = nullptr,
                   std::string_view answer = {});

// Every check of the form: its reading and the task's rules; empty when it may be written.
Text checkForm(const TaskForm& form, Lang lang, std::int64_t taskTotal);

} // namespace kavo::tasks
