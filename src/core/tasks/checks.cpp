// SPDX-License-Identifier: MIT
#include "core/tasks/checks.hpp"

#include "core/common/field_text.hpp"
#include "core/common/messages.hpp"
#include "core/common/xml.hpp"

#include <algorithm>
#include <string>

namespace kavo::tasks {

using model::Task;

static bool namesRemovedVariant(const Task& task) {
    if (model::isMultipleChoice(task.kind)) {
        // A multiple choice without variant A is refused for its comma already.
        if (task.variants[0] && task.variants[0]->empty())
            return false;
        for (int i = 0; i < model::VariantCount; ++i)
            if ((task.answers >> i & 1u) && !task.variants[i])
                return true;
        return false;
    }
    return model::isChoice(task.kind) && task.answer >= 0 && task.answer < model::VariantCount &&
           !task.variants[task.answer];
}

std::vector<Check> checkTask(const Task& task, const model::Olympiad* olympiad) {
    std::vector<Check> failed;
    if (task.kind != model::TaskKind::Edits && task.number > 99)
        failed.push_back(Check::TooManyTasks);
    if (namesRemovedVariant(task))
        failed.push_back(Check::RemovedVariantNamed);
    if (olympiad && task.kind != model::TaskKind::Edits && task.number >= 1 &&
        !olympiad->place(task.number))
        failed.push_back(Check::OutsideParts);
    // Without the default names the description would carry a task without a name.
    if (task.names && (task.names->russian.empty() || task.names->english.empty()))
        failed.push_back(Check::NoOwnNames);
    if (task.names && refuseFieldText(TextField::RussianName, task.names->russian))
        failed.push_back(Check::InvalidRussianName);
    if (task.names && refuseFieldText(TextField::EnglishName, task.names->english))
        failed.push_back(Check::InvalidEnglishName);
    if (!checkTaskTexts(task, Lang::English).empty())
        failed.push_back(Check::RefusedCharacter);
    if (task.kind != model::TaskKind::Edits && task.condition.empty())
        failed.push_back(Check::EmptyCondition);
    // An empty variant would be an empty answer button on the page, and could be scored.
    if (model::isChoice(task.kind))
        for (int i = 0; i < model::VariantCount; ++i)
            if (task.variants[i] && task.variants[i]->empty())
                failed.push_back(static_cast<Check>(static_cast<int>(Check::EmptyVariantA) + i));
    return failed;
}

Text checkMessages(std::vector<Check> failed, Lang lang, const model::Task* task) {
    static constexpr const Message* texts[] = {
        &msg::task::noTaskNumber,  &msg::task::noPictureAnswer,
        &msg::task::noAnswer,      &msg::task::noFoldAnswer,
        &msg::task::tooManyTasks,  &msg::task::commaInTypedAnswer,
        &msg::task::notLatin,      &msg::task::notAtoE,
        &msg::task::notOneVariant, &msg::task::removedVariantNamed,
        &msg::task::outsideParts,  &msg::task::noOwnNames,
    };
    std::sort(failed.begin(), failed.end());
    failed.erase(std::unique(failed.begin(), failed.end()), failed.end());
    Text message;
    for (const Check check : failed) {
        const int index = static_cast<int>(check);
        if (check == Check::InvalidRussianName || check == Check::InvalidEnglishName) {
            const bool russian = check == Check::InvalidRussianName;
            const auto invalid =
                task && task->names
                    ? refuseFieldText(russian ? TextField::RussianName : TextField::EnglishName,
                                      russian ? task->names->russian : task->names->english)
                    : std::nullopt;
            message += (russian ? msg::task::invalidRussianName : msg::task::invalidEnglishName)
                           .in(lang, {invalid ? invalid->description : std::string()});
        } else if (check == Check::RefusedCharacter) {
            message += task ? checkTaskTexts(*task, lang) : Text();
        } else if (check >= Check::EmptyVariantA) {
            const int variant = index - static_cast<int>(Check::EmptyVariantA);
            const auto& text =
                variant < 2 ? msg::task::emptyKeptVariant : msg::task::emptyRemovableVariant;
            message += text.in(lang, {std::string(1, static_cast<char>('A' + variant))});
        } else if (check == Check::EmptyCondition) {
            message += msg::task::emptyCondition.in(lang);
        } else {
            message += texts[index]->in(lang);
        }
    }
    return message;
}

Text checkForm(const TaskForm& form, Lang lang, std::int64_t taskTotal) {
    const FormReading reading = readTaskForm(form, {}, taskTotal);
    auto failed = reading.problems;
    // The part rule needs a selected number and sizes that are whole numbers.
    const bool placeKnown = reading.olympiad && form.ListBox1.hasSelection();
    const auto taskRules = checkTask(reading.task, placeKnown ? &*reading.olympiad : nullptr);
    failed.insert(failed.end(), taskRules.begin(), taskRules.end());
    return checkMessages(failed, lang, &reading.task);
}

} // namespace kavo::tasks
