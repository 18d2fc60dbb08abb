// SPDX-License-Identifier: MIT
#pragma once

#include "core/tasks/checks.hpp"
#include "core/tasks/package.hpp"

#include <filesystem>
#include <string_view>

namespace kavo::tasks {

// What a writer reads beside the form.
struct WriterInput {
    std::filesystem::path systemDir; // ProgramDir/System_folder
    std::filesystem::path outputDir;
    Text lang;
};

// A template writer reads every template it needs, then the task's place from the form,
// and assembles the package in memory. It writes nothing; it may change the form as its
// template says (the olympiad language of a typed answer).
using Writer = Package (*)(TaskForm& form, const WriterInput& input);

Package writeRadio(TaskForm& form, const WriterInput& input);
Package writeEdit(TaskForm& form, const WriterInput& input);
Package writeSpoiler(TaskForm& form, const WriterInput& input);
Package writeMultipleChoice(TaskForm& form, const WriterInput& input);
Package writeMultipleChoiceSpoiler(TaskForm& form, const WriterInput& input);

Writer writerFor(TemplateKind kind);

// The opening of the page: the picture template for "Yes", the other for "No".
const Text& pageOpening(const TaskForm& form, const Text& withPicture, const Text& noPicture);

// The thirteen pieces of the folded and multiple-choice pages from their templates t[0] to
// t[7]: t[5] opens the variants, t[2] to t[4] stand between them, t[6] before E.
Pieces variantBlocksPage(const TaskForm& form, const std::vector<Text>& t);

// Three or more lowercase Cyrillic letters (0xE0 to 0xFF) make a condition Russian.
bool isRussianCondition(std::string_view condition);

} // namespace kavo::tasks
