// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"
#include "core/tasks/task_form.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kavo::tasks {

// Where a task lies in the task tree: its folder, and the part letter its default
// identifiers carry ("B", "C"; none keeps the template's "A").
struct TaskPlace {
    std::filesystem::path folder;
    std::optional<char> partLetter;
};

// The folder of task number n at list position k, from the numbers of tasks in parts A, B
// and C; none when the number lies in no part.
std::optional<TaskPlace> placeTask(const std::filesystem::path& outputDir, std::int64_t n, int k,
                                   std::int32_t nA, std::int32_t nB, std::int32_t nC);
std::optional<std::filesystem::path> taskFolder(const std::filesystem::path& outputDir,
                                                std::int64_t n, int k, std::int32_t nA,
                                                std::int32_t nB, std::int32_t nC);

// The task a run writes: number, position and part sizes read from the form, and its place.
struct TaskLocation {
    std::int32_t n = 0;
    int k = 0;
    std::int32_t nA = 0, nB = 0, nC = 0;
    std::optional<TaskPlace> place;
};

// Reads the selected task number and Edit2 to Edit4 afresh. Throws Error::notInteger.
TaskLocation locateTask(const TaskForm& form, const std::filesystem::path& outputDir);

// The text after "ans1=": "0" to "4" for a to e (either case) or 1 to 5, else empty.
Text answerIndex(std::string_view answer);

// The scoring file of a task with one right variant.
Pieces singleAnswerScoring(std::string_view answer);

// The two description headers of file/, read by every writer.
struct Descriptions {
    Text taskXml;  // task numbers below 10
    Text taskXml2; // 10 and above
};
Descriptions readDescriptions(const std::filesystem::path& systemDir);

// task.xml as one piece: the identifiers overwritten (default names) or replaced by the
// escaped own names. Throws Error when the header is too short for the overwrite.
Pieces shapeDescription(const Descriptions& headers, const TaskForm& form,
                        const TaskLocation& where, std::string_view lang);

// A package assembled in memory, written only once every template has been read.
struct Package {
    std::optional<std::filesystem::path> folder;
    Pieces page;    // task.asp
    Pieces config;  // TASK.CFG
    Pieces scoring; // task.out
    Pieces description;
};

// Creates the folder with webfiles and writes task.asp, TASK.CFG, task.out and task.xml in
// that order. Throws Error::cannotCreate naming the path that failed.
void writePackage(const Package& package);

// Raises the task counter of Authorisation/Tasks_in_view.txt by one.
void raiseTaskCounter(const std::filesystem::path& systemDir);

// Without part folders the default identifiers lose their part letter: TaskA3 becomes
// Task3 in OutputDir/k/task.xml.
void rewriteIdentifiers(const std::filesystem::path& outputDir, int k);

// Reads the files of systemDir named by relative paths, in order.
std::vector<Text> readTemplates(const std::filesystem::path& systemDir,
                                std::initializer_list<std::string_view> names);

} // namespace kavo::tasks
