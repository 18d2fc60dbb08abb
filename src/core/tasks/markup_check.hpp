// SPDX-License-Identifier: MIT
#pragma once
// Page text in which a "<" may not show as typed: the browser takes it for the start of a
// tag ("x <y" loses "<y").

#include "core/common/lang.hpp"
#include "core/model/task.hpp"

#include <string_view>
#include <vector>

namespace kavo::tasks {

// A "<" of page text that begins no known HTML element, comment or server tag, or whose tag
// has no closing ">": the position of the "<" in the text. "<!" other than a comment
// ("<!DOCTYPE", "<!b>") is listed too. A "<" followed by a blank, a digit or any other
// character that cannot begin a tag shows as typed and is not listed.
std::vector<std::size_t> strayLessThan(std::string_view text);

struct MarkupWarning {
    Text field; // the field as the teacher knows it, in the interface language
    Text text;  // the stretch of text around the "<"
};

// The page texts of a task (condition, variants, Edits sub-questions) with a stray "<".
std::vector<MarkupWarning> markupWarnings(const model::Task& task, Lang lang);
// The same with the condition given apart (the task's own is not looked at).
std::vector<MarkupWarning> markupWarnings(const model::Task& task, std::string_view condition,
                                          Lang lang);

// The one question that lists every warning of a run; No is the default answer.
Text markupQuestion(const std::vector<MarkupWarning>& warnings, Lang lang);

} // namespace kavo::tasks
