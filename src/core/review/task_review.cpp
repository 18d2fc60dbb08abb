// SPDX-License-Identifier: MIT
#include "core/review/task_review.hpp"

#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/render/template_set.hpp"

#include <string>

namespace kavo::review {

// The names of the review files whose bytes on disk are no longer those remembered, joined
// by ", "; empty when none changed.
static std::string changedFiles(const std::filesystem::path& folder,
                                const std::array<std::string, 3>& remembered) {
    std::string changed;
    for (std::size_t i = 0; i < ReviewFiles.size(); ++i)
        if (render::readBytes(folder / ReviewFiles[i]) != remembered[i])
            changed += (changed.empty() ? "" : ", ") + std::string(ReviewFiles[i]);
    return changed;
}

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
    std::array<std::string, 3> bytes;
    for (int i = 0; i < static_cast<int>(ReviewFiles.size()); ++i) {
        const auto path = *folder / ReviewFiles[i];
        // One read gives the bytes to compare at Save and the text to show; a file that
        // cannot be read is read again as text for the report that names it.
        auto raw = render::readBytes(path);
        show(i, raw ? normaliseBreaks(*raw) : readText(path));
        bytes[i] = std::move(raw).value_or(std::string());
    }
    state.openedNumber = n;
    state.openedFolder = folder;
    state.openedBytes = std::move(bytes);
    return {};
}

SaveResult saveTask(ReviewState& state, const PartSizes& sizes,
                    const std::filesystem::path& outputDir, std::optional<int> selected,
                    const std::array<Text, 3>& fields, Lang lang, const ConfirmSave& confirm) {
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
        if (state.openedBytes && confirm) {
            const auto changed = changedFiles(*folder, *state.openedBytes);
            if (!changed.empty() &&
                !confirm(msg::review::changedOnDisk.in(lang, {std::to_string(*n), changed}))) {
                // Nothing written: the fields and the selection stay for another look.
                result.select = selected;
                result.declined = true;
                return result;
            }
        }
        const TreeLock tree(outputDir);
        // Each file written is remembered at once, so that after a failure part-way the
        // next Save compares each file with what is really there.
        for (std::size_t i = 0; i < ReviewFiles.size(); ++i) {
            std::string bytes = joinPieces({fields[i]});
            writeFileAtomic(*folder / ReviewFiles[i], bytes);
            if (state.openedBytes)
                (*state.openedBytes)[i] = std::move(bytes);
        }
        result.message = msg::review::saved.in(lang);
    } else if (fields[0].empty()) {
        result.message = msg::review::checkData.in(lang);
    }
    return result;
}

} // namespace kavo::review
