// SPDX-License-Identifier: MIT
#pragma once
// The interface language and the table entry of a text shown in both languages.

#include "core/common/text.hpp"

#include <initializer_list>
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
    // Program text: the Russian wording in the Windows-1251 code page; "%1", "%2" ...
    // replaced by the arguments, which are program text too.
    Text in(Lang lang, std::initializer_list<std::string_view> args = {}) const;
    // The same in UTF-8, for reports; the arguments are UTF-8.
    std::string utf8(Lang lang, std::initializer_list<std::string_view> args) const;
};

// "%1" to "%9" of pattern replaced by the arguments, in one pass.
std::string substitute(std::string_view pattern, std::initializer_list<std::string_view> args);

} // namespace kavo
