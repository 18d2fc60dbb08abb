// SPDX-License-Identifier: MIT
#include "core/common/lang.hpp"

#include "core/common/codepage.hpp"

namespace kavo {

Lang langOfFile(std::string_view languageFileText) {
    return languageFileText.find("En") != std::string_view::npos ? Lang::English : Lang::Russian;
}

std::string substitute(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const auto index = i + 1 < pattern.size() ? pattern[i + 1] - '1' : -1;
        if (c == '%' && index >= 0 && index < static_cast<int>(args.size())) {
            out += *(args.begin() + index);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

Text Message::in(Lang lang, std::initializer_list<std::string_view> args) const {
    // The table's texts are ours and hold only characters of the code page.
    return substitute(*utf8ToCp1251(utf8(lang), Unencodable::CharacterReference), args);
}

std::string Message::utf8(Lang lang, std::initializer_list<std::string_view> args) const {
    return substitute(utf8(lang), args);
}

} // namespace kavo
