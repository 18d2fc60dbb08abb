// SPDX-License-Identifier: MIT
#pragma once
// What a task folder holds, as the number lists, the overview and the question before a
// replace show it.
#include "core/common/lang.hpp"
#include "core/model/task.hpp"
#include "core/render/read_back.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::render {

// The number a task folder's own name gives, 1 to 99 ("PartB/7" gives 7, "Train" none).
std::optional<int> folderNumber(const std::filesystem::path& folder);

// True when the folder holds any of the four package files.
bool holdsPackageFile(const std::filesystem::path& folder);
// True when the folder (absolute) is Empty: missing, or a folder without any package file;
// a file in its place is not.
bool holdsNoTask(const std::filesystem::path& folder);

enum class FolderStatus {
    Empty,      // none of the four package files
    Written,    // a task of `kind`
    Unreadable, // package files that do not read back as one task, or a file in its place
};

// What a reader of the tree keeps of a task's condition (which may be large and is not
// kept), taken while the folder's bytes are at hand.
struct TaskNotes {
    virtual ~TaskNotes() = default;
};

struct FolderState {
    FolderStatus status = FolderStatus::Empty;
    model::TaskKind kind = model::TaskKind::SingleChoice; // Written
    // Written: the task read back without its condition (left empty), shared by the copies
    // of the state. A window that opens the task reads the folder again.
    std::shared_ptr<const model::Task> task;
    std::shared_ptr<const TaskNotes> notes; // Written, when asked for: see NoteTaker
    WrittenWith written;                    // Written: how it was saved
    std::string reason;                     // Unreadable: why, in the interface language (UTF-8)
};

// Takes the notes of each task read back, while its condition is at hand.
class NoteTaker {
  public:
    virtual ~NoteTaker() = default;
    // The notes of a task read back (its `condition` empty); `condition` views the bytes
    // read, valid during the call. `before` holds notes kept of the same files, if any.
    virtual std::shared_ptr<const TaskNotes>
    take(const model::Task& task, std::string_view condition, const TaskNotes* before) const = 0;
    // Whether notes kept serve this taker as they are.
    virtual bool serves(const TaskNotes& notes) const = 0;
};

// The state of a task folder (relative to the olympiad's tree). With a number the folder
// holds a task of the form; without one, a task of either sort (readAnyTask).
FolderState folderState(const TemplateSet& templates, const model::Olympiad& olympiad,
                        const std::filesystem::path& folder, std::optional<int> number, Lang lang,
                        const NoteTaker* taker = nullptr);

// The state of a folder about to be replaced, for the question before it: as folderState,
// but templates that cannot be read (of another kind than the one written, say) make the
// folder Unreadable instead of stopping the write. Given the kind most likely there (the
// one about to be written), a folder that reads as that kind is named so without reading
// the other kinds' templates: the question needs the kind, and the reading is true.
FolderState replacedState(const TemplateSet& templates, const model::Olympiad& olympiad,
                          const std::filesystem::path& folder, std::optional<int> number, Lang lang,
                          std::optional<model::TaskKind> likely = std::nullopt);

// Folder states kept between refreshes of a window: a folder whose package files are still
// the same files (device, inode, size, modification and change times) is not read again with
// the same templates. Folders without a package file are always looked at afresh.
class StateCache {
  public:
    // With a taker, a task kept without notes that serve it is read again.
    FolderState state(const TemplateSet& templates, const model::Olympiad& olympiad,
                      const std::filesystem::path& folder, std::optional<int> number, Lang lang,
                      const NoteTaker* taker = nullptr);

  private:
    using Stamp = FileStamp;
    using Stamps = std::array<Stamp, 4>;
    static Stamps stampsOf(const std::filesystem::path& folder);

    struct Entry {
        Stamps stamps;
        FolderState state;
    };
    // The set the entries were read with: they serve while its files read the same.
    std::optional<TemplateSet> templates_;
    std::map<std::pair<std::string, std::optional<int>>, Entry> entries_;
    Lang lang_ = Lang::Russian;
};

// The states of the task numbers 1 to the olympiad's total, in order, each read from its
// folder by the part rule with the one template set given (through the cache when given); a
// number outside every part is Empty.
std::vector<FolderState> numberStates(const TemplateSet& templates, const model::Olympiad& olympiad,
                                      Lang lang, StateCache* cache = nullptr);

// "multiple choice", "Edits task" ...: the kind as a teacher names it (UTF-8).
std::string kindName(model::TaskKind kind, Lang lang);
// "multiple choice", or "cannot be read back": what the number lists and the overview say of a
// folder that holds a package (UTF-8); empty for an empty folder.
std::string stateName(const FolderState& state, Lang lang);
// What the number lists say of a number: its stateName, or "no task yet" (UTF-8).
std::string markName(const FolderState& state, Lang lang);
// The tooltip of a number: "Task 5: multiple choice", with the reason on a line of its own
// when the folder does not read back (UTF-8).
std::string markTip(std::string_view number, const FolderState& state, Lang lang);
// "Task 5 (multiple choice) is already written. Replace it?" for a folder that holds a
// package; `task` is the number or the folder as the teacher typed it (UTF-8).
std::string replaceQuestion(std::string_view task, const FolderState& state, Lang lang);

} // namespace kavo::render
