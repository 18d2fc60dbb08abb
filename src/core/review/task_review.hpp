// SPDX-License-Identifier: MIT
#pragma once
// The task code review: open the three files of a written task, save them back.

#include "core/review/part_sizes.hpp"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace kavo::review {

// The files of a task in the order the review shows them (Memo2, Memo3, Memo4).
inline constexpr std::array<const char*, 3> ReviewFiles = {"task.asp", "task.out", "task.xml"};

// Which task the review fields hold: Save writes only there.
struct ReviewState {
    std::optional<std::int64_t> openedNumber;
    std::optional<std::filesystem::path> openedFolder;
    // The exact bytes of the three files as Open task read them or Save wrote them: Save
    // asks before writing over files that changed on disk since.
    std::optional<std::array<std::string, 3>> openedBytes;

    void forget() {
        openedNumber.reset();
        openedFolder.reset();
        openedBytes.reset();
    }
};

// Open task for the selected position of ListBox4. show(i, text) receives each file as it
// is read, so a failure (kavo::Error) leaves the fields read before it with their new text.
// Returns the message to show, if any.
Text openTask(ReviewState& state, const PartSizes& sizes, const std::filesystem::path& outputDir,
              std::optional<int> selected, const std::function<void(int, const Text&)>& show,
              Lang lang);

struct SaveResult {
    Text message;              // empty: none
    std::optional<int> select; // the position to select next (outside the list: none)
    bool declined = false;     // the overwrite question was answered No: nothing written
    bool saved = false;        // the three files were written
    bool unreadable = false;   // saved, but the folder does not read back as a task
};

// Asked before writing over files changed on disk since Open task (program text); true
// writes. Without it Save writes.
using ConfirmSave = std::function<bool(const Text& question)>;

// Save changes of the three fields (program text). Throws kavo::Error at a file that cannot
// be written; files written before stay, and the selection must not move. The state then
// remembers the bytes written. With systemDir the task is read back with its templates, as
// the marks read it, and a folder that does not read back is said after "Saved
// successfully", with the reason.
SaveResult saveTask(ReviewState& state, const PartSizes& sizes,
                    const std::filesystem::path& outputDir, std::optional<int> selected,
                    const std::array<Text, 3>& fields, Lang lang, const ConfirmSave& confirm = {},
                    const std::filesystem::path& systemDir = {});

} // namespace kavo::review
