// SPDX-License-Identifier: MIT
#include "core/olympiad/task_state.hpp"

#include "core/common/messages.hpp"
#include "core/tasks/task_form.hpp"

#include <system_error>

namespace fs = std::filesystem;

namespace kavo::olympiad {

bool holdsPackageFile(const fs::path& folder) {
    std::error_code ec;
    for (const char* name : {"task.asp", "TASK.CFG", "task.out", "task.xml"})
        if (fs::symlink_status(folder / name, ec).type() != fs::file_type::not_found)
            return true;
    return false;
}

FolderState folderState(const render::TemplateSet& templates, const model::Olympiad& olympiad,
                        const fs::path& folder, std::optional<int> number, Lang lang) {
    FolderState state;
    if (!holdsPackageFile(olympiad.outputDir / folder))
        return state;
    const auto read = render::readAnyTask(templates, olympiad, folder, number);
    // Names typed as a character or as its reference write alike: the task reads back.
    if (auto task = tasks::taskToReopen(read)) {
        state.status = FolderStatus::Written;
        state.kind = task->kind;
        state.task = std::move(task);
        return state;
    }
    state.status = FolderStatus::Unreadable;
    state.reason = read.report(lang);
    // The reports begin with a line break to stand under other messages in a box.
    if (state.reason.starts_with('\n'))
        state.reason.erase(0, 1);
    return state;
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

std::string replaceQuestion(std::string_view task, const FolderState& state, Lang lang) {
    return msg::olympiad::replaceTask.utf8(lang, {std::string(task), stateName(state, lang)});
}

} // namespace kavo::olympiad
