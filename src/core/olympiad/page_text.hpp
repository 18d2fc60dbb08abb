// SPDX-License-Identifier: MIT
#pragma once
// Texts between GIFT's formats and the program: page markup in the code page on import,
// UTF-8 plain text or markup on export.

#include "core/common/text.hpp"
#include "core/olympiad/gift_reader.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace kavo::olympiad {

// Page markup (UTF-8, '\n' breaks) of a GIFT text: [html] as it is; the default and
// [plain] formats escaped for HTML with every line break a "<br>"; [markdown] escaped,
// with **strong**, *emphasis*, _emphasis_ and `code` made tags and breaks "<br>".
std::string pageMarkup(std::string_view text, TextFormat format);

// Program text of a page text: CR LF breaks, a character the code page cannot hold as
// "&#N;".
Text pageText(std::string_view markupUtf8);

// Program text of an answer bound for the scoring file, or none when a character does
// not fit the code page; `offending` then names the first such character.
std::optional<Text> answerText(std::string_view utf8, std::string& offending);

// UTF-8 of program text: CR LF made '\n', and "&#N;" of a character outside ASCII made
// the character (the code page conversion wrote it so).
std::string exportText(std::string_view cp1251);

// UTF-8 of program text that is compared or used as typed (an answer the scoring file
// holds, a folder): CR LF made '\n', every reference kept as the text it is there.
std::string exportLiteral(std::string_view cp1251);

// The plain text whose page markup (pageMarkup with TextFormat::Plain) is exactly this
// markup, if there is one.
std::optional<std::string> plainOf(std::string_view markup);

// Markup as text: tags dropped, "<br>" and paragraph ends made line breaks, character
// references decoded.
std::string stripMarkup(std::string_view markup);
// stripMarkup's text without the trimming at its end, written from `out` (room for the
// markup's size); its size. With `toFirstBreak` it stops after the first tag made a line
// break, and once `limit` bytes are written (a few more may be). `consumed` gets how much
// of the markup was read.
std::size_t stripMarkupInto(char* out, std::string_view markup, bool toFirstBreak,
                            std::size_t* consumed, std::size_t limit);

// Escaped for XML text and attributes.
std::string escapeXml(std::string_view utf8);

// Whether a name or a category tries to name a path: absolute, with a drive, or with a
// ".." part.
bool looksLikePath(std::string_view text);

// The number of lowercase Cyrillic letters а to я, as the program counts them to tell a
// Russian condition.
int cyrillicLowercase(std::string_view utf8);

} // namespace kavo::olympiad
