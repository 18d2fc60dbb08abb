// SPDX-License-Identifier: MIT
#pragma once
// An olympiad written to the formats of other systems: GIFT (with the kavo extension),
// Moodle XML and an IMS QTI 2.1 content package. Output is UTF-8; what a format cannot
// carry is said per task.

#include "core/model/task.hpp"
#include "core/olympiad/problem.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::olympiad {

enum class ExportFormat { Gift, MoodleXml, Qti };

// "gift", "moodle", "qti" as the command line names them.
std::optional<ExportFormat> exportFormatNamed(std::string_view name);

// What one task lost in the format.
struct TaskLosses {
    std::size_t index = 0; // into the exported tasks
    std::string title;     // the task's name in the export, UTF-8
    std::vector<Note> notes;
};

// One file of the export: its name relative to the output (our own names only, never
// derived from a text of the olympiad) and its UTF-8 bytes.
struct ExportFile {
    std::string name;
    std::string bytes;
};

struct Exported {
    ExportFormat format = ExportFormat::Gift;
    std::vector<ExportFile> files;  // GIFT and Moodle XML: one file; QTI: the package
    std::vector<TaskLosses> losses; // only tasks that lost something
};

// The tasks of the olympiad in order (as read back from the task tree).
Exported exportOlympiad(ExportFormat format, const model::Olympiad& olympiad,
                        const std::vector<model::Task>& tasks);

// GIFT and Moodle XML: the one file at `out`; QTI: the package as the folder `out`
// (created; files of the same names replaced, others kept). Written whole or not at all:
// the file through a temporary file, the package assembled beside the folder and swapped
// in. Throws kavo::Error.
void writeExport(const Exported& exported, const std::filesystem::path& out);

} // namespace kavo::olympiad
