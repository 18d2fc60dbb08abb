// SPDX-License-Identifier: MIT
#include "core/olympiad/problem.hpp"

#include "core/common/messages.hpp"

#include <algorithm>

namespace kavo::olympiad {

std::string Note::text(Lang lang) const {
    std::vector<std::string> texts;
    for (const auto& arg : args)
        texts.push_back(arg.in(lang));
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    return substitute(what.pattern(lang), views);
}

std::string describe(const Problem& problem, Lang lang, const std::string& fileName) {
    const auto& kind = problem.severity == Severity::Error     ? kavo::msg::olympiad::error
                       : problem.severity == Severity::LeftOut ? kavo::msg::olympiad::leftOut
                                                               : kavo::msg::olympiad::warning;
    return fileName + ":" + std::to_string(problem.pos.line) + ":" +
           std::to_string(problem.pos.column) + ": " + std::string(kind.utf8(lang)) + ": " +
           problem.note.text(lang);
}

std::size_t countErrors(const std::vector<Problem>& problems) {
    return countOf(problems, Severity::Error);
}

std::size_t countOf(const std::vector<Problem>& problems, Severity severity) {
    return static_cast<std::size_t>(
        std::count_if(problems.begin(), problems.end(),
                      [severity](const Problem& p) { return p.severity == severity; }));
}

} // namespace kavo::olympiad
