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

// The messages of the checks in their order, each once, in the interface language; the task
// they ran on names what a message shows.
Text checkMessages(std::vector<Check> failed, Lang lang, const model::Task* task = nullptr);

// Every check of the form: its reading and the task's rules; empty when it may be written.
Text checkForm(const TaskForm& form, Lang lang, std::int64_t taskTotal);

} // namespace kavo::tasks
