// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"

#include <string_view>

namespace kavo::tasks {

// A message of Add task in both interface languages (Windows-1251 bytes).
struct Message {
    std::string_view en;
    std::string_view ru;

    // English when lang is "En", Russian for any other value.
    std::string_view in(std::string_view lang) const { return lang == "En" ? en : ru; }
};

// The checks of the task form, in the order they run. Every text but the first begins
// with a line feed, so that the messages of one box stand on their own lines.
namespace messages {
extern const Message noTaskNumber;
extern const Message noPictureAnswer;
extern const Message noAnswer;
extern const Message noFoldAnswer;
extern const Message tooManyTasks;
extern const Message commaInTypedAnswer;
extern const Message notLatin;
extern const Message notAtoE;
extern const Message notOneVariant;
extern const Message removedVariantNamed;
extern const Message outsideParts;
extern const Message noOwnNames;
} // namespace messages

// The error report (UTF-8, like every kavo::Error) on a description template too short
// for the identifier overwrite.
std::string shortDescriptionReport(std::string_view lang, std::string_view file,
                                   std::size_t minimum);

} // namespace kavo::tasks
