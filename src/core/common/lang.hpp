// SPDX-License-Identifier: MIT
#pragma once
// The interface language and the table entry of a text shown in both languages.

#include "core/common/text.hpp"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kavo {

enum class Lang { Russian, English };

// The language file's verdict: English when its text holds "En" anywhere.
Lang langOfFile(std::string_view languageFileText);

// True when the text of a message with n arguments holds each of "%1" .. "%n" at least once,
// and a '%' nowhere else but in "%%" (a literal '%'). A digit right after an argument is
// refused too, so that "%10" is never read as "%1" and "0".
constexpr bool argumentsAre(std::string_view text, int n) {
    bool seen[9] = {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (++i == text.size())
            return false;
        if (text[i] == '%')
            continue;
        const int index = text[i] - '1';
        if (index < 0 || index >= n)
            return false;
        if (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9')
            return false;
        seen[index] = true;
    }
    for (int k = 0; k < n; ++k)
        if (!seen[k])
            return false;
    return true;
}

// "%%" of a checked pattern becomes '%' and "%1" .. "%9" the arguments, in one pass: a '%'
// of an argument is never read again.
std::string substitute(std::string_view pattern, std::span<const std::string_view> args);

namespace detail {
// Never defined: a message whose text fails argumentsAre stops the compilation here.
void englishTextMustUseExactlyPercent1ToN();
void russianTextMustUseExactlyPercent1ToN();
// The Russian pattern in Windows-1251 with the arguments (program text) in place.
Text programText(std::string_view utf8Pattern, std::span<const std::string_view> args);
} // namespace detail

// A text of the program in both interface languages, both given in UTF-8, with N arguments
// written "%1" .. "%N" (a literal '%' is "%%"). Both texts are checked as the program
// compiles, and a call with other than N arguments does not compile:
//     inline constexpr Message<2> written{"Task %1 written to %2", "Задача %1 записана в %2"};
//     written.in(lang, {number, folder});
template <int N = 0> struct Message {
    static_assert(N >= 0 && N <= 9, "a message has at most nine arguments, %1 to %9");

    std::string_view en;
    std::string_view ru;

    consteval Message(std::string_view english, std::string_view russian)
        : en(english), ru(russian) {
        if (!argumentsAre(en, N))
            detail::englishTextMustUseExactlyPercent1ToN();
        if (!argumentsAre(ru, N))
            detail::russianTextMustUseExactlyPercent1ToN();
    }

    // The text as written in the table, "%%" and the arguments not yet replaced.
    std::string_view pattern(Lang lang) const { return lang == Lang::English ? en : ru; }

    // Program text: the Russian wording in the Windows-1251 code page; "%1" .. "%N"
    // replaced by the arguments, which are program text too.
    Text in(Lang lang) const requires(N == 0) { return detail::programText(pattern(lang), {}); }
    template <std::size_t K>
    requires(K == N) Text in(Lang lang, const std::string_view (&args)[K])
    const { return detail::programText(pattern(lang), args); }

    // The same in UTF-8, for reports; the arguments are UTF-8.
    std::string utf8(Lang lang) const requires(N == 0) { return substitute(pattern(lang), {}); }
    template <std::size_t K>
    requires(K == N) std::string utf8(Lang lang, const std::string_view (&args)[K])
    const { return substitute(pattern(lang), args); }
};

// The texts of a message without its count, for a holder that checks the count of the
// arguments where it takes both (olympiad::Note).
struct MessageText {
    std::string_view en;
    std::string_view ru;

    template <int N>
    constexpr MessageText(const Message<N>& message) : en(message.en), ru(message.ru) {}

    std::string_view pattern(Lang lang) const { return lang == Lang::English ? en : ru; }
};

} // namespace kavo
