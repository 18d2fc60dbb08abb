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

bool isBlank(std::string_view pageText) {
    for (std::size_t i = 0; i < pageText.size();) {
        const auto rest = pageText.substr(i);
        if (std::string_view(" \t\r\n\xA0").find(rest.front()) != std::string_view::npos)
            ++i;
        else if (rest.starts_with("&nbsp;"))
            i += 6;
        else if (rest.starts_with("&#160;"))
            i += 6;
        else
            return false;
    }
    return true;
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
    if (task.kind != model::TaskKind::Edits && isBlank(task.condition))
        failed.push_back(Check::EmptyCondition);
    // An empty variant would be an empty answer button on the page, and could be scored.
    if (model::isChoice(task.kind))
        for (int i = 0; i < model::VariantCount; ++i)
            if (task.variants[i] && isBlank(*task.variants[i]))
                failed.push_back(static_cast<Check>(static_cast<int>(Check::EmptyVariantA) + i));
    return failed;
}

// A character of an answer as a message names it: 'f', or its code when it does not show.
static std::string named(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || byte == 0x98) {
        static constexpr char hex[] = "0123456789ABCDEF";
        return std::string("U+00") + hex[byte >> 4] + hex[byte & 15];
    }
    return "'" + std::string(1, c) + "'";
}

// The message of a fault that answerFault finds in the answer.
static Text answerMessage(std::string_view answer, Lang lang) {
    const auto fault = answerFault(answer);
    if (!fault)
        return {};
    const std::string c(1, fault->character);
    const std::string latin(1, latinLookalike(fault->character));
    switch (fault->check) {
    case Check::AnswerCharacter:
        return msg::task::answerCharacter.in(lang, {named(fault->character)});
    case Check::CyrillicLetter:
        return msg::task::cyrillicLetter.in(lang, {c, latin});
    case Check::CommaMissing:
        return msg::task::commaMissing.in(lang, {c});
    case Check::EmptyBetweenCommas:
        return msg::task::emptyBetweenCommas.in(lang);
    case Check::LetterTwice:
        return msg::task::letterTwice.in(lang, {c});
    default:
        return msg::task::notOneVariant.in(lang);
    }
}

Text checkMessages(std::vector<Check> failed, Lang lang, const model::Task* task,
                   std::string_view answer) {
    static constexpr const Message<>* texts[] = {
        &msg::task::noTaskNumber,
        &msg::task::noPictureAnswer,
        &msg::task::noAnswer,
        &msg::task::noFoldAnswer,
        &msg::task::tooManyTasks,
        &msg::task::commaInTypedAnswer,
        &msg::task::notLatin,
        &msg::task::notAtoE,
        &msg::task::notOneVariant,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        &msg::task::removedVariantNamed,
        &msg::task::outsideParts,
        &msg::task::noOwnNames,
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
        } else if (check >= Check::AnswerCharacter && check <= Check::LetterTwice) {
            message += answerMessage(answer, lang);
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
    return checkMessages(failed, lang, &reading.task, form.Edit1);
}

} // namespace kavo::tasks
