// SPDX-License-Identifier: MIT
#pragma once
// The task code review: open the three files of a written task, save them back.

#include "core/review/part_sizes.hpp"

#include <array>
#include <functional>
#include <optional>

namespace kavo::review {

// The files of a task in the order the review shows them (Memo2, Memo3, Memo4).
inline constexpr std::array<const char*, 3> ReviewFiles = {"task.asp", "task.out", "task.xml"};

// Which task the review fields hold: Save writes only there.
struct ReviewState {
    std::optional<std::int64_t> openedNumber;
    std::optional<std::filesystem::path> openedFolder;

    void forget() {
        openedNumber.reset();
        openedFolder.reset();
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
};

// Save changes of the three fields (program text). Throws kavo::Error at a file that cannot
// be written; files written before stay, and the selection must not move.
SaveResult saveTask(const ReviewState& state, const PartSizes& sizes,
                    const std::filesystem::path& outputDir, std::optional<int> selected,
                    const std::array<Text, 3>& fields, Lang lang);

} // namespace kavo::review
