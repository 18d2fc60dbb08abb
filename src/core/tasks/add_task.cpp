// SPDX-License-Identifier: MIT
#include "core/tasks/add_task.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/render/read_back.hpp"
#include "core/render/render.hpp"
#include "core/render/task_state.hpp"
#include "core/render/task_tree.hpp"
#include "core/tasks/checks.hpp"
#include "core/tasks/markup_check.hpp"

#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace kavo::tasks {

static fs::path counterFile(const fs::path& systemDir) {
    return systemDir / "Authorisation" / "Tasks_in_view.txt";
}

std::int32_t readTaskCounter(const fs::path& systemDir) {
    const auto lines = splitLines(readText(counterFile(systemDir)));
    return parseInt(lines.empty() ? Text() : lines.front());
}

void writeTaskCounter(const fs::path& systemDir, std::int32_t value) {
    writePieces(counterFile(systemDir), {std::to_string(value)});
}

// One number, one task: refuses a number that a folder of another part holds already.
static void refuseHeldElsewhere(const model::Task& task, const model::Olympiad& olympiad, Lang lang,
                                int treeFd = -1) {
    const auto place = olympiad.place(task.number);
    if (!place)
        return;
    if (const auto other =
            render::numberHeldElsewhere(olympiad.outputDir, task.number, place->folder, treeFd))
        throw Error(render::heldElsewhereRefusal(olympiad.outputDir, task.number, place->folder,
                                                 *other, lang));
}

// The write, under the tree's lock when `held` is given (the number was looked at under it
// already), else under a lock of its own.
static fs::path writeTaskIn(const model::Task& task, const model::Olympiad& olympiad,
                            const fs::path& systemDir, Lang lang,
                            std::optional<std::string> picture, const auth::Headers* headers,
                            const render::TemplateSet* templates, const TreeLock* held) {
    // A page without a picture refers to none: a picture given for it is not written.
    if (!task.picture)
        picture.reset();
    if (picture && !render::isJpeg(*picture))
        throw Error::refused(msg::task::notJpeg);
    render::Package package = render::renderTask(
        task, olympiad, templates ? *templates : render::TemplateSet::load(systemDir), lang,
        headers);
    package.picture = std::move(picture);
    const auto folder = package.folder;
    // One writer at a time: the tree first, then System_folder with the counter.
    std::optional<TreeLock> own;
    if (!held) {
        own.emplace(olympiad.outputDir);
        // Looked at under the lock: another program may have written the number meanwhile.
        refuseHeldElsewhere(task, olympiad, lang, own->folder());
    }
    const TreeLock& tree = held ? *held : *own;
    const TreeLock system(systemDir, TreeLock::Missing::Refuse);
    // The counter is read before anything is written, so that a counter that cannot be read
    // stops the run with the task tree unchanged.
    const std::int32_t count = readTaskCounter(systemDir);
    render::writePackage(olympiad.outputDir, std::move(package), tree.folder());
    writeTaskCounter(systemDir,
                     count < std::numeric_limits<std::int32_t>::max() ? count + 1 : count);
    return folder;
}

fs::path writeTask(const model::Task& task, const model::Olympiad& olympiad,
                   const fs::path& systemDir, Lang lang, std::optional<std::string> picture,
                   const auth::Headers* headers, const render::TemplateSet* templates) {
    return writeTaskIn(task, olympiad, systemDir, lang, std::move(picture), headers, templates,
                       nullptr);
}

// The question before replacing the package in the task's folder; none for a folder that
// holds none of the package files. The tree is locked before the folder is read, and stays
// locked (in `tree`) until the write: the task named is the one replaced.
static std::optional<Text> replaceQuestionOf(const model::Task& task,
                                             const model::Olympiad& olympiad,
                                             const render::TemplateSet& templates, Lang lang,
                                             std::optional<TreeLock>& tree) {
    const auto place = olympiad.place(task.number);
    if (!place || !render::holdsPackageFile(olympiad.outputDir / place->folder))
        return std::nullopt;
    tree.emplace(olympiad.outputDir);
    refuseHeldElsewhere(task, olympiad, lang, tree->folder());
    const auto state =
        render::replacedState(templates, olympiad, place->folder, task.number, lang, task.kind);
    const auto question = render::replaceQuestion(std::to_string(task.number), state, lang);
    return utf8ToCp1251(question, Unencodable::CharacterReference).value_or(question);
}

