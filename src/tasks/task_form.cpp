// SPDX-License-Identifier: MIT
#include "tasks/task_form.hpp"

namespace kavo::tasks {

TaskForm makeStartForm() {
    TaskForm form;
    form.ListBox2.items = {"Yes", "No"};
    form.ListBox3.items = {"Yes", "No"};
    return form;
}

} // namespace kavo::tasks
