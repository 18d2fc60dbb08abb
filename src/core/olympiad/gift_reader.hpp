// SPDX-License-Identifier: MIT
#pragma once
// GIFT syntax as Moodle reads it, with the places of every part: questions separated by
// blank lines, // comments, ::titles::, [formats], one answer block, \ escapes, and the
// "// kavo:" option lines of our extension.

#include "core/olympiad/problem.hpp"
#include "core/olympiad/source_text.hpp"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kavo::olympiad {

enum class TextFormat { Moodle, Html, Plain, Markdown };

// A text with its escapes resolved (UTF-8, '\n' breaks), its format and its place.
struct GiftText {
    std::string text;
    TextFormat format = TextFormat::Moodle;
    SourcePos pos;
};

struct GiftAnswer {
    char marker = '='; // '=' right, '~' other; 0 for a bare typed answer
    std::optional<double> weight;
    GiftText text;
    SourcePos pos;
};

enum class AnswerKind { None, Essay, Numeric, Matching, TrueFalse, Choice, Short };

// One "// kavo:" option: a word (folded) or a word with a value (number=5, name-ru="...").
struct KavoOption {
    std::string key;
    std::optional<std::string> value;
    SourcePos pos;
};

struct GiftQuestion {
    SourcePos pos; // the first character of the question
    std::vector<KavoOption> options;
    std::optional<std::string> title;
    SourcePos titlePos;
    GiftText stem; // an embedded block leaves "_____" in its place
    AnswerKind kind = AnswerKind::None;
    SourcePos blockPos;
    bool truth = false; // true/false questions
    std::vector<GiftAnswer> answers;
    bool feedback = false; // the file gave feedback, which a task cannot hold
};

struct GiftCategory {
    std::string path;
    SourcePos pos;
};

using GiftItem = std::variant<GiftQuestion, GiftCategory>;

// Every question and category of the text in order; syntax errors go to problems and
// the question they spoil is left out.
std::vector<GiftItem> readGift(const SourceText& source, std::vector<Problem>& problems);

// Parses the part after "// kavo:" of a comment line; offset is where it starts.
std::vector<KavoOption> parseKavoOptions(const SourceText& source, std::size_t offset,
                                         std::size_t end, std::vector<Problem>& problems);

} // namespace kavo::olympiad
