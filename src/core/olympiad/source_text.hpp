// SPDX-License-Identifier: MIT
#pragma once
// An olympiad file's bytes as UTF-8 text with its places: the encoding detected, line
// breaks made '\n', positions reported in the lines and characters an editor shows.

#include "core/olympiad/problem.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::olympiad {

enum class Encoding { Utf8, Utf8WithBom, Cp1251 };

// Files larger than this are refused before they are read.
inline constexpr std::uintmax_t MaxFileBytes = 16u * 1024 * 1024;

class SourceText {
  public:
    SourceText(std::string utf8, Encoding encoding);

    const std::string& text() const { return text_; }
    Encoding encoding() const { return encoding_; }
    // The line and column (in characters) of a byte offset of text().
    SourcePos posOf(std::size_t offset) const;

  private:
    std::string text_;
    Encoding encoding_;
    std::vector<std::size_t> lineStarts_;
};

// UTF-8 (with or without its mark) when the bytes are valid UTF-8, else Windows-1251.
// A control byte other than tab, CR, LF or form feed makes the file binary: an error and
// no text. Mixed line breaks give a warning.
std::optional<SourceText> decodeSource(std::string_view bytes, std::vector<Problem>& problems);

// Reads and decodes a file, refusing one above MaxFileBytes without reading it. A file
// that cannot be read throws kavo::Error.
std::optional<SourceText> readSource(const std::filesystem::path& path,
                                     std::vector<Problem>& problems);

// Whether the bytes are valid UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

} // namespace kavo::olympiad
