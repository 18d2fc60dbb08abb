// SPDX-License-Identifier: MIT
#pragma once
// Reading a written task back: from a task folder and the templates of System_folder, the
// Task that was written there, or the file and the first place that say why it cannot be.
// A task is read only when it renders back to exactly the bytes in the folder.

#include "core/common/lang.hpp"
#include "core/model/task.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::render {

struct FamilyTemplates;
struct DescriptionTemplates;
struct EditsData;
struct PageEnd;

// The templates of one System_folder for one operation (a write, a question, a listing of a
// tree; copies share them). Nothing is read until a group is used: a family's templates, the
// description headers, the Edits templates. The first use of a group in the operation reads
// its files; what was built from them (patterns, layouts) is kept for the whole program and
// serves again only while the files read byte for byte the same. Each file is read at most
// once per operation.
struct EditsTemplates;

class TemplateSet {
  public:
    static TemplateSet load(const std::filesystem::path& systemDir);
    // The same, reading through the folder already open as `openFolder` (the set keeps a
    // duplicate of the descriptor), so that the folder is not opened again.
    static TemplateSet load(const std::filesystem::path& systemDir, int openFolder);
    // A set whose Edits templates are those held (as the Edits builder holds them from its
    // start): what it writes with is what it reads back with. Other files are read as usual.
    // The set refers to `held`, which must outlive it.
    static TemplateSet withEdits(const std::filesystem::path& systemDir,
                                 const EditsTemplates& held);
    const std::filesystem::path& systemDir() const;

    // The text of a file under System_folder ("file/task_part1.txt"), line breaks CR LF.
    // Throws kavo::Error when it cannot be read.
    const Text& text(std::string_view name) const;
    // Throw kavo::Error at a file of the group that cannot be read.
    const FamilyTemplates& family(model::TaskKind kind) const;
    const DescriptionTemplates& descriptions() const;
    const EditsData& edits() const;
    // What the pages of a family (or, without a kind, the Edits pages) end with: reads only
    // the closing template and the removal texts, so that a family whose configuration fits
    // a folder is ruled out without loading the rest. Nothing is ruled out when one of those
    // files cannot be read.
    const PageEnd& pageEnd(std::optional<model::TaskKind> kind) const;

    // Whether every file the other set has read (or failed to read) reads the same through
    // this one, byte for byte: what was read with the other set serves again. Reads those
    // files with this set.
    bool readsAsBefore(const TemplateSet& other) const;
    bool operator==(const TemplateSet& other) const { return state_ == other.state_; }

    // Drops what was built, as in a program started afresh.
    static void forgetBuilt();

  private:
    struct State;
    std::shared_ptr<State> state_;
};

enum class ReadStatus {
    Read,      // `task` is the task written there
    Ambiguous, // the files are the package of more than one task; `readings` lists them
    Mismatch,  // no task renders to these files: `place` is the first place that differs
    Missing,   // `place.file` is missing or cannot be read
};

enum class ReadReason {
    None,
    MissingFile,
    Differs,             // written by hand or from other templates
    RemovedVariantNamed, // task.out names as right a variant the page does not have
    TemplateText,        // a typed text holds a stretch of a template: it cuts more than one way
    EmptyOrRemoved,      // the page does not show which variants were left empty or removed
    Prompt,              // a typed-answer condition holds the prompt the writer translates
    Placeholder,         // an Edits text holds a placeholder such as *vs3*
    Names,               // own or default names, or a character or its XML reference
    Kind,                // both a task of the form and an Edits task
};

struct FilePlace {
    std::string file;                  // task.asp, TASK.CFG, task.out or task.xml
    std::optional<std::size_t> offset; // none: the whole file
    std::size_t line = 0, column = 0;  // from 1, in bytes; lines end at LF
    bool operator==(const FilePlace&) const = default;
};

