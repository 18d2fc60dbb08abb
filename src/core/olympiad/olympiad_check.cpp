// SPDX-License-Identifier: MIT
#include "core/olympiad/olympiad_check.hpp"

#include <algorithm>
#include <array>

namespace kavo::olympiad {

std::optional<AnswerBunching> answersBunched(const std::vector<model::Task>& tasks) {
    std::array<int, model::VariantCount> perVariant{};
    int singleChoice = 0;
    for (const auto& task : tasks) {
        if (task.kind != model::TaskKind::SingleChoice &&
            task.kind != model::TaskKind::FoldedChoice)
            continue;
        if (task.answer < 0 || task.answer >= model::VariantCount)
            continue;
        ++perVariant[static_cast<std::size_t>(task.answer)];
        ++singleChoice;
    }
    const auto most = std::max_element(perVariant.begin(), perVariant.end());
    if (singleChoice < 4 || *most * 2 <= singleChoice)
        return std::nullopt;
    return AnswerBunching{static_cast<int>(most - perVariant.begin()), *most, singleChoice};
}

} // namespace kavo::olympiad
