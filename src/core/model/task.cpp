// SPDX-License-Identifier: MIT
#include "core/model/task.hpp"

#include <string>

namespace kavo::model {

bool isChoice(TaskKind kind) {
    return kind != TaskKind::TypedAnswer && kind != TaskKind::Edits;
}

bool isMultipleChoice(TaskKind kind) {
    return kind == TaskKind::MultipleChoice || kind == TaskKind::MultipleChoiceFolded;
}

bool isFolded(TaskKind kind) {
    return kind == TaskKind::FoldedChoice || kind == TaskKind::MultipleChoiceFolded;
}

std::optional<TaskPlace> Olympiad::place(std::int64_t n) const {
    const std::int64_t a = sizes.a, b = sizes.b, c = sizes.c, total = sizes.total();
    const std::filesystem::path name = std::to_string(n);
    if ((b >= 1 || c >= 1) && 1 <= n && n <= a)
        return TaskPlace{"PartA" / name, std::nullopt};
    if (b == 0 && c == 0)
        return TaskPlace{name, std::nullopt};
    if (a + 1 <= n && n <= total - c)
        return TaskPlace{"PartB" / name, 'B'};
    if (total - c + 1 <= n && n <= total)
        return TaskPlace{"PartC" / name, 'C'};
    return std::nullopt;
}

} // namespace kavo::model
