// SPDX-License-Identifier: MIT
#include "core/render/task_state.hpp"

#include "core/common/error.hpp"
#include "core/common/messages.hpp"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include <cerrno>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace kavo::render {

std::optional<int> folderNumber(const fs::path& folder) {
    const auto name = folder.filename().string();
    if (name.empty() || name.size() > 2 || name[0] == '0' ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(name);
}

namespace {
const char* const PackageFiles[] = {"task.asp", "TASK.CFG", "task.out", "task.xml"};
} // namespace

bool holdsPackageFile(const fs::path& folder) {
    // Most folders asked about do not exist (the other parts' folders of a number): one look
    // at the folder answers for its four files.
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 ? errno == ENOENT || errno == ENOTDIR
                                         : !S_ISDIR(st.st_mode))
        return false;
    // A file there in any form (a link too) counts; one that cannot be looked at as well.
    std::string path = folder.native() + '/';
    const std::size_t base = path.size();
    for (const char* name : PackageFiles) {
        path.replace(base, std::string::npos, name);
        if (::lstat(path.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR))
            return true;
    }
    return false;
}

namespace {

// A file (or a link to nothing) where the task folder should be: no task can be written there.
bool fileInPlace(const fs::path& folder) {
    std::error_code ec;
    const auto own = fs::symlink_status(folder, ec).type();
    if (own == fs::file_type::not_found || own == fs::file_type::none)
        return false;
    return !fs::is_directory(folder, ec);
}

} // namespace

bool holdsNoTask(const fs::path& folder) {
    return !holdsPackageFile(folder) && !fileInPlace(folder);
}

namespace {

// The state of a folder that reads back as a task, from the read (its condition in place):
// the task read is taken over without its condition, and shared by the copies of the state;
// the taker's notes are taken while the condition is at hand. Names typed as a character or
// as its reference write alike: such a task reads back too.
std::optional<FolderState> writtenState(ReadResult& read, std::string_view condition,
                                        const NoteTaker* taker, const TaskNotes* before) {
    FolderState state;
    std::optional<model::Task> task;
    Text reopened; // a condition the read copied out
    if (read.status == ReadStatus::Read && read.task)
        task = std::move(read.task);
    else if (!(task = taskToReopen(read)))
        return std::nullopt;
    if (!task->condition.empty()) {
        reopened = std::move(task->condition);
        task->condition.clear();
        condition = reopened;
    }
    state.status = FolderStatus::Written;
    state.kind = task->kind;
    state.written = std::move(read.written);
    auto shared = std::make_shared<const model::Task>(std::move(*task));
    if (taker)
        state.notes = taker->take(*shared, condition, before);
    state.task = std::move(shared);
    return state;
}

// The state of the folder, and the stamps of its four files as they were read (none present
// when one was missing).
FolderState stateOf(const TemplateSet& templates, const model::Olympiad& olympiad,
                    const fs::path& folder, std::optional<int> number, Lang lang,
                    std::array<FileStamp, 4>* stamps, const NoteTaker* taker = nullptr,
                    const TaskNotes* before = nullptr) {
    FolderState state;
    bool missing = false;
    // The condition is looked at in the bytes read and let go with them.
    readAnyTaskInPlace(templates, olympiad, folder, number,
                       [&](ReadResult& read, std::string_view condition) {
                           if (stamps)
                               *stamps = read.stamps;
                           if (read.status == ReadStatus::Missing) {
                               missing = true;
                               state.reason = read.report(lang);
                           } else if (auto written = writtenState(read, condition, taker, before)) {
                               state = std::move(*written);
                           } else {
                               state.status = FolderStatus::Unreadable;
                               state.reason = read.report(lang);
                           }
                       });
    // A folder that holds no package file reads as missing the first; a file in place of the
    // folder holds none either: looked for only then.
    if (missing) {
        if (!holdsPackageFile(olympiad.outputDir / folder)) {
            state = {};
            if (fileInPlace(olympiad.outputDir / folder)) {
                state.status = FolderStatus::Unreadable;
                state.reason = msg::marks::notAFolder.utf8(lang, {folder.generic_string()});
            }
            return state;
        }
        state.status = FolderStatus::Unreadable;
    }
    // The reports begin with a line break to stand under other messages in a box.
    if (state.status == FolderStatus::Unreadable && state.reason.starts_with('\n'))
        state.reason.erase(0, 1);
    return state;
}

} // namespace

FolderState folderState(const TemplateSet& templates, const model::Olympiad& olympiad,
                        const fs::path& folder, std::optional<int> number, Lang lang,
                        const NoteTaker* taker) {
    return stateOf(templates, olympiad, folder, number, lang, nullptr, taker);
}

FolderState replacedState(const TemplateSet& templates, const model::Olympiad& olympiad,
                          const fs::path& folder, std::optional<int> number, Lang lang,
                          std::optional<model::TaskKind> likely) {
    try {
        if (likely && (number || *likely == model::TaskKind::Edits)) {
            auto read = readTaskAs(templates, olympiad, folder, number, *likely);
            if (auto written = writtenState(read, {}, nullptr, nullptr))
                return std::move(*written);
        }
        return folderState(templates, olympiad, folder, number, lang);
    } catch (const Error& error) {
        FolderState state;
        state.status = FolderStatus::Unreadable;
        state.reason = error.report(lang);
        return state;
    }
}

