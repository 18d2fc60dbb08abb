// SPDX-License-Identifier: MIT
#pragma once
// The interface language and the table entry of a text shown in both languages.

#include "core/common/text.hpp"

#include <string>
#include <string_view>

namespace kavo {

enum class Lang { Russian, English };

// The language file's verdict: English when its text holds "En" anywhere.
Lang langOfFile(std::string_view languageFileText);

// A text of the program in both interface languages, both given in UTF-8.
struct Message {
    std::string_view en;
    std::string_view ru;

    std::string_view utf8(Lang lang) const { return lang == Lang::English ? en : ru; }
    // Program text: the Russian wording in the Windows-1251 code page.
    Text in(Lang lang) const;
};

} // namespace kavo
