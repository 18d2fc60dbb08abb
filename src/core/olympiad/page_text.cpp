// SPDX-License-Identifier: MIT
#include "core/olympiad/page_text.hpp"

#include "core/common/codepage.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kavo::olympiad {

namespace {

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The code point of a numeric character reference at s[0] == '&' and its length, or a
// length of 0.
std::pair<std::uint32_t, std::size_t> numericReference(std::string_view s) {
    if (s.size() < 4 || s[1] != '#')
        return {0, 0};
    const bool hex = s[2] == 'x' || s[2] == 'X';
    std::uint64_t cp = 0;
    std::size_t i = hex ? 3 : 2;
    const std::size_t start = i;
    for (; i < s.size() && i < start + 8; ++i) {
        const char c = s[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            break;
        cp = cp * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    }
    if (i == start || i >= s.size() || s[i] != ';' || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, 0};
    return {static_cast<std::uint32_t>(cp), i + 1};
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string breaksAsBr(std::string_view html) {
    std::string out;
    out.reserve(html.size() + 16);
    for (char c : html) {
        if (c == '\n')
            out += "<br>\n";
        else
            out += c;
    }
    return out;
}

// One line of markdown: paired ** * _ ` made tags; an unpaired marker stays as it is.
std::string markdownLine(std::string_view line) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> marks{
        {{"**", "strong"}, {"`", "code"}, {"*", "em"}, {"_", "em"}}};
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        bool done = false;
        for (const auto& [mark, tag] : marks) {
            if (line.substr(i, mark.size()) != mark)
                continue;
            const auto close = line.find(mark, i + mark.size());
            if (close == std::string_view::npos || close == i + mark.size())
                continue;
            out += "<" + std::string(tag) + ">";
            out += line.substr(i + mark.size(), close - i - mark.size());
            out += "</" + std::string(tag) + ">";
            i = close + mark.size();
            done = true;
            break;
        }
        if (!done)
            out += line[i++];
    }
    return out;
}

// The first byte at or after `from` that is "<", "&" or a line feed, or the size: sixteen
// bytes a step.
std::size_t nextMarkupByte(std::string_view text, std::size_t from) {
    std::size_t at = from;
#if defined(__SSE2__)
    const __m128i less = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&'), feed = _mm_set1_epi8('\n');
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, less), _mm_cmpeq_epi8(bytes, amp)),
                         _mm_cmpeq_epi8(bytes, feed))));
        if (mask != 0)
            return at + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    while (at < text.size() && text[at] != '<' && text[at] != '&' && text[at] != '\n')
        ++at;
    return at;
}

// The first ">" at or after `from`, or npos: tags are short, so the bytes near are looked at
// before the search.
std::size_t closeAfter(std::string_view text, std::size_t from) {
    const std::size_t near = std::min(text.size(), from + 32);
    for (std::size_t at = from; at < near; ++at)
        if (text[at] == '>')
            return at;
    return text.find('>', near);
}

} // namespace

std::string pageMarkup(std::string_view text, TextFormat format) {
    switch (format) {
    case TextFormat::Html:
        return std::string(text);
    case TextFormat::Markdown: {
        const std::string escaped = escapeHtml(text);
        std::string out;
        std::size_t start = 0;
        while (true) {
            const auto end = escaped.find('\n', start);
            out += markdownLine(std::string_view(escaped).substr(start, end - start));
            if (end == std::string::npos)
                break;
            out += "<br>\n";
            start = end + 1;
        }
        return out;
    }
    case TextFormat::Moodle:
    case TextFormat::Plain:
        break;
    }
    return breaksAsBr(escapeHtml(text));
}

Text pageText(std::string_view markupUtf8) {
    const std::string crlf = replaceAll(markupUtf8, "\n", "\r\n");
    if (isAscii(crlf))
        return crlf;
    return *utf8ToCp1251(crlf, Unencodable::CharacterReference);
}

