// SPDX-License-Identifier: MIT
#pragma once
// An olympiad read from a GIFT or a Moodle XML file: its tasks as the program writes them,
// each with its place in the file, and every problem of the file at once, the questions no
// task can hold among them.

#include "core/model/task.hpp"
#include "core/olympiad/olympiad_check.hpp"
#include "core/olympiad/problem.hpp"
#include "core/olympiad/source_text.hpp"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::olympiad {

struct ImportedTask {
    model::Task task;
    SourcePos pos; // the question (an Edits task: its main condition)
    int number =
        0; // its number in the olympiad, an Edits task's folder from it; 0: folder= gave it
    std::string title; // the GIFT title, UTF-8, for reports; never a name or a path
};

enum class OlympiadFormat { Gift, MoodleXml };

// What the teacher chose for a file whose questions do not all fit as written.
struct ImportOptions {
    bool firstAnswer = false; // a typed answer with several accepted answers keeps the first
    bool shuffle = false;     // choice variants in an order drawn from the question's text
};

struct OlympiadImport {
    OlympiadFormat format = OlympiadFormat::Gift;
    Encoding encoding = Encoding::Utf8;
    model::PartSizes sizes; // from "$CATEGORY: kavo/parts/A,B,C", else part A holds all
    bool sizesGiven = false;
    std::vector<ImportedTask> tasks;
    std::vector<Problem> problems; // errors, warnings and questions left out, in file order
    // The right answers of the single-choice tasks as the file gives them, when they bunch
    // on one letter (before any shuffle).
    std::optional<AnswerBunching> bunched;
    std::size_t shuffled = 0;        // choice tasks whose variants were put in another order
    std::size_t severalAccepted = 0; // typed answers with several accepted answers

    // No error: the tasks can be written (the questions left out are not).
    bool ok() const { return countErrors(problems) == 0; }
    std::size_t leftOut() const { return countOf(problems, Severity::LeftOut); }
};

// The format of a file by its content: Moodle XML when it starts as XML, else GIFT.
OlympiadFormat formatOf(std::string_view bytes);

// Reads an olympiad from the bytes of a GIFT or Moodle XML file, the format chosen by the
// content. Never throws for the content.
OlympiadImport importOlympiad(std::string_view bytes, const ImportOptions& options = {});

// The same from a file, refusing one above MaxFileBytes unread. Throws kavo::Error when the
// file cannot be read.
OlympiadImport importOlympiadFile(const std::filesystem::path& path,
                                  const ImportOptions& options = {});

// Reads an olympiad from the bytes of a GIFT file (UTF-8 with or without its mark, or
// Windows-1251). Never throws for the content.
OlympiadImport importGift(std::string_view bytes, const ImportOptions& options = {});

// The same from a file, refusing one above MaxFileBytes. Throws kavo::Error when the file
// cannot be read.
OlympiadImport importGiftFile(const std::filesystem::path& path, const ImportOptions& options = {});

} // namespace kavo::olympiad
