// SPDX-License-Identifier: MIT
#include "core/model/task.hpp"

#include "core/common/codepage.hpp"

#include <algorithm>
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

static bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::optional<std::filesystem::path> Olympiad::editsFolder(std::string_view typed) const {
    const bool plainNumber =
        !typed.empty() && typed.size() <= 2 &&
        std::all_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (plainNumber && typed.front() != '0')
        if (const auto taskPlace = place(std::stoi(std::string(typed))))
            return taskPlace->folder;
    // A NUL would cut the path short; no control character belongs in a folder name.
    if (std::any_of(typed.begin(), typed.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return std::nullopt;
    // Windows-1251 text to a path the file system names (UTF-8 here).
    const std::string utf8 = cp1251ToUtf8(typed);
    if (utf8.empty() || isSeparator(utf8.front()))
        return std::nullopt;
    if (utf8.size() >= 2 && utf8[1] == ':' &&
        ((utf8[0] >= 'A' && utf8[0] <= 'Z') || (utf8[0] >= 'a' && utf8[0] <= 'z')))
        return std::nullopt;
    std::filesystem::path fragment;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = start;
        while (end < utf8.size() && !isSeparator(utf8[end]))
            ++end;
        const std::string_view component(utf8.data() + start, end - start);
        if (component == "." || component == "..")
            return std::nullopt;
        if (!component.empty())
            fragment /= std::filesystem::path(std::u8string(component.begin(), component.end()));
        start = end + 1;
    }
    if (fragment.empty())
        return std::nullopt;
    return fragment;
}

} // namespace kavo::model
