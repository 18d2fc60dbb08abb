// SPDX-License-Identifier: MIT
#include "core/review/part_sizes.hpp"

#include "core/common/messages.hpp"

#include <string>

namespace kavo::review {

OkResult confirmPartSizes(PartSizes& sizes, std::string_view edit2, std::string_view edit3,
                          std::string_view edit4, Lang lang) {
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
