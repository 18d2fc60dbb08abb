// SPDX-License-Identifier: MIT
#include "core/review/task_review.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/render/read_back.hpp"
#include "core/render/task_state.hpp"
#include "core/render/template_set.hpp"

#include <algorithm>
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

// Every character of a text that its review file cannot hold: the page and the
// description by the rule of page text (a reference judged by the character it names), the
// scoring file line by line by the rule of an answer.
static std::vector<std::string> refusedIn(std::size_t file, std::string_view text) {
    const auto field = file == 1 ? TextField::TypedAnswer : TextField::Condition;
    std::vector<std::string> found;
    for (const auto& line : file == 1 ? splitLines(text) : Pieces{Text(text)}) {
        std::size_t from = 0;
        while (const auto invalid = refuseFieldText(field, std::string_view(line).substr(from))) {
            found.push_back(invalid->description);
            from += invalid->position + 1;
        }
    }
    return found;
}

// The first character the teacher's edit brought into a review field that its file cannot
// hold, as a message naming the file; what the file held when it was opened stays as it was.
static Text refusedCharacter(std::size_t file, const Text& text,
                             const std::optional<std::string>& opened, Lang lang) {
    const auto held =
        opened ? refusedIn(file, normaliseBreaks(*opened)) : std::vector<std::string>{};
    for (const auto& c : refusedIn(file, text))
        if (std::find(held.begin(), held.end(), c) == held.end())
            return msg::task::refusedCharacter.in(lang, {ReviewFiles[file], c});
    return {};
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

// What follows "Saved successfully" when the saved folder does not read back as a task (as
// the marks read it); empty when it does.
static Text readBackAfterSave(const std::filesystem::path& systemDir, const PartSizes& sizes,
                              const std::filesystem::path& outputDir, std::int64_t n, Lang lang) {
    const auto olympiad = olympiadOf(sizes, outputDir);
    std::string reason;
    try {
        const auto state =
            render::folderState(render::TemplateSet::load(systemDir), olympiad,
                                olympiad.place(n)->folder, static_cast<int>(n), lang);
        if (state.status != render::FolderStatus::Unreadable)
            return {};
        reason = state.reason;
    } catch (const Error& error) {
        reason = error.report(lang);
    }
    const Text shown = utf8ToCp1251(reason, Unencodable::CharacterReference).value_or(reason);
    return msg::review::notReadBack.in(lang, {shown});
}

SaveResult saveTask(ReviewState& state, const PartSizes& sizes,
                    const std::filesystem::path& outputDir, std::optional<int> selected,
                    const std::array<Text, 3>& fields, Lang lang, const ConfirmSave& confirm,
                    const std::filesystem::path& systemDir) {
    SaveResult result;
    result.select = selected ? *selected + 1 : 0;
    const auto n = selected ? std::optional(std::int64_t{*selected} + 1) : std::nullopt;
    const auto folder = n ? taskFolder(sizes, outputDir, *n) : std::nullopt;

    if (folder && !fields[0].empty()) {
        if (state.openedNumber != n || state.openedFolder != folder) {
            const std::string wanted = std::to_string(*n);
            if (!state.openedNumber)
                result.message = msg::review::openBeforeSaving.in(lang, {wanted});
            else if (state.openedNumber == n && state.openedFolder)
                // The sizes changed since Open task: the same number lies elsewhere now.
                result.message = msg::review::fieldsHoldOtherFolder.in(
                    lang, {state.openedFolder->lexically_relative(outputDir).generic_string(),
                           wanted, folder->lexically_relative(outputDir).generic_string()});
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
        for (std::size_t i = 0; i < ReviewFiles.size(); ++i)
            if (auto refused = refusedCharacter(
                    i, fields[i],
                    state.openedBytes ? std::optional((*state.openedBytes)[i]) : std::nullopt,
                    lang);
                !refused.empty()) {
                // Nothing written: the fields and the selection stay for a correction.
                result.message = std::move(refused);
                result.select = selected;
                return result;
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
        result.saved = true;
        if (!systemDir.empty()) {
            const Text lost = readBackAfterSave(systemDir, sizes, outputDir, *n, lang);
            result.unreadable = !lost.empty();
            result.message += lost;
        }
    } else if (fields[0].empty()) {
        result.message = msg::review::checkData.in(lang);
    }
    return result;
}

} // namespace kavo::review
