// SPDX-License-Identifier: MIT
#include "core/olympiad/tree_read.hpp"

#include "core/olympiad/task_state.hpp"
#include "core/render/read_back.hpp"

#include <algorithm>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace kavo::olympiad {

namespace {

constexpr int MaxDepth = 4;

void collect(const fs::path& root, const fs::path& relative, int depth,
             std::vector<fs::path>& found) {
    std::error_code ec;
    fs::directory_iterator it(root / relative, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const auto& entry = *it;
        if (entry.is_symlink(ec) || !entry.is_directory(ec))
            continue;
        const auto name = entry.path().filename();
        if (name == "webfiles" || name.string().starts_with("."))
            continue;
        const auto child = relative / name;
        if (holdsPackageFile(root / child))
            found.push_back(child);
        else if (depth + 1 < MaxDepth)
            collect(root, child, depth + 1, found);
    }
}

} // namespace

std::vector<fs::path> taskFolders(const fs::path& outputDir) {
    std::vector<fs::path> found;
    collect(outputDir, {}, 0, found);
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        const auto na = folderNumber(a), nb = folderNumber(b);
        if (na.has_value() != nb.has_value())
            return na.has_value();
        if (na && *na != *nb)
            return *na < *nb;
        return a.generic_string() < b.generic_string();
    });
    return found;
}

model::PartSizes sizesInTree(const fs::path& outputDir) {
    // The highest number of the tree itself and of PartA, PartB and PartC, and the lowest of
    // PartC: part C begins there even when the last numbers of part B hold no task yet.
    int highest[4] = {0, 0, 0, 0};
    int lowestC = 0;
    for (const auto& folder : taskFolders(outputDir)) {
        const auto number = folderNumber(folder);
        if (!number)
            continue;
        const auto parent = folder.parent_path().generic_string();
        const int part = parent.empty()      ? 0
                         : parent == "PartA" ? 1
                         : parent == "PartB" ? 2
                         : parent == "PartC" ? 3
                                             : -1;
        if (part < 0)
            continue;
        highest[part] = std::max(highest[part], *number);
        if (part == 3)
            lowestC = lowestC == 0 ? *number : std::min(lowestC, *number);
    }
    if (highest[1] == 0 && highest[2] == 0 && highest[3] == 0)
        return {highest[0], 0, 0};
    const int a = highest[1];
    const int b = std::max({highest[2] - a, lowestC - 1 - a, 0});
    const int c = std::max(highest[3] - a - b, 0);
    return {a, b, c};
}

TreeRead readTree(const fs::path& outputDir, const fs::path& systemDir, Lang lang) {
    TreeRead tree;
    tree.olympiad = {outputDir, sizesInTree(outputDir)};
    tree.olympiad.identifiersWithoutPart = tree.olympiad.sizes.b == 0 && tree.olympiad.sizes.c == 0;
    const auto templates = render::TemplateSet::load(systemDir);
    for (const auto& folder : taskFolders(outputDir)) {
        const auto read = render::readAnyTask(templates, tree.olympiad, folder);
        if (read.status == render::ReadStatus::Read && read.task)
            tree.tasks.push_back(*read.task);
        else
            tree.unreadable.push_back({folder.generic_string(), read.report(lang)});
    }
    return tree;
}

} // namespace kavo::olympiad
