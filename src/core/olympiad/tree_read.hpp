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
