// SPDX-License-Identifier: MIT
#include "core/review/part_sizes.hpp"

#include "core/common/messages.hpp"
#include "core/render/task_state.hpp"
#include "core/render/task_tree.hpp"

#include <string>

namespace kavo::review {

std::vector<MovedTask> movedTasks(const std::filesystem::path& outputDir,
                                  const model::PartSizes& sizes) {
    const model::Olympiad olympiad{outputDir, sizes};
    std::vector<MovedTask> moved;
    for (const auto& folder : render::taskFolders(outputDir)) {
        const auto number = render::folderNumber(folder);
        const auto parent = folder.parent_path().generic_string();
        // Other folders (an Edits task in "PartB/Train") lie where their name says.
        if (!number ||
            !(parent.empty() || parent == "PartA" || parent == "PartB" || parent == "PartC"))
            continue;
        const auto place = olympiad.place(*number);
        if (!place)
            moved.push_back({*number, folder, std::nullopt});
        else if (place->folder != folder)
            moved.push_back({*number, folder, place->folder});
    }
    return moved;
}

Text movedQuestion(const std::vector<MovedTask>& moved, Lang lang) {
    // A change of layout can move every task; the first lines show what happens.
    constexpr std::size_t shown = 10;
    Text lines;
    for (std::size_t i = 0; i < moved.size() && i < shown; ++i) {
        const auto& task = moved[i];
        const std::string number = std::to_string(task.number);
        const std::string folder = task.folder.generic_string();
        lines +=
            task.place
                ? msg::review::movedTask.in(lang, {number, folder, task.place->generic_string()})
                : msg::review::taskInNoPart.in(lang, {number, folder});
    }
    if (moved.size() > shown)
        lines += msg::review::moreMoved.in(lang, {std::to_string(moved.size() - shown)});
    return msg::review::keepMovingSizes.in(lang, {lines});
}

OkResult confirmPartSizes(PartSizes& sizes, std::string_view edit2, std::string_view edit3,
                          std::string_view edit4, Lang lang, const std::filesystem::path& outputDir,
                          const ConfirmSizes& confirm) {
    PartSizes read = sizes;
    try {
        read.PartASize = parseInt(edit2);
        read.PartBSize = parseInt(edit3);
        read.PartCSize = parseInt(edit4);
    } catch (...) {
        sizes.PartASize = read.PartASize;
        sizes.PartBSize = read.PartBSize;
        throw;
    }

    OkResult result;
    if (read.PartASize < 0 || read.PartBSize < 0 || read.PartCSize < 0) {
        result.refused = true;
        result.messages.push_back(msg::review::negativeSize.in(lang));
        return result;
    }

    read.TaskTotal = std::int64_t{read.PartASize} + read.PartBSize + read.PartCSize;
    // Only sizes that fill the lists offer numbers whose folders could hold the wrong task.
    if (confirm && read.PartASize != 0 && read.TaskTotal <= 99) {
        const auto moved = movedTasks(outputDir, {read.PartASize, read.PartBSize, read.PartCSize});
        if (!moved.empty() && !confirm(movedQuestion(moved, lang))) {
            result.refused = true;
            return result;
        }
    }
    sizes = read;
    if (sizes.TaskTotal > 99)
        result.messages.push_back(msg::review::maxTasks.in(lang));
    if (sizes.PartASize != 0 && sizes.TaskTotal <= 99)
        result.numbers = sizes.TaskTotal;
    if (sizes.PartASize == 0) {
        result.emptyEdit2 = true;
        result.messages.push_back(msg::review::partAEmpty.in(lang));
    }
    return result;
}

TreeSizes sizesForTree(const std::filesystem::path& outputDir,
                       const std::optional<model::PartSizes>& lastOk) {
    if (lastOk && movedTasks(outputDir, *lastOk).empty())
        return {lastOk, true, false};
    const model::PartSizes found = render::sizesInTree(outputDir);
    if (found.total() == 0)
        return {};
    return {found, false, true};
}

model::Olympiad olympiadOf(const PartSizes& sizes, const std::filesystem::path& outputDir) {
    return {outputDir, {sizes.PartASize, sizes.PartBSize, sizes.PartCSize}};
}

std::optional<std::filesystem::path>
taskFolder(const PartSizes& sizes, const std::filesystem::path& outputDir, std::int64_t n) {
    // The list holds the numbers 1 to TaskTotal; the part rule places each of them.
    if (n < 1 || n > sizes.TaskTotal)
        return std::nullopt;
    const auto place = olympiadOf(sizes, outputDir).place(n);
    if (!place)
        return std::nullopt;
    return outputDir / place->folder;
}

} // namespace kavo::review
