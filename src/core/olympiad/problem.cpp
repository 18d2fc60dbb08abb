// SPDX-License-Identifier: MIT
#include "core/olympiad/problem.hpp"

#include "core/common/messages.hpp"

#include <algorithm>

namespace kavo::olympiad {

std::string Note::text(Lang lang) const {
    std::vector<std::string> texts;
    for (const auto& arg : args)
        texts.push_back(arg.in(lang));
    std::vector<std::string_view> views(texts.begin(), texts.end());
    // Nine arguments at most, as the table's "%1" .. "%9".
    views.resize(9);
    return substitute(what.utf8(lang), {views[0], views[1], views[2], views[3], views[4], views[5],
                                        views[6], views[7], views[8]});
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
