// SPDX-License-Identifier: MIT
#pragma once
// A written task tree read back as an olympiad: its part sizes, its tasks in order, and the
// folders that do not read back, with the reason.

#include "core/common/lang.hpp"
#include "core/model/task.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace kavo::olympiad {

// The folders under the task tree that hold any of the four package files, relative to it,
// numbered tasks first (by number), then the other Edits folders by name. Links are not
// followed, and a folder that cannot be listed is passed over.
std::vector<std::filesystem::path> taskFolders(const std::filesystem::path& outputDir);

// The part sizes a tree shows: the highest number in PartA, PartB and PartC (or, without
// part folders, directly in the tree) gives where each part ends.
model::PartSizes sizesInTree(const std::filesystem::path& outputDir);

struct UnreadableTask {
    std::string folder; // relative to the task tree, UTF-8
    std::string reason; // in the interface language, UTF-8
};

struct TreeRead {
    model::Olympiad olympiad;
    std::vector<model::Task> tasks;
    std::vector<UnreadableTask> unreadable;
};

// Reads every task of the tree with the templates of systemDir. Throws kavo::Error when a
// template cannot be read.
TreeRead readTree(const std::filesystem::path& outputDir, const std::filesystem::path& systemDir,
                  Lang lang);

} // namespace kavo::olympiad
