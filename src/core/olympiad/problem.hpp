// SPDX-License-Identifier: MIT
#pragma once
// Reports of the olympiad file layer: a message of the table with its arguments, placed in
// the file (problems) or attached to a task (export losses).

#include "core/common/lang.hpp"

#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace kavo::olympiad {

// An argument of a message: a text as it stands (UTF-8) or a word of the table.
struct NoteArg {
    NoteArg(std::string text) : text(std::move(text)) {}
    NoteArg(const char* text) : text(text) {}
    NoteArg(const Message<>& word) : word(word) {}
    std::string in(Lang lang) const { return word ? word->utf8(lang) : text; }

    std::string text;
    std::optional<Message<>> word;
};

// A table message whose "%1", "%2" ... are replaced by the arguments. Made as
// {message, {arg1, arg2}}: a count of arguments other than the message's does not compile.
struct Note {
    struct NoArgs {};
    template <int N>
    Note(const Message<N>& message, NoteArg (&&arguments)[N])
        : what(message),
          args(std::make_move_iterator(arguments), std::make_move_iterator(arguments + N)) {}
    Note(const Message<>& message, NoArgs = {}) : what(message) {}

    MessageText what;
    std::vector<NoteArg> args;

    // The message in the interface language, arguments in place, UTF-8.
    std::string text(Lang lang) const;
};

// A place in the file: line and column from 1, the column counted in characters.
struct SourcePos {
    int line = 1;
    int column = 1;
    bool operator==(const SourcePos&) const = default;
};

// An error blocks the file; a question left out cannot become a task, and the others may
// still be written; a warning blocks nothing.
enum class Severity { Error, Warning, LeftOut };

struct Problem {
    Severity severity = Severity::Error;
    SourcePos pos;
    Note note;
};

// "FILE:3:7: error: text" (the form editors jump to), in the interface language, UTF-8.
std::string describe(const Problem& problem, Lang lang, const std::string& fileName);

std::size_t countErrors(const std::vector<Problem>& problems);
std::size_t countOf(const std::vector<Problem>& problems, Severity severity);

} // namespace kavo::olympiad
