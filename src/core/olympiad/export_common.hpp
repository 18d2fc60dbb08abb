// SPDX-License-Identifier: MIT
#pragma once
// What the three export formats share: a task's number, name and texts in UTF-8, and the
// equal weights that stand for the program's scoring of a multiple choice.

#include "core/model/task.hpp"
#include "core/olympiad/export.hpp"

#include <string>
#include <vector>

namespace kavo::olympiad::detail {

// One task prepared for a writer.
struct ExportTask {
    const model::Task* task = nullptr;
    int number = 0;                    // an Edits task's number comes from its folder
    std::string title;                 // own Russian name, Edits name, or default identifier
    std::string condition;             // page markup, UTF-8, '\n' breaks
    std::vector<std::string> variants; // the kept variants A.. in order
    std::vector<std::string> subQuestions;
    std::vector<std::string> subAnswers; // as the scoring file holds them
    std::string typedAnswer;             // as the scoring file holds it
    std::string nameRu, nameEn;          // own names
    // An Edits task whose folder is not the place of a task number: the folder as typed.
    std::string folder;
    std::vector<Note> losses;

    // The name a reader shows: the title, or "Edits N" for an Edits task without a name.
    std::string label() const { return title.empty() ? "Edits " + std::to_string(number) : title; }
};

// Every text of every task in UTF-8, without the characters its field may not hold (each
// such field named among the losses for `format`).
std::vector<ExportTask> prepare(const model::Olympiad& olympiad,
                                const std::vector<model::Task>& tasks, std::string_view format);

// Whether the task is a true/false question as GIFT import makes one: two variants
// reading True/False, or Верно/Неверно for a Russian condition.
bool isTrueFalse(const ExportTask& t);

// Equal weights in percent that Moodle accepts: 100/k for each of k right variants and
// -100/(n-k) for each wrong one, written as Moodle writes its fractions.
std::string rightWeight(int right);
std::string wrongWeight(int wrong);

Exported giftExport(std::vector<ExportTask>& tasks, const model::Olympiad& olympiad);
Exported moodleExport(std::vector<ExportTask>& tasks);
Exported qtiExport(std::vector<ExportTask>& tasks);

} // namespace kavo::olympiad::detail
