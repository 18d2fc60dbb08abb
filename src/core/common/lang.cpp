// SPDX-License-Identifier: MIT
#include "core/common/lang.hpp"

#include "core/common/codepage.hpp"

namespace kavo {

Lang langOfFile(std::string_view languageFileText) {
    return languageFileText.find("En") != std::string_view::npos ? Lang::English : Lang::Russian;
}

Text Message::in(Lang lang) const {
    // The table's texts are ours and hold only characters of the code page.
    return *utf8ToCp1251(utf8(lang), Unencodable::CharacterReference);
}

} // namespace kavo
