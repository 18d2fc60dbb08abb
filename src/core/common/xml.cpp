// SPDX-License-Identifier: MIT
#include "core/common/xml.hpp"

#include <array>

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

Text escapeXmlAttribute(std::string_view cp1251) {
    Text out;
    out.reserve(cp1251.size());
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        const char c = cp1251[i];
        if (c == '"') {
            out += "&quot;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '&') {
            const auto keep = referenceLength(cp1251.substr(i));
            if (keep == 0) {
                out += "&amp;";
            } else {
                out.append(cp1251.substr(i, keep));
                i += keep - 1;
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace kavo
