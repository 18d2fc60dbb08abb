// SPDX-License-Identifier: MIT
#pragma once
// What a task folder holds, as the number lists, the overview and the question before a
// replace show it.
#include "core/common/lang.hpp"
#include "core/model/task.hpp"
#include "core/render/read_back.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kavo::olympiad {

// True when the folder holds any of the four package files.
bool holdsPackageFile(const std::filesystem::path& folder);

enum class FolderStatus {
    Empty,      // none of the four package files
    Written,    // a task of `kind`
    Unreadable, // package files that do not read back as one task
};

struct FolderState {
    FolderStatus status = FolderStatus::Empty;
    model::TaskKind kind = model::TaskKind::SingleChoice; // Written
    std::optional<model::Task> task;                      // Written: the task read back
    std::string reason; // Unreadable: why, in the interface language (UTF-8)
};

// The state of a task folder (relative to the olympiad's tree). With a number the folder
// holds a task of the form; without one, a task of either sort (readAnyTask).
FolderState folderState(const render::TemplateSet& templates, const model::Olympiad& olympiad,
                        const std::filesystem::path& folder, std::optional<int> number, Lang lang);

// "multiple choice", "Edits task" ...: the kind as a teacher names it (UTF-8).
std::string kindName(model::TaskKind kind, Lang lang);
// "multiple choice", or "cannot be read back": what the number lists and the overview say of a
// folder that holds a package (UTF-8); empty for an empty folder.
std::string stateName(const FolderState& state, Lang lang);
// "Task 5 (multiple choice) is already written. Replace it?" for a folder that holds a
// package; `task` is the number or the folder as the teacher typed it (UTF-8).
std::string replaceQuestion(std::string_view task, const FolderState& state, Lang lang);

} // namespace kavo::olympiad
