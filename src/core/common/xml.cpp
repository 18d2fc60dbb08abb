// SPDX-License-Identifier: MIT
#include "core/common/xml.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kavo {

static bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

static bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The length of the reference that starts at text[0] == '&', or 0 when it is a bare '&'.
static std::size_t referenceLength(std::string_view text) {
    // References are short; looking further would make a text of many '&' quadratic.
    const auto semicolon = text.substr(0, 40).find(';');
    if (semicolon == std::string_view::npos || semicolon < 2)
        return 0;
    const auto body = text.substr(1, semicolon - 1);
    if (body[0] == '#') {
        const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        const auto digits = body.substr(hex ? 2 : 1);
        if (digits.empty())
            return 0;
        for (char c : digits)
            if (!(hex ? isHexDigit(c) : isDigit(c)))
                return 0;
        return semicolon + 1;
    }
    static constexpr std::array<std::string_view, 5> predefined{"amp", "lt", "gt", "quot", "apos"};
    for (auto name : predefined)
        if (body == name)
            return semicolon + 1;
    return 0;
}

bool markupAllows(char32_t c) {
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    if (c >= 0x7F && c <= 0x9F)
        return false;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    if ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE)
        return false;
    return c <= 0x10FFFF;
}

static std::string codePoint(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// The character a Windows-1251 byte stands for, where it matters here: ASCII and the
// undefined 0x98 as themselves; every other byte is a letter or a sign the markup allows.
static char32_t characterOf(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return b < 0x80 || b == 0x98 ? b : U'\u0410';
}

// The character a reference names, at most U+110000 (for anything larger).
static char32_t referencedCharacter(std::string_view reference) {
    const bool hex = reference[2] == 'x' || reference[2] == 'X';
    char32_t value = 0;
    for (const char c : reference.substr(hex ? 3 : 2, reference.size() - (hex ? 4 : 3))) {
        const char32_t digit = isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
        value = std::min<char32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    return value;
}

std::optional<InvalidCharacter> findInvalidXmlCharacter(std::string_view cp1251) {
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        // Printable ASCII and the letters and signs above it stand for characters the markup
        // allows: only the rest is looked at.
        const auto b = static_cast<unsigned char>(cp1251[i]);
        if (b >= 0x20 && b != 0x7F && b != '&' && b != 0x98)
            continue;
        const std::size_t length = cp1251[i] == '&' ? referenceLength(cp1251.substr(i)) : 0;
        if (length > 0 && cp1251[i + 1] == '#') {
            const auto reference = cp1251.substr(i, length);
            const char32_t c = referencedCharacter(reference);
            if (!markupAllows(c))
                return InvalidCharacter{i, std::string(reference) + " (" +
                                               (c > 0x10FFFF ? "beyond U+10FFFF" : codePoint(c)) +
                                               ")"};
        } else if (!markupAllows(characterOf(cp1251[i]))) {
            return InvalidCharacter{i, codePoint(characterOf(cp1251[i]))};
        }
        if (length > 0)
            i += length - 1;
    }
    return std::nullopt;
}

std::optional<InvalidCharacter> findInvalidPathCharacter(std::string_view cp1251) {
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        const char32_t c = characterOf(cp1251[i]);
        if (c < 0x20 || !markupAllows(c))
            return InvalidCharacter{i, codePoint(c)};
    }
    return std::nullopt;
}

Text escapeXmlAttribute(std::string_view cp1251) {
    Text out;
    out.reserve(cp1251.size());
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        const char c = cp1251[i];
        if (c == '"') {
            out += "&quot;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>' && out.ends_with("]]")) {
            out += "&gt;"; // "]]>" may not stand in an element's text
        } else if (c == '&') {
            const auto keep = referenceLength(cp1251.substr(i));
            if (keep == 0) {
                out += "&amp;";
            } else {
                out.append(cp1251.substr(i, keep));
                // XML knows "&#x" only: "&#X41;", which HTML takes, names the same "A".
                if (keep > 3 && cp1251[i + 1] == '#' && cp1251[i + 2] == 'X')
                    out[out.size() - keep + 2] = 'x';
                i += keep - 1;
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace kavo
