// SPDX-License-Identifier: MIT
#pragma once
// An olympiad read from a GIFT file: its tasks as the program writes them, each with its
// place in the file, and every problem of the file at once.

#include "core/model/task.hpp"
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

struct OlympiadImport {
    Encoding encoding = Encoding::Utf8;
    model::PartSizes sizes; // from "$CATEGORY: kavo/parts/A,B,C", else part A holds all
    bool sizesGiven = false;
    std::vector<ImportedTask> tasks;
    std::vector<Problem> problems; // errors and warnings, in file order

    bool ok() const { return countErrors(problems) == 0; }
};

// Reads an olympiad from the bytes of a GIFT file (UTF-8 with or without its mark, or
// Windows-1251). Never throws for the content.
OlympiadImport importGift(std::string_view bytes);

// The same from a file, refusing one above MaxFileBytes. Throws kavo::Error when the file
// cannot be read.
OlympiadImport importGiftFile(const std::filesystem::path& path);

} // namespace kavo::olympiad