StateCache::Stamps StateCache::stampsOf(const fs::path& folder) {
    Stamps stamps;
    std::string path = folder.native() + '/';
    const std::size_t base = path.size();
    for (std::size_t i = 0; i < stamps.size(); ++i) {
        struct stat info {};
        path.replace(base, std::string::npos, PackageFiles[i]);
        if (::lstat(path.c_str(), &info) != 0)
            continue;
        stamps[i] = {true,
                     static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::uint64_t>(info.st_size),
                     info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec,
                     info.st_ctim.tv_sec * 1'000'000'000LL + info.st_ctim.tv_nsec};
    }
    return stamps;
}

FolderState StateCache::state(const TemplateSet& templates, const model::Olympiad& olympiad,
                              const fs::path& folder, std::optional<int> number, Lang lang,
                              const NoteTaker* taker) {
    // Entries read with another set serve only while every template file that set read reads
    // the same through this one.
    if (!templates_ || !(*templates_ == templates) || lang_ != lang) {
        if (!templates_ || lang_ != lang || !templates.readsAsBefore(*templates_))
            entries_.clear();
        templates_ = templates;
        lang_ = lang;
    }
    const fs::path where = olympiad.outputDir / folder;
    // A number that the folder's name gives anyway reads the same as none.
    const auto key =
        std::pair(where.native(), number == folderNumber(folder) ? std::nullopt : number);
    const auto found = entries_.find(key);
    if (found == entries_.end()) {
        // Nothing kept: the stamps are those of the files as the read opened them, before it
        // read them, so that a file changed meanwhile is read again next time.
        Stamps stamps;
        FolderState state = stateOf(templates, olympiad, folder, number, lang, &stamps, taker);
        if (std::any_of(stamps.begin(), stamps.end(), [](const Stamp& s) { return s.present; }))
            entries_.emplace(key, Entry{stamps, state});
        return state;
    }
    // Taken before the read: a file changed while it is read is read again next time.
    const Stamps stamps = stampsOf(where);
    const bool holds =
        std::any_of(stamps.begin(), stamps.end(), [](const Stamp& s) { return s.present; });
    if (!holds) {
        entries_.erase(found);
        return folderState(templates, olympiad, folder, number, lang, taker);
    }
    const FolderState& kept = found->second.state;
    const bool noted = !taker || kept.status != FolderStatus::Written ||
                       (kept.notes && taker->serves(*kept.notes));
    if (found->second.stamps == stamps && noted)
        return kept;
    // Notes kept of the same files are taken on with the ones asked for.
    const TaskNotes* before = found->second.stamps == stamps ? kept.notes.get() : nullptr;
    FolderState state = stateOf(templates, olympiad, folder, number, lang, nullptr, taker, before);
    found->second = {stamps, state};
    return state;
}

std::vector<FolderState> numberStates(const TemplateSet& templates, const model::Olympiad& olympiad,
                                      Lang lang, StateCache* cache) {
    std::vector<FolderState> states;
    const std::int64_t total = std::clamp<std::int64_t>(olympiad.sizes.total(), 0, 99);
    states.reserve(static_cast<std::size_t>(total));
    for (int n = 1; n <= total; ++n) {
        const auto place = olympiad.place(n);
        if (!place)
            states.emplace_back();
        else if (cache)
            states.push_back(cache->state(templates, olympiad, place->folder, n, lang));
        else
            states.push_back(folderState(templates, olympiad, place->folder, n, lang));
    }
    return states;
}

std::string kindName(model::TaskKind kind, Lang lang) {
    namespace m = msg::olympiad::kind;
    switch (kind) {
    case model::TaskKind::SingleChoice:
        return std::string(m::single.utf8(lang));
    case model::TaskKind::TypedAnswer:
        return std::string(m::typed.utf8(lang));
    case model::TaskKind::FoldedChoice:
        return std::string(m::folded.utf8(lang));
    case model::TaskKind::MultipleChoice:
        return std::string(m::multiple.utf8(lang));
    case model::TaskKind::MultipleChoiceFolded:
        return std::string(m::multipleFolded.utf8(lang));
    case model::TaskKind::Edits:
        return std::string(m::edits.utf8(lang));
    }
    return {};
}

std::string stateName(const FolderState& state, Lang lang) {
    switch (state.status) {
    case FolderStatus::Empty:
        return {};
    case FolderStatus::Written:
        return kindName(state.kind, lang);
    case FolderStatus::Unreadable:
        return std::string(msg::olympiad::kind::unreadable.utf8(lang));
    }
    return {};
}

std::string markName(const FolderState& state, Lang lang) {
    if (state.status == FolderStatus::Empty)
        return std::string(msg::marks::noTask.utf8(lang));
    return stateName(state, lang);
}

std::string markTip(std::string_view number, const FolderState& state, Lang lang) {
    std::string tip = msg::marks::tip.utf8(lang, {number, markName(state, lang)});
    if (!state.reason.empty())
        tip += "\n" + state.reason;
    return tip;
}

std::string replaceQuestion(std::string_view task, const FolderState& state, Lang lang) {
    return msg::olympiad::replaceTask.utf8(lang, {std::string(task), stateName(state, lang)});
}

} // namespace kavo::render
