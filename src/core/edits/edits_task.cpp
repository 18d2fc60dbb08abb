// SPDX-License-Identifier: MIT
#include "core/edits/edits_task.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/common/xml.hpp"
#include "core/render/task_state.hpp"
#include "core/render/task_tree.hpp"
#include "core/tasks/markup_check.hpp"

namespace fs = std::filesystem;

namespace kavo::edits {

namespace {

EditsSaveResult refusal(Text message) {
    EditsSaveResult result;
    result.message = std::move(message);
    return result;
}

constexpr Text EditsForm::*questions[] = {&EditsForm::Memo2, &EditsForm::Memo3, &EditsForm::Memo4,
                                          &EditsForm::Memo5};
constexpr std::optional<Text> EditsForm::*answers[] = {&EditsForm::Edit1, &EditsForm::Edit2,
                                                       &EditsForm::Edit3, &EditsForm::Edit4};

} // namespace

EditsTemplates readEditsTemplates(const fs::path& programDir) {
    return render::readEditsTemplates(programDir / "System_folder");
}

int subQuestionCount(bool removeC, bool removeD) {
    if (removeC)
        return removeD ? 2 : 0;
    return removeD ? 3 : 4;
}

model::Task editsTask(const EditsForm& form) {
    model::Task task;
    task.kind = model::TaskKind::Edits;
    task.condition = form.Memo1;
    const int count = subQuestionCount(form.CheckBox1, form.CheckBox2);
    task.subQuestions.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        task.subQuestions.push_back({form.*questions[i], (form.*answers[i]).value_or(Text())});
    task.title = form.Edit6;
    task.folder = form.Edit5.value_or(Text());
    return task;
}

EditsForm editsFormOf(const model::Task& task) {
    EditsForm form;
    form.Memo1 = task.condition;
    const std::size_t count = std::min<std::size_t>(task.subQuestions.size(), 4);
    for (std::size_t i = 0; i < count; ++i) {
        form.*questions[i] = task.subQuestions[i].question;
        form.*answers[i] = task.subQuestions[i].answer;
    }
    form.CheckBox1 = count <= 2;
    form.CheckBox2 = count <= 3;
    form.Edit5 = task.folder;
    form.Edit6 = task.title;
    return form;
}

namespace {

// checkEditsTask for a task whose folder is known to lie in the tree or not.
Text checkEdits(const model::Task& task, bool folderInTree, Lang lang) {
    if (task.folder.empty())
        return msg::edits::noNumber.in(lang);
    if (!folderInTree)
        return msg::edits::badFolder.in(lang);
    Text refused;
    if (task.condition.empty())
        refused += msg::edits::emptyCondition.in(lang);
    if (task.title.empty())
        refused += msg::edits::emptyName.in(lang);
    else if (const auto invalid = refuseFieldText(TextField::EditsName, task.title))
        refused += msg::edits::invalidName.in(lang, {invalid->description});
    refused += checkTaskTexts(task, lang);
    for (std::size_t i = 0; i < task.subQuestions.size(); ++i) {
        const std::string letter(1, static_cast<char>('A' + i));
        if (task.subQuestions[i].question.empty())
            refused += (i < 2 ? msg::edits::emptyKeptQuestion : msg::edits::emptyQuestion)
                           .in(lang, {letter});
        if (task.subQuestions[i].answer.empty())
            refused += msg::edits::emptyAnswer.in(lang, {letter});
    }
    return refused;
}

} // namespace

Text checkEditsTask(const model::Task& task, const model::Olympiad& olympiad, Lang lang) {
    return checkEdits(task, !task.folder.empty() && olympiad.editsFolder(task.folder), lang);
}

EditsSaveResult saveEditsTask(EditsForm& form, const EditsTemplates& templates,
                              const model::Olympiad& olympiad, Lang lang,
                              const EditsQuestions& ask) {
    const int count = subQuestionCount(form.CheckBox1, form.CheckBox2);
    if ((form.Edit5 && form.Edit5->empty()) || count == 0)
        return refusal(msg::edits::noNumber.in(lang));
    if (!form.Edit5)
        return refusal(msg::edits::badFolder.in(lang));

    const model::Task task = editsTask(form);
    const auto folder = task.folder.empty() ? std::nullopt : olympiad.editsFolder(task.folder);
    Text refused = checkEdits(task, folder.has_value(), lang);
    // An answer the code page cannot hold reaches the task empty: say why instead.
    for (int i = 0; i < count; ++i)
        if (!(form.*answers[i]))
            refused = replaceAll(
                refused, msg::edits::emptyAnswer.in(lang, {std::string(1, char('A' + i))}),
                msg::edits::unencodableAnswer.in(lang, {std::string(1, char('A' + i))}));
    if (!refused.empty())
        return refusal(refused);

    // One number, one task: a number held by a folder of another part is refused before the
    // first question, since no answer could make the write right, and under the lock.
    const fs::path where = olympiad.outputDir / *folder;
    const auto number = render::folderNumber(*folder);
    const auto heldElsewhere = [&](int treeFd = -1) -> std::optional<Text> {
        if (!number)
            return std::nullopt;
        const auto other =
            render::numberHeldElsewhere(olympiad.outputDir, *number, *folder, treeFd);
        if (!other)
            return std::nullopt;
        const auto text =
            "\n" + render::heldElsewhereRefusal(olympiad.outputDir, *number, *folder, *other, lang);
        return utf8ToCp1251(text, Unencodable::CharacterReference).value_or(text);
    };
    std::optional<std::optional<Text>> looked;
    const auto refusedBeforeAsking = [&] {
        if (!looked)
            looked = heldElsewhere();
        return looked->has_value();
    };

    // The markup is looked at only for a question that can be asked.
    if (const auto warnings =
            ask.markup ? tasks::markupWarnings(task, lang) : std::vector<tasks::MarkupWarning>{};
        !warnings.empty()) {
        if (refusedBeforeAsking())
            return refusal(**looked);
        if (!ask.markup(tasks::markupQuestion(warnings, lang)))
            return {};
    }
    const std::string typed = cp1251ToUtf8(task.folder);
    // The tree is locked from the replace question on: the task named in the question is the
    // one replaced, and no other program writes the number between the answer and the write.
    std::optional<TreeLock> tree;
    if (ask.replace && render::holdsPackageFile(where)) {
        tree.emplace(olympiad.outputDir);
        if (auto refused = heldElsewhere(tree->folder()))
            return refusal(std::move(*refused));
        // Read back with the templates the builder writes with; a folder of another kind is
        // named from all of them.
        const auto state =
            render::replacedState(render::TemplateSet::withEdits(ask.systemDir, templates),
                                  olympiad, *folder, std::nullopt, lang, model::TaskKind::Edits);
        if (!ask.replace(render::replaceQuestion(typed, state, lang)))
            return {};
    }
    if (!tree) {
        tree.emplace(olympiad.outputDir);
        // Looked at (again) under the lock: another program may have written the number.
        if (auto refused = heldElsewhere(tree->folder()))
            return refusal(std::move(*refused));
    }
    render::writePackage(olympiad.outputDir, render::renderEdits(task, templates, *folder),
                         tree->folder());
    tree.reset();
    form = EditsForm{};
    EditsSaveResult result;
    result.written = true;
    result.taskFolder = where;
    result.status = msg::edits::written.utf8(
        lang, {typed, render::kindName(model::TaskKind::Edits, lang), folder->generic_string()});
    return result;
}

} // namespace kavo::edits
