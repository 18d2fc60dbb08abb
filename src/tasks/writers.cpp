// SPDX-License-Identifier: MIT
#include "tasks/writers.hpp"

#include <array>
#include <utility>

namespace kavo::tasks {

Writer writerFor(TemplateKind kind) {
    static constexpr std::array<std::pair<TemplateKind, Writer>, 5> writers{{
        {TemplateKind::Radio, writeRadio},
        {TemplateKind::Edit, writeEdit},
        {TemplateKind::Spoiler, writeSpoiler},
        {TemplateKind::MultipleChoice, writeMultipleChoice},
        {TemplateKind::MultipleChoiceSpoiler, writeMultipleChoiceSpoiler},
    }};
    for (const auto& [k, writer] : writers)
        if (k == kind)
            return writer;
    return nullptr;
}

const Text& pageOpening(const TaskForm& form, const Text& withPicture, const Text& noPicture) {
    return sameIgnoringCase(form.ListBox2.selectedText(), "Yes") ? withPicture : noPicture;
}

} // namespace kavo::tasks
