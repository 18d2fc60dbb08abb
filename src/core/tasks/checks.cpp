// SPDX-License-Identifier: MIT
#include "core/tasks/checks.hpp"

#include "core/common/error.hpp"
#include "core/tasks/messages.hpp"
#include "core/tasks/package.hpp"

#include <algorithm>
#include <array>

namespace kavo::tasks {

static bool contains(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

std::optional<TemplateKind> chooseTemplate(const TaskForm& form) {
    const Text fold = form.ListBox3.selectedText();
    const bool folded = sameIgnoringCase(fold, "Yes");
    if (contains(form.Edit1, ","))
        return folded ? TemplateKind::MultipleChoiceSpoiler : TemplateKind::MultipleChoice;
    if (folded)
        return TemplateKind::Spoiler;
    if (sameIgnoringCase(fold, "No"))
        return form.VariantOtveta_1.empty() ? TemplateKind::Edit : TemplateKind::Radio;
    return std::nullopt;
}

static bool isCyrillic(char c) {
    return static_cast<unsigned char>(c) >= 0xC0;
}

static bool isVariantLetter(char c) {
    return contains("abcdeABCDE", std::string_view(&c, 1));
}

// Whether the answer names a variant that the form removes: the index of a single answer,
// or any letter, in either case, of a multiple-choice answer.
static bool namesRemovedVariant(const TaskForm& form, bool multipleChoice) {
    struct Removal {
        bool set;
        char lower, upper, index;
    };
    const std::array<Removal, 3> removals{{{form.CheckBox1, 'c', 'C', '2'},
                                           {form.CheckBox2, 'd', 'D', '3'},
                                           {form.CheckBox3, 'e', 'E', '4'}}};
    const Text index = answerIndex(form.Edit1);
    return std::any_of(removals.begin(), removals.end(), [&](const Removal& r) {
        if (!r.set)
            return false;
        if (multipleChoice)
            return contains(form.Edit1, std::string_view(&r.lower, 1)) ||
                   contains(form.Edit1, std::string_view(&r.upper, 1));
        return index == std::string_view(&r.index, 1);
    });
}

// Whether the task number lies in no part; unknown (false) while the number or a size is
// not an integer, which the writer then reports.
static bool outsideParts(const TaskForm& form) {
    if (!form.ListBox1.hasSelection())
        return false;
    try {
        return !locateTask(form, {}).place;
    } catch (const Error&) {
        return false;
    }
}

Text checkForm(const TaskForm& form, std::string_view lang, std::int64_t taskTotal) {
    Text message;
    auto fail = [&](const Message& m) { message += m.in(lang); };

    const bool typed = form.VariantOtveta_1.empty();
    const char first = form.Edit1.empty() ? '\0' : form.Edit1.front();

    if (!form.ListBox1.hasSelection())
        fail(messages::noTaskNumber);
    if (!form.ListBox2.hasSelection())
        fail(messages::noPictureAnswer);
    if (form.Edit1.empty())
        fail(messages::noAnswer);
    if (!form.ListBox3.hasSelection())
        fail(messages::noFoldAnswer);
    if ((form.ListBox1.hasSelection() && *form.ListBox1.selected >= 99) || taskTotal > 99)
        fail(messages::tooManyTasks);
    if (typed && contains(form.Edit1, ","))
        fail(messages::commaInTypedAnswer);
    const bool notLatin = !typed && isCyrillic(first);
    if (notLatin)
        fail(messages::notLatin);
    const bool notAtoE = !typed && !notLatin && !isVariantLetter(first);
    if (notAtoE)
        fail(messages::notAtoE);

    // An answer of several letters goes to the multiple-choice writer; one of a task with
    // variants, folded or not, must name exactly one variant.
    const bool multipleChoice = contains(form.Edit1, ",");
    const bool folded = sameIgnoringCase(form.ListBox3.selectedText(), "Yes");
    const bool singleChoice = !multipleChoice && (folded || !typed);
    if (singleChoice && !form.Edit1.empty() && !notLatin && !notAtoE &&
        answerIndex(form.Edit1).empty())
        fail(messages::notOneVariant);
    if ((singleChoice || (multipleChoice && !typed)) && namesRemovedVariant(form, multipleChoice))
        fail(messages::removedVariantNamed);
    if (outsideParts(form))
        fail(messages::outsideParts);
    // Without the default names the description would carry a task without a name.
    if (!form.CheckBox4 && (form.Edit7.empty() || form.Edit8.empty()))
        fail(messages::noOwnNames);
    return message;
}

} // namespace kavo::tasks
