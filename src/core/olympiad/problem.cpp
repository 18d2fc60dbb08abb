// SPDX-License-Identifier: MIT
#include "core/olympiad/problem.hpp"

#include <algorithm>

namespace kavo::olympiad {

std::string Note::text(Lang lang) const {
    const std::string_view pattern = what.utf8(lang);
    std::string out;
    out.reserve(pattern.size() + 32);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        // "{N}" with one digit N names argument N; anything else is copied.
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
            pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size())
                out += args[n].in(lang);
            i += 2;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

std::string describe(const Problem& problem, Lang lang, const std::string& fileName) {
    static constexpr Message error{"error", "ошибка"};
    static constexpr Message warning{"warning", "предупреждение"};
    const auto& kind = problem.severity == Severity::Error ? error : warning;
    return fileName + ":" + std::to_string(problem.pos.line) + ":" +
           std::to_string(problem.pos.column) + ": " + std::string(kind.utf8(lang)) + ": " +
           problem.note.text(lang);
}

std::size_t countErrors(const std::vector<Problem>& problems) {
    return static_cast<std::size_t>(
        std::count_if(problems.begin(), problems.end(),
                      [](const Problem& p) { return p.severity == Severity::Error; }));
}

} // namespace kavo::olympiad
