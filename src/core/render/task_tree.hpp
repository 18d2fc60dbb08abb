// SPDX-License-Identifier: MIT
#pragma once
// The layout of a task tree: its numbered groups (the tree itself, PartA, PartB, PartC), the
// task folders it holds, the part sizes they show, and the one folder a number may be in.

#include "core/common/lang.hpp"
#include "core/model/task.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kavo::render {

// The numbered groups of a tree, relative to it: "", "PartA", "PartB", "PartC".
extern const char* const Groups[4];

// Whether a folder (relative to the tree) lies directly in one of the numbered groups.
bool inNumberedGroup(const std::filesystem::path& folder);

// A folder name as a teacher reads it (UTF-8): a name in Windows-1251 is decoded.
std::string folderText(const std::filesystem::path& folder);

// The folders under the task tree that hold any of the four package files, relative to it,
// numbered tasks first (by number), then the other Edits folders by name. Links are not
// followed, and a folder that cannot be listed is passed over.
std::vector<std::filesystem::path> taskFolders(const std::filesystem::path& outputDir);

// The part sizes a tree shows: the highest number in PartA, PartB and PartC (or, without
// part folders, directly in the tree) gives where each part ends.
model::PartSizes sizesInTree(const std::filesystem::path& outputDir);

// Another folder of the tree (the tree itself, PartA, PartB or PartC) that holds task
// `number`, when it goes to `folder` (both relative to the tree); none when none does, or when
// `folder` itself lies elsewhere ("Extra/5" names no number of the olympiad). treeFd, when
// not -1, is the tree open already (as its lock holds it): the looks go from there.
std::optional<std::filesystem::path> numberHeldElsewhere(const std::filesystem::path& outputDir,
                                                         int number,
                                                         const std::filesystem::path& folder,
                                                         int treeFd = -1);

// The refusal of a write of task `number` into `folder` while `other` holds it: both folders
// and the part sizes that fit the tree (UTF-8, beginning with a line break).
std::string heldElsewhereRefusal(const std::filesystem::path& outputDir, int number,
                                 const std::filesystem::path& folder,
                                 const std::filesystem::path& other, Lang lang);

} // namespace kavo::render
