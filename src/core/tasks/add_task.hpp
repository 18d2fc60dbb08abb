// SPDX-License-Identifier: MIT
#pragma once

#include "core/tasks/task_form.hpp"

#include <cstdint>
#include <filesystem>

namespace kavo::tasks {

// The application-wide values that Add task reads; the caller owns them.
struct AppValues {
    Text Lang; // "En" for English, anything else Russian
    std::filesystem::path ProgramDir;
    std::filesystem::path OutputDir;
    std::int64_t TaskTotal = 0; // the sum stored by Ok; check 5 reads it
};

struct AddTaskResult {
    Text message;                  // collected messages to show in one box; empty: none
    bool written = false;          // a package was written and the counter raised
    bool showAuthorDialog = false; // the author's details are missing
    Text failure; // a report met after the checks had failed; shown after their box
};

// Add task of the main window. Changes the form as the run does (removed variants
// emptied, the reset after success, the olympiad language of a typed-answer task); the
// window mirrors the form back. File and number failures throw kavo::Error; what was
// written before stays. A flag file that cannot be read after failed checks comes back as
// `failure`, so the checks' box is not lost behind it.
AddTaskResult addTask(TaskForm& form, const AppValues& app);

} // namespace kavo::tasks
