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
    // The line and column (in characters) of a byte offset of text(). Offsets asked in
    // file order cost their distance from the last one asked: a whole file's places are
    // found in time linear in its size, however long its lines.
    SourcePos posOf(std::size_t offset) const;

  private:
    std::string text_;
    Encoding encoding_;
    std::vector<std::size_t> lineStarts_;
    // The characters (not continuation bytes) before every Stride-th byte, so that a place
    // asked out of order counts at most 2 * Stride bytes.
    static constexpr std::size_t Stride = 4096;
    std::vector<std::size_t> charsBefore_;
    std::size_t charsAt(std::size_t offset) const;
    // The last place found, where the next one on its line starts counting.
    mutable std::size_t lastOffset_ = 0;
    mutable SourcePos lastPos_;
};

// UTF-8 (with or without its mark) when the bytes are valid UTF-8, else Windows-1251.
// A control byte other than tab, CR, LF or form feed makes the file binary: an error and
// no text. Mixed line breaks give a warning.
std::optional<SourceText> decodeSource(std::string_view bytes, std::vector<Problem>& problems);

// Reads and decodes a file, refusing one above MaxFileBytes without reading it. A file
// that cannot be read throws kavo::Error.
std::optional<SourceText> readSource(const std::filesystem::path& path,
                                     std::vector<Problem>& problems);

} // namespace kavo::olympiad
