// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/lang.hpp"
#include "core/common/text.hpp"
#include "core/model/task.hpp"
#include "core/render/render.hpp"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kavo::edits {

using render::EditsTemplates;

// Reads the Edits templates under programDir/System_folder. Throws kavo::Error.
EditsTemplates readEditsTemplates(const std::filesystem::path& programDir);

// The fields of the Edits window, as Windows-1251 text with CR LF breaks. An answer or
// task number the code page cannot hold is none: it cannot be written as typed.
struct EditsForm {
    Text Memo1; // main condition, "*vs1*"
    Text Memo2; // sub-questions A to D, "*vs2*" to "*vs5*"
    Text Memo3;
    Text Memo4;
    Text Memo5;
    std::optional<Text> Edit1 = Text{}; // answers A to D, "*ans1*" to "*ans4*"
    std::optional<Text> Edit2 = Text{};
    std::optional<Text> Edit3 = Text{};
    std::optional<Text> Edit4 = Text{};
    std::optional<Text> Edit5 = Text{}; // task number: a folder under the output folder
    Text Edit6;                         // task name, replaces "TaskA1" in the description
    bool CheckBox1 = false;             // remove C
    bool CheckBox2 = false;             // remove D
    bool operator==(const EditsForm&) const = default;
};

// Sub-questions of the box combination: 4, 3 or 2; 0 for "remove C, keep D".
int subQuestionCount(bool removeC, bool removeD);

// The form as an Edits task: the sub-questions that the boxes keep, the typed number as
// the folder. Answers the code page cannot hold must be refused before.
model::Task editsTask(const EditsForm& form);

// The form that saves an Edits task read back again, byte for byte: the sub-questions it
// has, the boxes that remove the others, its folder as the task number.
EditsForm editsFormOf(const model::Task& task);

// The rules of an Edits task itself, whatever it came from (the builder, an import): a task
// number that names a folder inside the task tree, and nothing left empty that the page or
// the scoring would show empty. The messages in the interface language; empty: none.
Text checkEditsTask(const model::Task& task, const model::Olympiad& olympiad, Lang lang);

struct EditsSaveResult {
    Text message;                     // to show in the information box; empty: none
    bool written = false;             // the package was written and the form emptied
    std::filesystem::path taskFolder; // where it was written
    std::string status;               // written: the number, the kind and the folder (UTF-8)
};

// The questions a save asks once the form passes its checks; each returns true to go on,
// and an unset one goes on without asking.
struct EditsQuestions {
    // Every "<" of the page texts that may not show as typed, in one question (program text).
    std::function<bool(const Text& question)> markup;
    // The folder holds a package file already: the question names the task there and its
    // kind (UTF-8), read back with the templates of systemDir.
    std::function<bool(const std::string& question)> replace;
    std::filesystem::path systemDir;
};

// Save task: checks the form, asks the questions, then replaces the task folder named by
// the task number (the olympiad's folder of that number, or the folder typed) with the
// package as a whole, and empties the form. A refusal returns its message in the interface
// language, a No to a question returns nothing; either writes nothing and keeps the form. A
// file failure throws kavo::Error; the folder and the form stay as they were.
EditsSaveResult saveEditsTask(EditsForm& form, const EditsTemplates& templates,
                              const model::Olympiad& olympiad, Lang lang,
                              const EditsQuestions& questions = {});

} // namespace kavo::edits
