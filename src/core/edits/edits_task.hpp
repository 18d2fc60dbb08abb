// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kavo::edits {

// The Edits templates, each the whole text of its file (CR LF breaks, final break kept).
struct EditsTemplates {
    Text zamena;   // the description stretch whose "1"s become the count digit
    Text task1Asp; // three sub-questions
    Text task1Out;
    Text taskCfg;  // every variant
    Text taskXml;  // the description header, every variant
    Text task2Asp; // two sub-questions
    Text task2Out;
    Text task3Asp; // four sub-questions
    Text task3Out;
};

std::filesystem::path descriptionTemplatePath(const std::filesystem::path& programDir);

// Reads the snippet, then the other templates in a fixed order. Throws kavo::Error.
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
};

// Sub-questions of the box combination: 4, 3 or 2; 0 for "remove C, keep D".
int subQuestionCount(bool removeC, bool removeD);

// The task number as a folder relative to the output folder, "\" and "/" both separating;
// none for an absolute path, a drive, a "." or ".." component, or nothing but separators.
std::optional<std::filesystem::path> taskFolderFragment(std::string_view number);

struct EditsSaveResult {
    Text message;                     // to show in the information box; empty: none
    bool written = false;             // the package was written and the form emptied
    std::filesystem::path taskFolder; // where it was written
};

// Save task: checks the form, then writes task.asp, task.out, TASK.CFG and task.xml (and
// an empty webfiles folder) into outputDir / task number, and empties the form. A refusal
// returns its message in the language lang and writes nothing. A file failure throws
// kavo::Error; the files written before it stay and the form keeps its content.
EditsSaveResult saveEditsTask(EditsForm& form, const EditsTemplates& templates,
                              const std::filesystem::path& outputDir, std::string_view lang);

} // namespace kavo::edits
