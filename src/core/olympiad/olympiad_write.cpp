// SPDX-License-Identifier: MIT
#include "core/olympiad/olympiad_write.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/edits/edits_task.hpp"
#include "core/olympiad/tree_check.hpp"
#include "core/render/read_back.hpp"
#include "core/render/render.hpp"
#include "core/render/task_state.hpp"
#include "core/render/task_tree.hpp"
#include "core/tasks/add_task.hpp"
#include "core/tasks/checks.hpp"
#include "core/tasks/markup_check.hpp"

#include <system_error>

namespace fs = std::filesystem;

namespace kavo::olympiad {

namespace {

// Each line of a box of messages (Windows-1251, each begun by a line feed) as UTF-8.
std::vector<std::string> linesOf(const Text& messages) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= messages.size()) {
        const auto end = std::min(messages.find('\n', start), messages.size());
        if (end > start)
            lines.push_back(cp1251ToUtf8(std::string_view(messages).substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

std::optional<fs::path> folderOf(const model::Task& task, const model::Olympiad& olympiad) {
    if (task.kind == model::TaskKind::Edits)
        return olympiad.editsFolder(task.folder);
    if (const auto place = olympiad.place(task.number))
        return place->folder;
    return std::nullopt;
}

} // namespace

model::Olympiad importedOlympiad(const OlympiadImport& import, const fs::path& outputDir) {
    model::Olympiad olympiad{outputDir, import.sizes};
    olympiad.identifiersWithoutPart = import.sizes.b == 0 && import.sizes.c == 0;
    return olympiad;
}

void checkImportedTasks(OlympiadImport& import, Lang lang) {
    const auto olympiad = importedOlympiad(import, {});
    for (const auto& imported : import.tasks) {
        const auto& task = imported.task;
        Text refused;
        if (task.kind == model::TaskKind::Edits) {
            refused = edits::checkEditsTask(task, olympiad, lang);
        } else {
            // The place is checked with the file's numbers already.
            auto failed = tasks::checkTask(task, nullptr);
            refused = tasks::checkMessages(failed, lang, &task);
        }
        for (const auto& line : linesOf(refused))
            import.problems.push_back({Severity::Error,
                                       imported.pos,
                                       { kavo::msg::olympiad::taskRule,
                                         { line } }});
        for (const auto& warning : tasks::markupWarnings(task, lang))
            import.problems.push_back({Severity::Warning,
                                       imported.pos,
                                       { kavo::msg::olympiad::strayLessThan,
                                         { cp1251ToUtf8(warning.field),
                                           cp1251ToUtf8(warning.text) } }});
    }
}

std::vector<fs::path> existingTasks(const OlympiadImport& import, const fs::path& outputDir) {
    // The whole import is one writer of the tree; each task takes System_folder's lock for
    // its counter.
    const TreeLock tree(outputDir);
    const auto olympiad = importedOlympiad(import, outputDir);
    std::vector<fs::path> existing;
    for (const auto& imported : import.tasks) {
        const auto folder = folderOf(imported.task, olympiad);
        std::error_code ec;
        if (!folder)
            continue;
        for (const char* name : {"task.asp", "TASK.CFG", "task.out", "task.xml"})
            if (fs::exists(outputDir / *folder / name, ec)) {
                existing.push_back(*folder);
                break;
            }
    }
    return existing;
}

std::size_t writeOlympiad(const OlympiadImport& import, const fs::path& systemDir,
                          const fs::path& outputDir, Lang lang,
                          const std::function<void(std::size_t, std::size_t)>& progress,
                          const auth::Headers* headers) {
    const auto olympiad = importedOlympiad(import, outputDir);
    // One reading of the templates for the whole olympiad.
    const auto templates = render::TemplateSet::load(systemDir);
    // One number, one task: refused before the first write, so nothing is half-written.
    for (const auto& imported : import.tasks) {
        const auto folder = folderOf(imported.task, olympiad);
        const auto number = folder ? render::folderNumber(*folder) : std::nullopt;
        if (!number)
            continue;
        if (const auto other = render::numberHeldElsewhere(outputDir, *number, *folder))
            throw Error(render::heldElsewhereRefusal(outputDir, *number, *folder, *other, lang));
    }
    std::optional<render::EditsTemplates> editsTemplates;
    std::size_t done = 0;
    for (const auto& imported : import.tasks) {
        const auto& task = imported.task;
        try {
            if (task.kind == model::TaskKind::Edits) {
                if (!editsTemplates) {
                    editsTemplates = render::readEditsTemplates(templates);
                    if (headers)
                        editsTemplates->taskXml = headers->first;
                }
                const TreeLock system(systemDir, TreeLock::Missing::Refuse);
                const auto count = tasks::readTaskCounter(systemDir);
                render::writePackage(outputDir, render::renderEdits(task, *editsTemplates,
                                                                    *folderOf(task, olympiad)));
                tasks::writeTaskCounter(systemDir, count < INT32_MAX ? count + 1 : count);
            } else {
                tasks::writeTask(task, olympiad, systemDir, lang, std::nullopt, headers,
                                 &templates);
            }
        } catch (const Error& error) {
            throw Error(kavo::msg::olympiad::writeFailed.utf8(
                lang, {std::to_string(imported.pos.line), imported.title, error.report(lang)}));
        }
        ++done;
        if (progress)
            progress(done, import.tasks.size());
    }
    return done;
}

} // namespace kavo::olympiad
