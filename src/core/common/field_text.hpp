// SPDX-License-Identifier: MIT
#pragma once
// Which characters each text of a task may hold, decided once for every door (the forms,
// the code review, the imports, the command line): page text must survive the page, an
// XML field task.xml, and an answer the scoring file that compares it byte for byte.

#include "core/common/lang.hpp"
#include "core/common/xml.hpp"

#include <optional>
#include <string_view>
#include <variant>

namespace kavo {

namespace model {
struct Task;
}

enum class TextField {
    Condition,      // page text
    Variant,        // page text
    TypedAnswer,    // task.out
    EditsCondition, // page text
    SubQuestion,    // page text
    SubAnswer,      // task.out
    EditsName,      // task.xml
    RussianName,    // task.xml
    EnglishName,    // task.xml
    AuthorLine,     // task.xml, through the description headers (an attribute there may hold it)
};

// The first character of Windows-1251 program text that the field may not hold, or none.
// Page text: no control character but TAB, CR and LF, no non-character, judged on the
// character a numeric reference names (&#65;, &#x41;, &#X41;, &#0065;; &#0; and
// &#x110000; name none). XML fields: the same, and no TAB or line break either, which an
// attribute turns into a blank. Answers: no control character at all (TAB and line breaks
// included, the scoring file is read line by line); a reference is plain text there, which
// the scoring compares as typed.
std::optional<InvalidCharacter> refuseFieldText(TextField field, std::string_view cp1251);

// UTF-8 text read from a file or given on the command line as program text of the field:
// in page text and names a character the code page lacks becomes "&#N;", in an answer it
// is refused (the scoring file compares the answer as typed); then the field's rule. The
// text, or the first character refused (its position in the UTF-8 text). The imports call
// this for every text they read.
std::variant<Text, InvalidCharacter> fieldTextOfUtf8(TextField field, std::string_view utf8);

// The name of the field for a message ("Variant", "The answer to sub-question"); a letter
// may follow it ("Variant C").
const Message<>& fieldWord(TextField field);

// "\n<field> holds a character the task files cannot hold: <character>" in the interface
// language (program text); letter names the variant or sub-question, 0 for none.
Text fieldRefusalMessage(TextField field, char letter, const InvalidCharacter& invalid, Lang lang);

// The first refused character of a text with its field: the message, or empty when it
// may be written.
Text checkFieldText(TextField field, std::string_view cp1251, Lang lang, char letter = 0);

// The refusals of every page text and answer of a task (its names and an Edits task's
// name have checks of their own), each on its own line; empty when all may be written.
Text checkTaskTexts(const model::Task& task, Lang lang);

} // namespace kavo
