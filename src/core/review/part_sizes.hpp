// SPDX-License-Identifier: MIT
#pragma once
// The part sizes of the olympiad, the task number lists they give, and the task folder of
// a number.

#include "core/common/lang.hpp"
#include "core/common/text.hpp"
#include "core/model/task.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace kavo::review {

// Set only by Ok. The total is kept in 64 bits so that large sizes cannot wrap.
struct PartSizes {
    std::int32_t PartASize = 0;
    std::int32_t PartBSize = 0;
    std::int32_t PartCSize = 0;
    std::int64_t TaskTotal = 0;
};

struct OkResult {
    std::vector<Text> messages; // each in its own box, in this order
    std::int64_t numbers = 0;   // both lists hold "1" .. numbers (0: both stay empty)
    bool emptyEdit2 = false;
    // Negative sizes, or sizes moving written tasks not kept: sizes and lists stay as they were.
    bool refused = false;
};

// A task written in the tree that part sizes would place in another folder, or in none.
struct MovedTask {
    int number = 0;
    std::filesystem::path folder;               // where it lies, relative to the tree
    std::optional<std::filesystem::path> place; // where the sizes put its number; none: no part
    bool operator==(const MovedTask&) const = default;
};

// The tasks of the tree (folders named by a number, directly in the tree or in PartA, PartB
// or PartC) whose number the sizes place in another folder or in no part, by number.
std::vector<MovedTask> movedTasks(const std::filesystem::path& outputDir,
                                  const model::PartSizes& sizes);

// Asks whether to keep sizes that would place written tasks elsewhere (program text); true
// keeps them.
using ConfirmSizes = std::function<bool(const Text& question)>;

// The question before Ok keeps sizes that move written tasks: each task with its folder and
// the one the sizes give it.
Text movedQuestion(const std::vector<MovedTask>& moved, Lang lang);

// Ok over the texts of Edit2, Edit3 and Edit4, in the interface language lang. A field
// that is not a whole number throws kavo::Error; the sizes read before it keep their new
// values and TaskTotal stays. Sizes that would fill the lists while a task written under
// outputDir lies elsewhere by them are kept only when `confirm` says so; without `confirm`
// nothing is asked.
OkResult confirmPartSizes(PartSizes& sizes, std::string_view edit2, std::string_view edit3,
                          std::string_view edit4, Lang lang,
                          const std::filesystem::path& outputDir = {},
                          const ConfirmSizes& confirm = {});

// What the size fields and the number lists show for a task tree, on a folder change and at
// start. Sizes of the last Ok that place every written task where it lies stay, lists
// included; otherwise a tree that holds tasks puts the sizes it shows in the fields, and the
// lists stay empty until Ok (no number is offered under sizes the tree contradicts).
struct TreeSizes {
    std::optional<model::PartSizes> fields; // for the size fields; none: they stay as typed
    bool keepLists = false;                 // the lists of the last Ok stay (or come back)
    bool found = false;                     // `fields` are the sizes found in the tree
};
TreeSizes sizesForTree(const std::filesystem::path& outputDir,
                       const std::optional<model::PartSizes>& lastOk);

// The olympiad of the stored sizes under outputDir.
model::Olympiad olympiadOf(const PartSizes& sizes, const std::filesystem::path& outputDir);

// The folder of task number n under outputDir by the stored sizes; none outside 1 .. TaskTotal.
std::optional<std::filesystem::path>
taskFolder(const PartSizes& sizes, const std::filesystem::path& outputDir, std::int64_t n);

} // namespace kavo::review
