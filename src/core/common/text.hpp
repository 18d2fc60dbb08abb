// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace kavo {

// Program text: single-byte Windows-1251 bytes with CR LF line breaks.
using Text = std::string;
// An ordered list of texts; written to a file as each piece followed by CR LF.
using Pieces = std::vector<Text>;

inline constexpr std::string_view CRLF = "\r\n";

// Line breaks made CR LF, as readText does with a file's bytes.
Text normaliseBreaks(std::string_view bytes);

// Whether every line break of the text is CR LF already: no CR without an LF after it, no
// LF without a CR before it (then normaliseBreaks would return the text unchanged).
bool breaksAreCrLf(std::string_view text);

// Each piece followed by CR LF.
Text joinPieces(const Pieces& pieces);

// Splits at CR LF; a final break adds no empty line, an empty text gives no line.
Pieces splitLines(std::string_view text);

// Every occurrence of pattern, left to right, without overlap; the inserted text is not
// scanned again; an empty pattern changes nothing. Linear in the size of the text.
Text replaceAll(std::string_view text, std::string_view pattern, std::string_view with);

// replaceAll in the text's own buffer: a text without an occurrence is left untouched, and
// a replacement no longer than its pattern moves only the bytes after the first occurrence.
// A longer one needs a new buffer only when the text's capacity cannot hold the result.
void replaceEvery(Text& text, std::string_view pattern, std::string_view with);

// replaceAll of a text that the caller gives up (a temporary, or std::move of a variable):
// the result is made in its buffer by replaceEvery, so a text without an occurrence comes
// back as it is, never copied.
template <class T, std::enable_if_t<std::is_same_v<T, Text>, int> = 0>
Text replaceAll(T&& text, std::string_view pattern, std::string_view with) {
    replaceEvery(text, pattern, with);
    return std::move(text);
}

struct Replacement {
    std::string_view pattern;
    std::string_view with;
};

// Every occurrence of each pattern replaced in one pass: left to right, the first in the
// list where two start at the same place, without overlap. Occurrences are those of the text
// as given: inserted text, and text that a replacement joins, are not scanned again. Empty
// patterns never match. Linear in the size of the text (patterns whose occurrences overlap
// each other add up to a pattern's length per occurrence).
Text replaceEach(std::string_view text, std::span<const Replacement> replacements);

// replaceEach with the result handed to put a part at a time, in order, for a result that
// is written out rather than held: parts of at most 256 KB, but for a longer stretch of the
// text without occurrences, which goes as it is. A part is valid during its call only.
void replaceEach(std::string_view text, std::span<const Replacement> replacements,
                 const std::function<void(std::string_view)>& put);

// Deletes every occurrence of what in place, as replaceAll with an empty replacement.
void eraseEvery(Text& text, std::string_view what);

// Joins the page, deletes every occurrence of the template's text, and leaves the page
// as that one piece.
void removeBlock(Pieces& page, std::string_view templateText);

// Joins the lines, deletes every occurrence of what, and splits again; a line whose
// whole content was deleted stays as an empty line.
Pieces deleteInLines(const Pieces& lines, std::string_view what);

// Signed 32-bit integer: leading blanks, an optional sign, then decimal digits or "$" and
// hexadecimal digits. Anything else throws Error::notInteger with the text as given.
std::int32_t parseInt(std::string_view text);

} // namespace kavo
