// SPDX-License-Identifier: MIT
#include "core/common/lang.hpp"

#include "core/common/codepage.hpp"

namespace kavo {

Lang langOfFile(std::string_view languageFileText) {
    return languageFileText.find("En") != std::string_view::npos ? Lang::English : Lang::Russian;
}

std::string substitute(std::string_view pattern, std::span<const std::string_view> args) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        const char next = pattern[i + 1];
        const int index = next - '1';
        if (next == '%') {
            out += '%';
            ++i;
        } else if (index >= 0 && index < 9 && static_cast<std::size_t>(index) < args.size()) {
            out += args[static_cast<std::size_t>(index)];
            ++i;
        } else {
            out += c; // not in a checked pattern
        }
    }
    return out;
}

namespace detail {

Text programText(std::string_view utf8Pattern, std::span<const std::string_view> args) {
    // The table's texts are ours and hold only characters of the code page.
    return substitute(*utf8ToCp1251(utf8Pattern, Unencodable::CharacterReference), args);
}

} // namespace detail

} // namespace kavo