// What a read found beside the task: the data the description carries, and how the
// files were saved.
struct WrittenWith {
    Text authorLine;                // as task.xml holds it: escaped, with the writer's rewrites
    bool authorLineDiffers = false; // not the author line of today's headers
    std::optional<char> partLetter; // default names: 'B' or 'C' (none: "A")
    bool identifiersWithoutPart = false; // TaskA3 written as Task3
    bool reviewSaved = false; // task.asp, task.out and task.xml each end with one more CR LF
    bool operator==(const WrittenWith&) const = default;
};

// What the system says of a file: equal stamps, most likely the same bytes.
struct FileStamp {
    bool present = false;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modified = 0, changed = 0; // nanoseconds
    bool operator==(const FileStamp&) const = default;
};

struct ReadResult {
    ReadStatus status = ReadStatus::Mismatch;
    ReadReason reason = ReadReason::None;
    std::filesystem::path folder; // the task folder, relative to the task tree
    // Read: the fields its kind does not use keep their defaults (the index answer of a
    // multiple choice, the variants of a typed answer ...); an Edits task's folder is the
    // folder read, with "/" between its parts.
    std::optional<model::Task> task;
    WrittenWith written;
    FilePlace place;
    std::vector<model::Task> readings; // Ambiguous: the tasks these files can hold
    std::optional<char> namedVariant;  // RemovedVariantNamed: the letter task.out gives
    // The four files as opened, before they were read (task.asp, TASK.CFG, task.out,
    // task.xml); none present when one was missing.
    std::array<FileStamp, 4> stamps;

    // The reason with the folder, file and place in the interface language (UTF-8); for a
    // Read the information to show (another author line), or nothing.
    std::string report(Lang lang) const;
};

// The task of the form with this number (1 to 99) in the folder (relative to the task
// tree): any kind, any removed variants, default or own names.
ReadResult readTask(const TemplateSet& templates, const model::Olympiad& olympiad,
                    const std::filesystem::path& folder, int number);

// The Edits task in the folder (relative to the task tree), with two to four sub-questions.
ReadResult readEditsTask(const TemplateSet& templates, const model::Olympiad& olympiad,
                         const std::filesystem::path& folder);

// A task of either sort, for a listing of the tree. Without a number the folder's name
// gives it ("7", "PartB/7"); a folder not named by a number 1 to 99 holds an Edits task.
// Files that fit both sorts are Ambiguous with the reason Kind.
ReadResult readAnyTask(const TemplateSet& templates, const model::Olympiad& olympiad,
                       const std::filesystem::path& folder,
                       std::optional<int> number = std::nullopt);

// readAnyTask, handing the read to `use` while the folder's bytes are at hand: the condition
// of a task read (status Read) is not copied out of them; `task` holds it empty and
// `condition` views it until `use` returns. Readings of an Ambiguous read hold theirs.
using ReadInPlace = std::function<void(ReadResult& read, std::string_view condition)>;
void readAnyTaskInPlace(const TemplateSet& templates, const model::Olympiad& olympiad,
                        const std::filesystem::path& folder, std::optional<int> number,
                        const ReadInPlace& use);

// The folder read as one kind of task only (a task of the form needs its number): the
// families of other kinds are neither read nor ruled out. A reading found is the task the
// files hold, though other kinds might read them too; anything else is no verdict (read
// the folder with readAnyTask to learn what it holds).
ReadResult readTaskAs(const TemplateSet& templates, const model::Olympiad& olympiad,
                      const std::filesystem::path& folder, std::optional<int> number,
                      model::TaskKind kind);

// Task `number` of the olympiad in its folder by the part rule, with the templates of
// systemDir (for reading a single task). The number must lie in a part.
ReadResult readTask(const std::filesystem::path& systemDir, const model::Olympiad& olympiad,
                    int number);

// The task a read gives back to a form to change and write again: the task read; of
// readings that differ only in whether a name was typed as a character or as its XML
// reference (" or &quot;), each writing the same bytes, the one with the characters. None
// for any other read.
std::optional<model::Task> taskToReopen(const ReadResult& read);

} // namespace kavo::render
