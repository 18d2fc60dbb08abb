// SPDX-License-Identifier: MIT
#pragma once
// A task as a teacher means it, and the olympiad it belongs to.

#include "core/common/text.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace kavo::model {

enum class TaskKind {
    SingleChoice,         // variants on the page, one of them right
    TypedAnswer,          // the pupil types the answer
    FoldedChoice,         // variants folded on the page, one of them right
    MultipleChoice,       // variants on the page, several right
    MultipleChoiceFolded, // the same, folded
    Edits,                // a main condition and 2 to 4 sub-questions with typed answers
};

inline constexpr int VariantCount = 5;

// The Russian and English task names that replace the default identifiers.
struct OwnNames {
    Text russian;
    Text english;
    bool operator==(const OwnNames&) const = default;
};

struct SubQuestion {
    Text question;
    Text answer;
    bool operator==(const SubQuestion&) const = default;
};

// Every text is program text: Windows-1251 with CR LF line breaks, page text as the
// teacher typed it (markup included).
struct Task {
    TaskKind kind = TaskKind::SingleChoice;
    Text condition; // Edits: the main condition
    bool picture = false;
    // Variants A to E of the choice kinds: a text (possibly left empty), or none when it is
    // removed (only C, D and E can be). The typed-answer and Edits kinds have none.
    std::array<std::optional<Text>, VariantCount> variants;
    int answer = 0;                // single and folded choice: the right variant, 0 (A) to 4 (E)
    unsigned answers = 0;          // multiple choice: bit i is set when variant i is right
    Text typedAnswer;              // typed answer: the answer as task.out scores it
    std::optional<OwnNames> names; // none: the default identifiers TaskA1, TaskB3 ...
    int number = 0;                // the number in the olympiad, 1 to 99 (not Edits)

    std::vector<SubQuestion> subQuestions; // Edits: 2 to 4, A first
    Text title;                            // Edits: the task name in task.xml
    Text folder; // Edits: the typed task number, a folder under the task tree ("PartC/5")

    bool operator==(const Task&) const = default;
};

bool isChoice(TaskKind kind);
bool isMultipleChoice(TaskKind kind);
bool isFolded(TaskKind kind);

// The numbers of tasks in parts A, B and C.
struct PartSizes {
    std::int32_t a = 0, b = 0, c = 0;
    std::int64_t total() const { return std::int64_t{a} + b + c; }
    bool operator==(const PartSizes&) const = default;
};

// Where a task lies under the task tree, and the part letter its default identifiers get
// ('B', 'C'; none keeps the "A" of the headers).
struct TaskPlace {
    std::filesystem::path folder; // relative to the task tree: "PartB/4", "3"
    std::optional<char> partLetter;
    bool operator==(const TaskPlace&) const = default;
};

struct Olympiad {
    std::filesystem::path outputDir; // the root of the task tree
    PartSizes sizes;
    // Default identifiers lose their part letter (TaskA3 becomes Task3): an olympiad
    // without parts B and C.
    bool identifiersWithoutPart = false;

    // The folder of task number n; none when n lies in no part. With parts B and C empty
    // every number lies directly in the task tree.
    std::optional<TaskPlace> place(std::int64_t n) const;

    // The folder of an Edits task from its typed number (Windows-1251, "\\" and "/" both
    // separate): a number of the olympiad ("5") gets the folder of the part rule, any other
    // text is a folder under the task tree as typed ("PartC/5"). None for an absolute path,
    // a drive, a "." or ".." component, or nothing but separators.
    std::optional<std::filesystem::path> editsFolder(std::string_view typed) const;
};

} // namespace kavo::model
