// SPDX-License-Identifier: MIT
#include "core/review/task_review.hpp"

#include "core/common/files.hpp"
#include "core/common/messages.hpp"

#include <string>

namespace kavo::review {

Text openTask(ReviewState& state, const PartSizes& sizes, const std::filesystem::path& outputDir,
              std::optional<int> selected, const std::function<void(int, const Text&)>& show,
              Lang lang) {
    if (!selected)
        return msg::review::selectNumber.in(lang);
    const std::int64_t n = std::int64_t{*selected} + 1;
    const auto folder = taskFolder(sizes, outputDir, n);
    state.forget();
    if (!folder)
        return {};
    for (int i = 0; i < static_cast<int>(ReviewFiles.size()); ++i)
        show(i, readText(*folder / ReviewFiles[i]));
    state.openedNumber = n;
    state.openedFolder = folder;
    return {};
}

SaveResult saveTask(const ReviewState& state, const PartSizes& sizes,
                    const std::filesystem::path& outputDir, std::optional<int> selected,
                    const std::array<Text, 3>& fields, Lang lang) {
    SaveResult result;
    result.select = selected ? *selected + 1 : 0;
    const auto n = selected ? std::optional(std::int64_t{*selected} + 1) : std::nullopt;
    const auto folder = n ? taskFolder(sizes, outputDir, *n) : std::nullopt;

    if (folder && !fields[0].empty()) {
        if (state.openedNumber != n || state.openedFolder != folder) {
            const std::string wanted = std::to_string(*n);
            if (!state.openedNumber)
                result.message = msg::review::openBeforeSaving.in(lang, {wanted});
            else {
                const std::string held = std::to_string(*state.openedNumber);
                result.message = msg::review::fieldsHoldOther.in(lang, {held, wanted});
            }
            return result;
        }
        for (std::size_t i = 0; i < ReviewFiles.size(); ++i)
            writePieces(*folder / ReviewFiles[i], {fields[i]});
        result.message = msg::review::saved.in(lang);
    } else if (fields[0].empty()) {
        result.message = msg::review::checkData.in(lang);
    }
    return result;
}

} // namespace kavo::review