std::optional<Text> answerText(std::string_view utf8, std::string& offending) {
    if (isAscii(utf8))
        return std::string(utf8);
    if (auto text = utf8ToCp1251(utf8, Unencodable::Refuse))
        return text;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t len = 1;
        const auto b = static_cast<unsigned char>(utf8[i]);
        len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
        const auto one = utf8.substr(i, len);
        if (!utf8ToCp1251(one, Unencodable::Refuse)) {
            offending = std::string(one);
            break;
        }
        i += len;
    }
    return std::nullopt;
}

std::string exportText(std::string_view cp1251) {
    const std::string utf8 = isAscii(cp1251) ? std::string(cp1251) : cp1251ToUtf8(cp1251);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        } else if (c == '&') {
            const auto [cp, len] = numericReference(std::string_view(utf8).substr(i, 16));
            if (len > 0 && cp >= 0x80) {
                appendUtf8(out, cp);
                i += len - 1;
            } else {
                out += c;
            }
        } else {
            out += c;
        }
    }
    return out;
}

std::string exportLiteral(std::string_view cp1251) {
    const std::string utf8 = isAscii(cp1251) ? std::string(cp1251) : cp1251ToUtf8(cp1251);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r') {
            out += utf8[i];
            continue;
        }
        out += '\n';
        if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
            ++i;
    }
    return out;
}

std::optional<std::string> plainOf(std::string_view markup) {
    std::string plain;
    plain.reserve(markup.size());
    for (std::size_t i = 0; i < markup.size();) {
        const auto rest = markup.substr(i);
        if (rest.starts_with("<br>\n")) {
            plain += '\n';
            i += 5;
        } else if (rest.starts_with("&lt;")) {
            plain += '<';
            i += 4;
        } else if (rest.starts_with("&gt;")) {
            plain += '>';
            i += 4;
        } else if (rest.starts_with("&amp;")) {
            plain += '&';
            i += 5;
        } else if (rest[0] == '<' || rest[0] == '>' || rest[0] == '&' || rest[0] == '\n') {
            return std::nullopt;
        } else {
            plain += rest[0];
            ++i;
        }
    }
    return plain;
}

std::size_t stripMarkupInto(char* const base, std::string_view markup, bool toFirstBreak,
                            std::size_t* consumed, std::size_t limit) {
    static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 16> named{{
        {"amp", '&'},
        {"lt", '<'},
        {"gt", '>'},
        {"quot", '"'},
        {"apos", '\''},
        {"nbsp", 0xA0},
        {"laquo", 0xAB},
        {"raquo", 0xBB},
        {"mdash", 0x2014},
        {"ndash", 0x2013},
        {"hellip", 0x2026},
        {"times", 0xD7},
        {"deg", 0xB0},
        {"le", 0x2264},
        {"ge", 0x2265},
        {"minus", 0x2212},
    }};
    // Each tag lowercased in place of a copy: a large text holds many.
    const auto lower = [](char ch) {
        return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
    };
    const auto tagIs = [&lower](std::string_view tag, std::string_view name) {
        return tag.size() == name.size() &&
               std::equal(tag.begin(), tag.end(), name.begin(),
                          [&lower](char a, char b) { return lower(a) == b; });
    };
    char* o = base;
    const char* const m = markup.data();
    const std::size_t size = markup.size();
    bool closes = true; // whether a ">" is left: once none is, none is looked for again
    for (std::size_t i = 0; i < size;) {
        if (static_cast<std::size_t>(o - base) >= limit) {
            if (consumed)
                *consumed = i;
            return static_cast<std::size_t>(o - base);
        }
        const char c = m[i];
        if (c == '<') {
            const auto close = closes ? closeAfter(markup, i) : std::string_view::npos;
            if (close == std::string_view::npos) {
                closes = false;
                *o++ = c;
                ++i;
                continue;
            }
            const auto tag = markup.substr(i + 1, close - i - 1);
            i = close + 1;
            if ((tag.size() >= 2 && lower(tag[0]) == 'b' && lower(tag[1]) == 'r') ||
                tagIs(tag, "/p") || tagIs(tag, "/div") || tagIs(tag, "/li")) {
                *o++ = '\n';
                if (toFirstBreak) {
                    if (consumed)
                        *consumed = i;
                    return static_cast<std::size_t>(o - base);
                }
            }
        } else if (c == '&') {
            const auto rest = markup.substr(i, 16);
            auto [cp, len] = numericReference(rest);
            // A named reference runs to the first ";" (no name holds one).
            const auto semicolon = len == 0 ? rest.find(';', 1) : std::string_view::npos;
            if (semicolon != std::string_view::npos)
                for (const auto& [name, code] : named)
                    if (rest.substr(1, semicolon - 1) == name) {
                        cp = code;
                        len = name.size() + 2;
                        break;
                    }
            if (len == 0) {
                *o++ = c;
                ++i;
            } else {
                std::string character;
                appendUtf8(character, cp);
                o = std::copy(character.begin(), character.end(), o);
                i += len;
            }
        } else if (c == '\n') {
            if (o != base && o[-1] != '\n' && o[-1] != ' ')
                *o++ = ' ';
            ++i;
        } else {
            // A run of plain bytes: sixteen are copied a step while none of them is markup
            // (the text written never passes the markup read, so the room holds each step).
#if defined(__SSE2__)
            const __m128i less = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&'),
                          feed = _mm_set1_epi8('\n');
            const std::size_t from = i;
            while (i + 16 <= size) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(o), bytes);
                const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
                    _mm_or_si128(_mm_cmpeq_epi8(bytes, less), _mm_cmpeq_epi8(bytes, amp)),
                    _mm_cmpeq_epi8(bytes, feed))));
                const std::size_t run =
                    mask == 0 ? 16 : static_cast<std::size_t>(__builtin_ctz(mask));
                o += run;
                i += run;
                if (mask != 0)
                    break;
            }
            // The byte reached is looked at anew (markup or not).
            if (i != from)
                continue;
