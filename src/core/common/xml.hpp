// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kavo {

// Whether a character may stand in a page or a description, typed or as a numeric
// character reference, for XML 1.0 and HTML alike: no control character other than TAB, LF
// and CR (C1 controls and DEL included: XML 1.0 only discourages them, HTML and XML 1.1 do
// not take them as typed), no surrogate, no non-character (U+FDD0 to U+FDEF and the last two
// of every plane), nothing beyond U+10FFFF.
bool markupAllows(char32_t c);

// A character of a text that its destination does not allow.
struct InvalidCharacter {
    std::size_t position;    // its first byte in the text
    std::string description; // "U+0007", or a reference as typed and what it names: "&#0; (U+0000)"
};

// The first character of Windows-1251 text bound for task.xml (an own task name, the author
// line, the Edits task name) that markupAllows refuses, typed or as a character reference
// that escapeXmlAttribute keeps. The byte 0x98, which the code page leaves undefined and the
// program reads as U+0098, counts as that control character. None when all are allowed.
std::optional<InvalidCharacter> findInvalidXmlCharacter(std::string_view cp1251);

// The first character of Windows-1251 text that becomes part of a path (an Edits task
// number) that a path must not hold: NUL and every control character. References are plain
// text there.
std::optional<InvalidCharacter> findInvalidPathCharacter(std::string_view cp1251);

// Makes Windows-1251 text safe inside a double-quoted XML attribute or an element: `"`
// becomes &quot;, `<` &lt;, a bare `&` &amp; and the `>` of "]]>" &gt;. A character
// reference the user typed (&#171;, &#xAB;) or one of the five predefined entities
// (&amp; ...) is kept, "&#X" written "&#x" as XML reads it: check the text with
// findInvalidXmlCharacter first.
Text escapeXmlAttribute(std::string_view cp1251);

} // namespace kavo
