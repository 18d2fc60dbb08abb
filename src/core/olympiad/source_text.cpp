// SPDX-License-Identifier: MIT
#include "core/olympiad/source_text.hpp"

#include "core/common/codepage.hpp"
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/messages.hpp"

#include <algorithm>
#include <cstdio>

namespace kavo::olympiad {

namespace {

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Line and column of a byte offset in raw bytes, columns counted as UTF-8 characters.
SourcePos rawPos(std::string_view bytes, std::size_t offset) {
    SourcePos pos;
    for (std::size_t i = 0; i < offset; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\n' || (b == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) {
            ++pos.line;
            pos.column = 1;
        } else if (b != '\r' && !isContinuation(b)) {
            ++pos.column;
        }
    }
    return pos;
}

std::string hexByte(unsigned char b) {
    char out[8];
    std::snprintf(out, sizeof out, "0x%02X", b);
    return out;
}

} // namespace

SourceText::SourceText(std::string utf8, Encoding encoding)
    : text_(std::move(utf8)), encoding_(encoding) {
    lineStarts_.push_back(0);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (i % Stride == 0)
            charsBefore_.push_back(chars);
        if (text_[i] == '\n')
            lineStarts_.push_back(i + 1);
        chars += !isContinuation(static_cast<unsigned char>(text_[i]));
    }
}

std::size_t SourceText::charsAt(std::size_t offset) const {
    if (charsBefore_.empty())
        return 0;
    const std::size_t block = std::min(offset / Stride, charsBefore_.size() - 1);
    std::size_t chars = charsBefore_[block];
    for (std::size_t i = block * Stride; i < offset; ++i)
        chars += !isContinuation(static_cast<unsigned char>(text_[i]));
    return chars;
}

SourcePos SourceText::posOf(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    const auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) - 1;
    SourcePos pos;
    pos.line = static_cast<int>(it - lineStarts_.begin()) + 1;
    if (lastPos_.line == pos.line && lastOffset_ <= offset && offset - lastOffset_ < Stride) {
        int column = lastPos_.column;
        for (std::size_t i = lastOffset_; i < offset; ++i)
            column += !isContinuation(static_cast<unsigned char>(text_[i]));
        pos.column = column;
    } else {
        pos.column = static_cast<int>(charsAt(offset) - charsAt(*it)) + 1;
    }
    lastOffset_ = offset;
    lastPos_ = pos;
    return pos;
}

std::optional<SourceText> decodeSource(std::string_view bytes, std::vector<Problem>& problems) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f') || b == 0x7F) {
            problems.push_back(
                {Severity::Error, rawPos(bytes, i), {kavo::msg::olympiad::binary, {hexByte(b)}}});
            return std::nullopt;
        }
    }
    Encoding encoding = Encoding::Utf8;
    std::string utf8;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
        if (!isValidUtf8(bytes)) {
            problems.push_back({Severity::Error, {1, 1}, {kavo::msg::olympiad::badUtf8, {}}});
            return std::nullopt;
        }
        encoding = Encoding::Utf8WithBom;
        utf8.assign(bytes);
    } else if (isValidUtf8(bytes)) {
        utf8.assign(bytes);
    } else {
        encoding = Encoding::Cp1251;
        utf8 = cp1251ToUtf8(bytes);
    }

    // Every break made '\n'; the first break of another kind than the first one seen warns.
    std::string text;
    text.reserve(utf8.size());
    std::string_view firstKind;
    bool warned = false;
    int line = 1;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        std::string_view kind;
        if (utf8[i] == '\r') {
            kind = i + 1 < utf8.size() && utf8[i + 1] == '\n' ? "CR LF" : "CR";
            if (kind == "CR LF")
                ++i;
        } else if (utf8[i] == '\n') {
            kind = "LF";
        } else {
            text += utf8[i];
            continue;
        }
        if (firstKind.empty()) {
            firstKind = kind;
        } else if (kind != firstKind && !warned) {
            warned = true;
            problems.push_back(
                {Severity::Warning,
                 {line, 1},
                 {kavo::msg::olympiad::mixedBreaks, {std::string(kind), std::string(firstKind)}}});
            problems.back().pos.column =
                static_cast<int>(std::count_if(
                    text.begin() + static_cast<std::ptrdiff_t>(text.rfind('\n') + 1), text.end(),
                    [](char c) { return !isContinuation(static_cast<unsigned char>(c)); })) +
                1;
        }
        text += '\n';
        ++line;
    }
    return SourceText(std::move(text), encoding);
}

std::optional<SourceText> readSource(const std::filesystem::path& path,
                                     std::vector<Problem>& problems) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        // The reader names why: missing, unreadable, or not a regular file.
        readFileBytes(path);
        throw Error::cannotOpen(path);
    }
    if (size > MaxFileBytes) {
        problems.push_back({Severity::Error,
                            {1, 1},
                            {kavo::msg::olympiad::tooLarge,
                             {std::to_string(size), std::to_string(MaxFileBytes)}}});
        return std::nullopt;
    }
    return decodeSource(readFileBytes(path), problems);
}

} // namespace kavo::olympiad
