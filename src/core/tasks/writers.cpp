// SPDX-License-Identifier: MIT
#include "core/tasks/writers.hpp"

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

Pieces variantBlocksPage(const TaskForm& form, const std::vector<Text>& t) {
    return {pageOpening(form, t[0], t[1]),
            form.Memo1,
            t[5],
            form.VariantOtveta_1,
            t[2],
            form.VariantOtveta_2,
            t[3],
            form.VariantOtveta_3,
            t[4],
            form.VariantOtveta_4,
            t[6],
            form.VariantOtveta_5,
            t[7]};
}

} // namespace kavo::tasks