// Asks the questions before a write in their order; false once one is answered No. A
// replace question leaves the tree locked in `tree`.
static bool confirmed(const FormReading& reading, const render::TemplateSet& templates, Lang lang,
                      const ConfirmAdd& confirm, std::optional<TreeLock>& tree) {
    if (!confirm)
        return true;
    // A number held elsewhere is refused before the first question, since no answer could
    // make the write right; without a question the write's own look under the lock serves.
    bool looked = false;
    const auto ask = [&](AddQuestion kind, const Text& question) {
        if (!std::exchange(looked, true))
            refuseHeldElsewhere(reading.task, *reading.olympiad, lang);
        return confirm(kind, question);
    };
    // The text first: a teacher who goes back to mend it has not yet been asked to replace.
    if (const auto warnings = markupWarnings(reading.task, lang); !warnings.empty())
        if (!ask(AddQuestion::Markup, markupQuestion(warnings, lang)))
            return false;
    const auto question = replaceQuestionOf(reading.task, *reading.olympiad, templates, lang, tree);
    // The number was looked at under the lock already.
    looked = looked || tree.has_value();
    return !question || ask(AddQuestion::Replace, *question);
}

std::string writtenLine(const AddTaskResult& result, Lang lang) {
    std::string line = msg::task::written.utf8(lang, {std::to_string(result.number),
                                                      render::kindName(result.kind, lang),
                                                      result.folder.generic_string()});
    if (result.pictureMissing)
        line.append(". ").append(msg::task::pictureMissing.utf8(lang));
    return line;
}

std::string statusLine(const AddTaskResult& result, Lang lang) {
    if (result.written)
        return writtenLine(result, lang);
    if (result.showAuthorDialog)
        return std::string(msg::task::authorFirst.utf8(lang));
    return {};
}

AddTaskResult addTask(TaskForm& form, const AppValues& app, const ConfirmAdd& confirm) {
    const auto systemDir = app.ProgramDir / "System_folder";
    AddTaskResult result;
    const FormReading reading = readTaskForm(form, app.OutputDir, app.TaskTotal);
    result.message = checkForm(form, app.lang, app.TaskTotal);
    // A "1" anywhere in the author flag means the author's details are still missing.
    Text flag;
    try {
        flag = readText(systemDir / "Authorisation" / "save.txt");
    } catch (const Error& error) {
        if (result.message.empty())
            throw;
        result.failure = error.report(app.lang);
        return result;
    }
    result.showAuthorDialog = flag.find('1') != Text::npos;
    if (!result.message.empty() || result.showAuthorDialog || !reading.kindChosen)
        return result;
    if (reading.sizeError)
        throw *reading.sizeError;
    // One reading of the templates serves the question and the write.
    const auto templates = render::TemplateSet::load(systemDir);
    std::optional<TreeLock> tree;
    if (!confirmed(reading, templates, app.lang, confirm, tree)) {
        result.declined = true;
        return result;
    }

    emptyRemovedVariants(form);
    // The olympiad language of a typed answer follows its condition, and the form shows it
    // even when the run fails later.
    if (reading.task.kind == model::TaskKind::TypedAnswer) {
        form.RadioButton1 = render::isRussianCondition(form.Memo1);
        form.RadioButton2 = !form.RadioButton1;
    }
    result.folder = writeTaskIn(reading.task, *reading.olympiad, systemDir, app.lang, form.picture,
                                nullptr, &templates, tree ? &*tree : nullptr);
    tree.reset();
    result.written = true;
    result.kind = reading.task.kind;
    result.number = reading.task.number;
    result.pictureMissing =
        reading.task.picture && render::pictureMissing(app.OutputDir / result.folder);
    resetForm(form);
    return result;
}

} // namespace kavo::tasks
