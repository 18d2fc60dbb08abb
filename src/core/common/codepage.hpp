// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavo {

// Windows-1251 bytes to UTF-8. Every byte maps to a character (0x98, undefined in the code
// page, maps to U+0098), so a text survives a round trip unchanged.
std::string cp1251ToUtf8(std::string_view bytes);

// What becomes of a character that the code page cannot hold. Lone surrogates (as the three
// bytes of their code point) and non-characters are such characters.
enum class Unencodable {
    CharacterReference, // written as "&#N;": text bound for a page or a description
    Refuse,             // the conversion fails: text bound for a scoring file
};

// UTF-8 to Windows-1251. A character the code page cannot hold is written as a numeric
// character reference or makes the result empty, as `mode` says. It makes the result empty
// in either mode when no reference may name it (markupAllows: a control character, a
// surrogate, a non-character) or when the bytes are not UTF-8: the caller then names the
// characters, nothing is replaced silently. U+0098 becomes the byte 0x98, as it was read.
std::optional<std::string> utf8ToCp1251(std::string_view utf8, Unencodable mode);

// Whether the bytes are valid UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

} // namespace kavo
