// SPDX-License-Identifier: MIT
#pragma once

#include "core/auth/author.hpp"
#include "core/common/lang.hpp"
#include "core/model/task.hpp"
#include "core/tasks/task_form.hpp"

#include "core/render/read_back.hpp"
#include <cstdint>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kavo::tasks {

// The application-wide values that Add task reads; the caller owns them.
struct AppValues {
    Lang lang = Lang::Russian;
    std::filesystem::path ProgramDir;
    std::filesystem::path OutputDir;
    std::int64_t TaskTotal = 0; // the sum stored by Ok; the task-count check reads it
};

struct AddTaskResult {
    Text message;                  // collected messages to show in one box; empty: none
    bool written = false;          // a package was written and the counter raised
    bool showAuthorDialog = false; // the author's details are missing
    std::string failure; // a report (UTF-8) met after the checks had failed; shown after their box
    std::filesystem::path folder; // where the package was written, under the task tree
    model::TaskKind kind = model::TaskKind::SingleChoice; // written: the kind of the task
    int number = 0;                                       // written: its number
    bool declined = false; // a question was answered No: nothing written, the form untouched
    // A task with a picture was written, but its folder holds no webfiles/picture.jpg.
    bool pictureMissing = false;
};

// The questions Add task asks before it writes, once the checks have passed.
enum class AddQuestion {
    Markup,  // page text with a "<" that may not show as typed (markupQuestion)
    Replace, // the task folder holds a package already (render::replaceQuestion)
};
// Asked with the question's text (program text); true goes on, false writes nothing.
using ConfirmAdd = std::function<bool(AddQuestion, const Text& question)>;

// Add task of the main window. Changes the form as the run does (removed variants
// emptied, the reset after success, the olympiad language of a typed-answer task); the
// window mirrors the form back. File and number failures throw kavo::Error and leave the
// task folder whole. A flag file that cannot be read after failed checks comes back as
// `failure`, so the checks' box is not lost behind it. Before writing, `confirm` is asked
// about stray "<" in the page texts, then about replacing a written task, in that order; a
// No leaves the form and the disk as they were. Without `confirm` every question goes on.
AddTaskResult addTask(TaskForm& form, const AppValues& app, const ConfirmAdd& confirm = {});

// The status line after a write: the number, the kind and the folder under the task tree
// (UTF-8).
std::string writtenLine(const AddTaskResult& result, Lang lang);

// The status line after Add task (UTF-8): what was written, or that nothing was because the
// author's details come first; empty otherwise (a box says what went wrong).
std::string statusLine(const AddTaskResult& result, Lang lang);

// Writes a checked task into the olympiad's tree and raises the task counter: everything
// is read first, the package replaces the task folder as a whole, the counter goes last.
// A task with a picture gets `picture` (JPEG bytes) as webfiles/picture.jpg in the same
// write; without one, the picture the folder holds stays. Returns the folder written,
// relative to the task tree. Throws kavo::Error; bytes that are not a JPEG are refused
// before anything is written. `headers`: an author for this write only (see renderTask).
// The templates are read through `templates` when given (one set for a run of writes
// reads each file once), else afresh.
std::filesystem::path writeTask(const model::Task& task, const model::Olympiad& olympiad,
                                const std::filesystem::path& systemDir, Lang lang,
                                std::optional<std::string> picture = std::nullopt,
                                const auth::Headers* headers = nullptr,
                                const render::TemplateSet* templates = nullptr);

// The task counter of Authorisation/Tasks_in_view.txt: read, and raised by one (it stays
// at the largest value its reader accepts).
std::int32_t readTaskCounter(const std::filesystem::path& systemDir);
void writeTaskCounter(const std::filesystem::path& systemDir, std::int32_t value);

} // namespace kavo::tasks
