// SPDX-License-Identifier: MIT
#include "core/common/text.hpp"

#include "core/common/error.hpp"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string.h> // memmem
#include <system_error>

namespace fs = std::filesystem;

namespace kavo {

Text normaliseBreaks(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out += CRLF;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += CRLF;
        } else {
            out += c;
        }
    }
    return out;
}

Text joinPieces(const Pieces& pieces) {
    std::size_t size = 0;
    for (const auto& piece : pieces)
        size += piece.size() + CRLF.size();
    Text out;
    out.reserve(size);
    for (const auto& piece : pieces) {
        out += piece;
        out += CRLF;
    }
    return out;
}

Pieces splitLines(std::string_view text) {
    Pieces lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find(CRLF, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + CRLF.size();
    }
    return lines;
}

// The next occurrence of pattern (not empty) in [from, end), or nullptr. glibc's memmem
// skips ahead by byte pairs, so a pattern that starts with a byte frequent in the text (the
// "<" of a page) costs no more than a rare one.
static const char* findNext(const char* from, const char* end, std::string_view pattern) {
    return static_cast<const char*>(
        memmem(from, static_cast<std::size_t>(end - from), pattern.data(), pattern.size()));
}

Text replaceAll(std::string_view text, std::string_view pattern, std::string_view with) {
    if (pattern.empty())
        return Text(text);
    Text out;
    out.reserve(text.size());
    const char* start = text.data();
    const char* const end = text.data() + text.size();
    for (const char* hit = findNext(start, end, pattern); hit;
         hit = findNext(start, end, pattern)) {
        out.append(start, hit);
        out.append(with);
        start = hit + pattern.size();
    }
    out.append(start, end);
    return out;
}

// Deletes every occurrence of pattern in place: the same matches as replaceAll with an
// empty replacement, without a second copy of a large page.
static void eraseAll(Text& text, std::string_view pattern) {
    if (pattern.empty())
        return;
    char* const begin = text.data();
    const char* const end = begin + text.size();
    char* write = begin;
    const char* read = begin;
    for (const char* hit = findNext(read, end, pattern); hit; hit = findNext(read, end, pattern)) {
        const auto kept = static_cast<std::size_t>(hit - read);
        if (write != read)
            std::memmove(write, read, kept);
        write += kept;
        read = hit + pattern.size();
    }
    const auto rest = static_cast<std::size_t>(end - read);
    if (write != read)
        std::memmove(write, read, rest);
    text.resize(static_cast<std::size_t>(write - begin) + rest);
}

void removeBlock(Pieces& page, std::string_view templateText) {
    Text joined;
    if (page.size() == 1) {
        // After the first removal the page is one piece: reuse it instead of copying.
        joined = std::move(page.front());
        joined += CRLF;
    } else {
        joined = joinPieces(page);
    }
    eraseAll(joined, templateText);
    page.clear();
    page.push_back(std::move(joined));
}

Pieces deleteInLines(const Pieces& lines, std::string_view what) {
    Text joined = joinPieces(lines);
    eraseAll(joined, what);
    return splitLines(joined);
}

static int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

std::int32_t parseInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        throw Error::notInteger(std::string(text));
    // Decimal must fit the signed range; hexadecimal may use all 32 bits.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= base)
            throw Error::notInteger(std::string(text));
        value = value * base + digit;
        if (value > limit)
            throw Error::notInteger(std::string(text));
    }
    const auto bits = static_cast<std::uint32_t>(negative ? (~value + 1) : value);
    return static_cast<std::int32_t>(bits);
}

} // namespace kavo
