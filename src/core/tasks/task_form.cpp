// SPDX-License-Identifier: MIT
#include "core/tasks/task_form.hpp"

#include "core/common/xml.hpp"

#include <algorithm>

namespace kavo::tasks {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

TaskForm makeStartForm() {
    TaskForm form;
    form.ListBox2.items = {"Yes", "No"};
    form.ListBox3.items = {"Yes", "No"};
    return form;
}

void resetForm(TaskForm& form) {
    auto& list = form.ListBox1;
    if (list.selected && *list.selected + 1 < static_cast<int>(list.items.size()))
        list.selected = *list.selected + 1;
    else
        list.selected.reset();
    form.ListBox2.selected = 1;
    form.ListBox3.selected = 1;
    form.CheckBox1 = form.CheckBox2 = form.CheckBox3 = false;
    for (Text* text :
         {&form.Memo1, &form.VariantOtveta_1, &form.VariantOtveta_2, &form.VariantOtveta_3,
          &form.VariantOtveta_4, &form.VariantOtveta_5, &form.Edit7, &form.Edit8, &form.Edit1})
        text->clear();
    form.picture.reset();
}

void emptyRemovedVariants(TaskForm& form) {
    if (form.CheckBox1)
        form.VariantOtveta_3.clear();
    if (form.CheckBox2)
        form.VariantOtveta_4.clear();
    if (form.CheckBox3)
        form.VariantOtveta_5.clear();
}

TaskForm taskFormOf(const model::Task& task, TaskForm form) {
    const int count = static_cast<int>(form.ListBox1.items.size());
    form.ListBox1.selected.reset();
    if (task.number >= 1 && task.number <= count)
        form.ListBox1.selected = task.number - 1;
    form.ListBox2.selected = task.picture ? 0 : 1;
    form.ListBox3.selected = model::isFolded(task.kind) ? 0 : 1;
    form.Memo1 = task.condition;

    Text* texts[] = {&form.VariantOtveta_1, &form.VariantOtveta_2, &form.VariantOtveta_3,
                     &form.VariantOtveta_4, &form.VariantOtveta_5};
    bool* removes[] = {nullptr, nullptr, &form.CheckBox1, &form.CheckBox2, &form.CheckBox3};
    for (int i = 0; i < model::VariantCount; ++i) {
        const bool shown = model::isChoice(task.kind) && task.variants[i].has_value();
        *texts[i] = shown ? *task.variants[i] : Text();
        if (removes[i])
            *removes[i] = model::isChoice(task.kind) && !shown;
    }

    form.Edit1.clear();
    if (model::isMultipleChoice(task.kind)) {
        // The comma makes it a multiple choice, even with one right variant ("b,").
        for (int i = 0; i < model::VariantCount; ++i)
            if (task.answers >> i & 1u) {
                if (!form.Edit1.empty())
                    form.Edit1 += ',';
                form.Edit1 += static_cast<char>('a' + i);
            }
        if (form.Edit1.find(',') == Text::npos)
            form.Edit1 += ',';
    } else if (task.kind == model::TaskKind::TypedAnswer) {
        form.Edit1 = task.typedAnswer;
    } else if (task.answer >= 0 && task.answer < model::VariantCount) {
        form.Edit1 = Text(1, static_cast<char>('a' + task.answer));
    }

    form.CheckBox4 = !task.names;
    form.Edit7 = task.names ? task.names->russian : Text();
    form.Edit8 = task.names ? task.names->english : Text();
    return form;
}

} // namespace kavo::tasks