#endif
            const std::size_t end = nextMarkupByte(markup, i + 1);
            std::memcpy(o, m + i, end - i);
            o += end - i;
            i = end;
        }
    }
    if (consumed)
        *consumed = size;
    return static_cast<std::size_t>(o - base);
}

std::string stripMarkup(std::string_view markup) {
    // Nothing grows (a reference is no shorter than its character, a tag than its line
    // break): the text is written into room of the markup's size, which is cut to fit.
    std::string out(markup.size(), '\0');
    out.resize(stripMarkupInto(out.data(), markup, false, nullptr, std::string::npos));
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

std::string escapeXml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 16);
    for (char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool looksLikePath(std::string_view text) {
    const std::string t = [&] {
        std::size_t a = 0;
        while (a < text.size() && (text[a] == ' ' || text[a] == '\t'))
            ++a;
        return std::string(text.substr(a));
    }();
    if (t.empty())
        return false;
    if (t[0] == '/' || t[0] == '\\' || t.starts_with("~/") || t.starts_with("~\\"))
        return true;
    // A drive: "C:", "C:\x", "C:/x" (but not "A: the speed").
    if (t.size() >= 2 && t[1] == ':' && std::isalpha(static_cast<unsigned char>(t[0])) &&
        (t.size() == 2 || t[2] == '/' || t[2] == '\\'))
        return true;
    std::size_t start = 0;
    while (start <= t.size()) {
        auto end = t.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = t.size();
        std::string_view part(t.data() + start, end - start);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        if (part == "..")
            return true;
        start = end + 1;
    }
    return false;
}

int cyrillicLowercase(std::string_view utf8) {
    int count = 0;
    for (std::size_t i = 0; i + 1 < utf8.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
        // U+0430..U+043F are D0 B0..D0 BF, U+0440..U+044F are D1 80..D1 8F.
        if ((b0 == 0xD0 && b1 >= 0xB0 && b1 <= 0xBF) || (b0 == 0xD1 && b1 >= 0x80 && b1 <= 0x8F))
            ++count;
    }
    return count;
}

} // namespace kavo::olympiad
