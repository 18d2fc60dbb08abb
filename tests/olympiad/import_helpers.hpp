// SPDX-License-Identifier: MIT
#pragma once
// Shared by the olympiad tests: problems as comparable rows.

#include "core/olympiad/gift_import.hpp"

#include <string>
#include <tuple>
#include <vector>

namespace kavo::test {

// (line, column, English text) of each problem of one severity.
using Row = std::tuple<int, int, std::string>;

inline std::vector<Row> rows(const olympiad::OlympiadImport& imported,
                             olympiad::Severity severity) {
    std::vector<Row> out;
    for (const auto& p : imported.problems)
        if (p.severity == severity)
            out.emplace_back(p.pos.line, p.pos.column, p.note.text(Lang::English));
    return out;
}

inline std::vector<Row> errors(const olympiad::OlympiadImport& imported) {
    return rows(imported, olympiad::Severity::Error);
}

inline std::vector<Row> warnings(const olympiad::OlympiadImport& imported) {
    return rows(imported, olympiad::Severity::Warning);
}

inline std::vector<Row> leftOut(const olympiad::OlympiadImport& imported) {
    return rows(imported, olympiad::Severity::LeftOut);
}

// A message of the table in English, as a row holds it.
inline std::string en(const Message<>& m) {
    return olympiad::Note{m}.text(Lang::English);
}

template <int N> std::string en(const Message<N>& m, olympiad::NoteArg (&&args)[N]) {
    return olympiad::Note{m, std::move(args)}.text(Lang::English);
}

} // namespace kavo::test
