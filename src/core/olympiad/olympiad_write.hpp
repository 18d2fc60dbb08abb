// SPDX-License-Identifier: MIT
#pragma once
// A checked olympiad file written into the task tree, and the tree read back for an export.

#include "core/auth/author.hpp"
#include "core/common/lang.hpp"
#include "core/olympiad/gift_import.hpp"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <vector>

namespace kavo::olympiad {

// Adds to the import's problems, at each task's place in the file, every refusal of Add
// task and of the Edits builder (as errors) and every "<" that would vanish from the page
// (as warnings), in the interface language.
void checkImportedTasks(OlympiadImport& import, Lang lang);

// The olympiad the import writes into: its part sizes under outputDir; without parts B and
// C the default identifiers lose their part letter, as Add task writes them.
model::Olympiad importedOlympiad(const OlympiadImport& import,
                                 const std::filesystem::path& outputDir);

// The task folders of the import that hold a package already, relative to the task tree.
std::vector<std::filesystem::path> existingTasks(const OlympiadImport& import,
                                                 const std::filesystem::path& outputDir);

// Writes every task of a checked import (no errors) through the core of Add task and of the
// Edits builder: each task folder replaced as a whole, the counter raised once per task.
// `progress` hears of each task written. A failure stops the run with a kavo::Error that
// names the task; the tasks written before it stay whole. Returns the tasks written.
// `headers`: an author for this run only, in place of the one saved in systemDir.
std::size_t writeOlympiad(const OlympiadImport& import, const std::filesystem::path& systemDir,
                          const std::filesystem::path& outputDir, Lang lang,
                          const std::function<void(std::size_t done, std::size_t total)>& progress,
                          const auth::Headers* headers = nullptr);

} // namespace kavo::olympiad