namespace kavo::tasks {

namespace {

bool contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

bool isVariantLetter(char c) {
    return contains("abcdeABCDE", c);
}

model::TaskKind kindOf(bool multiple, bool folded, bool typed) {
    using model::TaskKind;
    if (multiple)
        return folded ? TaskKind::MultipleChoiceFolded : TaskKind::MultipleChoice;
    if (folded)
        return TaskKind::FoldedChoice;
    return typed ? TaskKind::TypedAnswer : TaskKind::SingleChoice;
}

// The letters a to e of an answer, in either case, as the bits of their variants.
unsigned answerLetters(std::string_view answer) {
    unsigned bits = 0;
    for (int i = 0; i < model::VariantCount; ++i)
        if (contains(answer, static_cast<char>('a' + i)) ||
            contains(answer, static_cast<char>('A' + i)))
            bits |= 1u << i;
    return bits;
}

} // namespace

Text answerIndex(std::string_view answer) {
    static constexpr std::string_view forms[5][3] = {
        {"a", "A", "1"}, {"b", "B", "2"}, {"c", "C", "3"}, {"d", "D", "4"}, {"e", "E", "5"}};
    for (int i = 0; i < 5; ++i)
        for (auto form : forms[i])
            if (answer == form)
                return std::to_string(i);
    return {};
}

char latinLookalike(char cp1251) {
    // а А В с С е Е in Windows-1251.
    static constexpr std::pair<unsigned char, char> lookalikes[] = {
        {0xE0, 'a'}, {0xC0, 'A'}, {0xC2, 'B'}, {0xF1, 'c'}, {0xD1, 'C'}, {0xE5, 'e'}, {0xC5, 'E'}};
    for (const auto& [cyrillic, latin] : lookalikes)
        if (static_cast<unsigned char>(cp1251) == cyrillic)
            return latin;
    return 0;
}

std::optional<AnswerFault> answerFault(std::string_view answer) {
    for (std::size_t i = 0; i < answer.size(); ++i) {
        const char c = answer[i];
        if (latinLookalike(c))
            return AnswerFault{Check::CyrillicLetter, c};
        // The first byte is the concern of checks 7 and 8.
        if (i > 0 && !isVariantLetter(c) && c != ',' && c != ' ')
            return AnswerFault{Check::AnswerCharacter, c};
    }
    if (answer.empty() || !isVariantLetter(answer.front()))
        return std::nullopt;
    if (!contains(answer, ','))
        return answer.size() == 1 ? std::nullopt : std::optional(AnswerFault{Check::NotOneVariant});
    unsigned seen = 0;
    bool letterInItem = false;
    for (const char c : answer) {
        if (c == ' ')
            continue;
        if (c == ',') {
            if (!letterInItem)
                return AnswerFault{Check::EmptyBetweenCommas, c};
            letterInItem = false;
            continue;
        }
        if (letterInItem)
            return AnswerFault{Check::CommaMissing, c};
        const char capital = c >= 'a' ? static_cast<char>(c - 32) : c;
        const unsigned bit = 1u << (capital - 'A');
        if (seen & bit)
            return AnswerFault{Check::LetterTwice, capital};
        seen |= bit;
        letterInItem = true;
    }
    return std::nullopt;
}

FormReading readTaskForm(const TaskForm& form, const std::filesystem::path& outputDir,
                         std::int64_t storedTotal) {
    FormReading reading;
    auto fail = [&](Check check) { reading.problems.push_back(check); };
    auto& task = reading.task;

    const bool typed = form.VariantOtveta_1.empty();
    const bool multiple = contains(form.Edit1, ',');
    const Text fold = form.ListBox3.selectedText();
    const bool folded = sameIgnoringCase(fold, "Yes");
    reading.kindChosen = multiple || folded || sameIgnoringCase(fold, "No");
    task.kind = kindOf(multiple, folded, typed);
    task.picture = sameIgnoringCase(form.ListBox2.selectedText(), "Yes");
    task.condition = form.Memo1;
    if (model::isChoice(task.kind)) {
        const Text* texts[] = {&form.VariantOtveta_1, &form.VariantOtveta_2, &form.VariantOtveta_3,
                               &form.VariantOtveta_4, &form.VariantOtveta_5};
        const bool removed[] = {false, false, form.CheckBox1, form.CheckBox2, form.CheckBox3};
        for (int i = 0; i < model::VariantCount; ++i)
            if (!removed[i])
                task.variants[i] = *texts[i];
    }
    const Text index = answerIndex(form.Edit1);
    task.answer = index.empty() ? -1 : index[0] - '0';
    task.answers = multiple ? answerLetters(form.Edit1) : 0;
    if (task.kind == model::TaskKind::TypedAnswer)
        task.typedAnswer = form.Edit1;
    if (!form.CheckBox4)
        task.names = model::OwnNames{form.Edit7, form.Edit8};
    task.number = form.ListBox1.selected.value_or(-1) + 1;

    try {
        model::Olympiad olympiad{
            outputDir, {parseInt(form.Edit2), parseInt(form.Edit3), parseInt(form.Edit4)}};
        // The texts, not their values: "00" keeps the part letter, as the headers had it.
        olympiad.identifiersWithoutPart = form.Edit3 == "0" && form.Edit4 == "0";
        if (form.ListBox1.hasSelection())
            parseInt(form.ListBox1.selectedText());
        reading.olympiad = olympiad;
    } catch (const Error& error) {
        reading.sizeError = error;
    }

    const char first = form.Edit1.empty() ? '\0' : form.Edit1.front();
    if (!form.ListBox1.hasSelection())
        fail(Check::NoTaskNumber);
    if (!form.ListBox2.hasSelection())
        fail(Check::NoPictureAnswer);
    if (form.Edit1.empty())
        fail(Check::NoAnswer);
    if (!form.ListBox3.hasSelection())
        fail(Check::NoFoldAnswer);
    if ((form.ListBox1.hasSelection() && *form.ListBox1.selected >= 99) || storedTotal > 99)
        fail(Check::TooManyTasks);
    if (typed && multiple)
        fail(Check::CommaInTypedAnswer);
    const bool notLatin = !typed && static_cast<unsigned char>(first) >= 0xC0;
    if (notLatin)
        fail(Check::NotLatin);
    if (!typed && !notLatin && !isVariantLetter(first))
        fail(Check::NotAtoE);
    if (!typed) {
        if (const auto fault = answerFault(form.Edit1))
            fail(fault->check);
    } else if (folded && !multiple && !form.Edit1.empty() && index.empty()) {
        // Folded answers without variant A still name one variant exactly.
        fail(Check::NotOneVariant);
    }
    return reading;
}

} // namespace kavo::tasks
