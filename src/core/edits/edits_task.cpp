// SPDX-License-Identifier: MIT
#include "core/edits/edits_task.hpp"

#include "core/common/messages.hpp"

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
    for (int i = 0; i < count; ++i)
        task.subQuestions.push_back({form.*questions[i], (form.*answers[i]).value_or(Text())});
    task.title = form.Edit6;
    task.folder = form.Edit5.value_or(Text());
    return task;
}

EditsSaveResult saveEditsTask(EditsForm& form, const EditsTemplates& templates,
                              const model::Olympiad& olympiad, Lang lang) {
    const int count = subQuestionCount(form.CheckBox1, form.CheckBox2);
    if ((form.Edit5 && form.Edit5->empty()) || count == 0)
        return refusal(msg::edits::noNumber.in(lang));
    const auto folder = form.Edit5 ? olympiad.editsFolder(*form.Edit5) : std::nullopt;
    if (!folder)
        return refusal(msg::edits::badFolder.in(lang));

    // Nothing left empty that the page or the scoring would show as an empty question.
    Text refused;
    if (form.Memo1.empty())
        refused += msg::edits::emptyCondition.in(lang);
    if (form.Edit6.empty())
        refused += msg::edits::emptyName.in(lang);
    for (int i = 0; i < count; ++i) {
        const std::string letter(1, static_cast<char>('A' + i));
        if ((form.*questions[i]).empty())
            refused += (i < 2 ? msg::edits::emptyKeptQuestion : msg::edits::emptyQuestion)
                           .in(lang, {letter});
        if (!(form.*answers[i]))
            refused += msg::edits::unencodableAnswer.in(lang, {letter});
        else if ((form.*answers[i])->empty())
            refused += msg::edits::emptyAnswer.in(lang, {letter});
    }
    if (!refused.empty())
        return refusal(refused);

    render::writePackage(olympiad.outputDir,
                         render::renderEdits(editsTask(form), templates, *folder));
    form = EditsForm{};
    EditsSaveResult result;
    result.written = true;
    result.taskFolder = olympiad.outputDir / *folder;
    return result;
}

} // namespace kavo::edits
