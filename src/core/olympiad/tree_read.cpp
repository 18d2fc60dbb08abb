// SPDX-License-Identifier: MIT
#include "core/olympiad/tree_read.hpp"

#include "core/render/read_back.hpp"
#include "core/render/task_state.hpp"
#include "core/render/task_tree.hpp"

#include <algorithm>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace kavo::olympiad {

TreeRead readTree(const fs::path& outputDir, const fs::path& systemDir, Lang lang) {
    TreeRead tree;
    tree.olympiad = {outputDir, render::sizesInTree(outputDir)};
    tree.olympiad.identifiersWithoutPart = tree.olympiad.sizes.b == 0 && tree.olympiad.sizes.c == 0;
    const auto templates = render::TemplateSet::load(systemDir);
    for (const auto& folder : render::taskFolders(outputDir)) {
        const auto read = render::readAnyTask(templates, tree.olympiad, folder);
        if (read.status == render::ReadStatus::Read && read.task)
            tree.tasks.push_back(*read.task);
        else
            tree.unreadable.push_back({folder.generic_string(), read.report(lang)});
    }
    return tree;
}

} // namespace kavo::olympiad
