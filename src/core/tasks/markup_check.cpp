// SPDX-License-Identifier: MIT
#include "core/tasks/markup_check.hpp"

#include "core/common/messages.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kavo::tasks {

namespace {

// The elements of HTML a teacher may type into a task page, lowercase.
constexpr std::string_view knownElements[] = {
    "a",      "abbr",     "acronym", "address", "area",     "article",    "aside",      "audio",
    "b",      "bdi",      "bdo",     "big",     "blink",    "blockquote", "body",       "br",
    "button", "canvas",   "caption", "center",  "cite",     "code",       "col",        "colgroup",
    "data",   "datalist", "dd",      "del",     "details",  "dfn",        "dialog",     "dir",
    "div",    "dl",       "dt",      "em",      "embed",    "fieldset",   "figcaption", "figure",
    "font",   "footer",   "form",    "frame",   "frameset", "h1",         "h2",         "h3",
    "h4",     "h5",       "h6",      "head",    "header",   "hgroup",     "hr",         "html",
    "i",      "iframe",   "img",     "input",   "ins",      "kbd",        "label",      "legend",
    "li",     "link",     "main",    "map",     "mark",     "marquee",    "math",       "menu",
    "meta",   "meter",    "nav",     "nobr",    "noscript", "object",     "ol",         "optgroup",
    "option", "output",   "p",       "param",   "picture",  "pre",        "progress",   "q",
    "rp",     "rt",       "ruby",    "s",       "samp",     "script",     "section",    "select",
    "small",  "source",   "span",    "strike",  "strong",   "style",      "sub",        "summary",
    "sup",    "svg",      "table",   "tbody",   "td",       "template",   "textarea",   "tfoot",
    "th",     "thead",    "time",    "title",   "tr",       "tt",         "u",          "ul",
    "var",    "video",    "wbr",     "track",   "xmp",
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameChar(char c) {
    return isLetter(c) || (c >= '0' && c <= '9');
}

// A name of up to eight letters as one number, its first letter lowest.
std::uint64_t packed(std::string_view lower) {
    std::uint64_t key = 0;
    for (std::size_t i = lower.size(); i-- > 0;)
        key = key << 8 | static_cast<unsigned char>(lower[i]);
    return key;
}

// The known names of up to eight letters in a table of packed names, found in a probe or
// two: a page of conditions holds many tags, each looked up.
class Elements {
  public:
    Elements() {
        for (const auto name : knownElements)
            if (name.size() <= 8)
                insert(packed(name));
            else
                longer_.push_back(name);
    }
    // A lowercase name of more than eight letters.
    bool containsLong(std::string_view lower) const {
        return std::find(longer_.begin(), longer_.end(), lower) != longer_.end();
    }
    // A lowercase name of up to eight letters, packed.
    bool contains(std::uint64_t key) const {
        for (std::size_t i = slot(key);; i = (i + 1) % Size) {
            if (table_[i] == key)
                return true;
            if (table_[i] == 0)
                return false;
        }
    }

  private:
    static constexpr std::size_t Size = 512; // a quarter full at most
    static std::size_t slot(std::uint64_t key) {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 55) % Size;
    }
    void insert(std::uint64_t key) {
        std::size_t i = slot(key);
        while (table_[i] != 0 && table_[i] != key)
            i = (i + 1) % Size;
        table_[i] = key;
    }
    std::array<std::uint64_t, Size> table_{};
    std::vector<std::string_view> longer_;
};

const Elements& elements() {
    static const Elements built;
    return built;
}

// Where the last ">" and the last "-->" of a text stand: a tag or a comment that begins
// before one of them has its end, found once for the whole text rather than once per "<".
class Ends {
  public:
    explicit Ends(std::string_view text) : text_(text) {}
    bool closeFrom(std::size_t at) { return before(at, lastClose_, ">"); }
    bool commentCloseFrom(std::size_t at) { return before(at, lastCommentClose_, "-->"); }

  private:
    // Whether `end` stands at or after `at`; looked for when first needed.
    bool before(std::size_t at, std::size_t& last, std::string_view end) {
        if (last == NotLooked)
            last = text_.rfind(end);
        return last != std::string_view::npos && last >= at;
    }
    static constexpr std::size_t NotLooked = std::string_view::npos - 1;
    std::string_view text_;
    std::size_t lastClose_ = NotLooked, lastCommentClose_ = NotLooked;
};

// What the bytes after a "<" make of it: no tag at all (shown as typed), a stray "<", a
// known element (opening or closing) that is a tag when a ">" follows at or after `end`, or
// a comment when a "-->" follows. `window` when no byte after at + 4 was looked at.
struct Opening {
    enum Kind : std::uint8_t { Shown, Stray, Element, Comment } kind = Shown;
    std::uint8_t end = 0; // Element: from the "<"
    bool window = true;
};

// A "<" begins a tag that the browser takes whole when it opens a known element or a
// comment, closed by ">" ("-->" for a comment). Any other "<!" (a doctype, "<!b>") is hidden
// by the browser up to its ">": the teacher is asked.
Opening openingAt(std::string_view text, std::size_t at, const Elements& known) {
    const char next = at + 1 < text.size() ? text[at + 1] : '\0';
    // Only a letter, "/" or "!" can open a tag; "<%" is the web system's own.
    if (!isLetter(next) && next != '/' && next != '!')
        return {Opening::Shown};
    const auto rest = text.substr(at + 1);
    if (rest.starts_with("!--"))
        return {Opening::Comment};
    const std::size_t start = at + 1 + (next == '/' ? 1 : 0);
    // The name lowercased and packed as it is read; no known name is longer than ten letters.
    char lower[10];
    std::uint64_t key = 0;
    std::size_t end = start;
    for (; end < text.size() && isNameChar(text[end]); ++end) {
        const std::size_t i = end - start;
        if (i == sizeof lower)
            return {Opening::Stray, 0, false};
        const char c = text[end];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        if (i < 8)
            key |= std::uint64_t{static_cast<unsigned char>(lower[i])} << (8 * i);
    }
    const bool window = end <= at + 4;
    const std::size_t length = end - start;
    if (length == 0 || !(length <= 8 ? known.contains(key) : known.containsLong({lower, length})))
        return {Opening::Stray, 0, window};
    if (end < text.size()) {
        switch (text[end]) {
        case ' ':
        case '\t':
        case '\r':
        case '\n':
        case '>':
        case '/':
            break;
        default:
            return {Opening::Stray, 0, window};
        }
    }
    return {Opening::Element, static_cast<std::uint8_t>(end - at), window};
}

// The openings met, by the four bytes after the "<": a page of conditions holds the same few
// tags over and over, each read once.
class Openings {
  public:
    Opening at(std::string_view text, std::size_t at, const Elements& known) {
        if (at + 5 > text.size())
            return openingAt(text, at, known);
        std::uint32_t bytes;
        std::memcpy(&bytes, text.data() + at + 1, 4);
        Slot& slot = slots_[(bytes * 0x9E3779B1u) >> 26];
        if (slot.filled && slot.bytes == bytes)
            return slot.opening;
        const Opening opening = openingAt(text, at, known);
        if (opening.window)
            slot = {true, bytes, opening};
        return opening;
    }

  private:
    struct Slot {
        bool filled = false;
        std::uint32_t bytes = 0;
        Opening opening;
    };
    std::array<Slot, 64> slots_{};
};

Text around(std::string_view text, std::size_t at) {
    const std::size_t from = at > 10 ? at - 10 : 0;
    Text stretch(text.substr(from, 30));
    std::replace(stretch.begin(), stretch.end(), '\r', ' ');
    std::replace(stretch.begin(), stretch.end(), '\n', ' ');
    return stretch;
}

} // namespace

namespace {

// a, b, i, p, q, s and u, either case: the elements of one letter.
bool oneLetterElement(char c) {
    switch (c | 0x20) {
    case 'a':
    case 'b':
    case 'i':
    case 'p':
    case 'q':
    case 's':
    case 'u':
        return true;
    default:
        return false;
    }
}

// The places of the "<" in text[from, from + Chunk) (or to its end) into `places`; their
// count. Found many bytes a step: a page of conditions holds a tag every few words.
constexpr std::size_t Chunk = 1024;

std::size_t lessNarrow(std::string_view text, std::size_t from, std::uint32_t* places) {
    const std::size_t end = std::min(text.size(), from + Chunk);
    std::size_t count = 0, at = from;
#if defined(__SSE2__)
    const __m128i less = _mm_set1_epi8('<');
    for (; at + 16 <= end; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, less)));
             mask != 0; mask &= mask - 1)
            places[count++] = static_cast<std::uint32_t>(at - from) +
                              static_cast<std::uint32_t>(__builtin_ctz(mask));
    }
#endif
    for (; at < end; ++at)
        if (text[at] == '<')
            places[count++] = static_cast<std::uint32_t>(at - from);
    return count;
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) std::size_t lessWide(std::string_view text, std::size_t from,
                                                     std::uint32_t* places) {
    if (text.size() - from < Chunk)
        return lessNarrow(text, from, places);
    // The commonest tags ("<b>", "</b>" of the one-letter elements) are passed over here.
    // A byte is such a letter when its low half's row of the table below and its high
    // half's row share a bit (bit 1: 0x6_, bit 2: 0x7_, lowercased).
    const bool ahead = text.size() - from >= Chunk + 3;
    const __m256i less = _mm256_set1_epi8('<'), close = _mm256_set1_epi8('>'),
                  slash = _mm256_set1_epi8('/'), lowered = _mm256_set1_epi8(0x20),
                  nibble = _mm256_set1_epi8(0x0F), zero = _mm256_setzero_si256();
    const __m256i lowRows = _mm256_setr_epi8(2, 3, 1, 2, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 3,
                                             1, 2, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0);
    const __m256i highRows = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                              0, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0);
    std::size_t count = 0;
    for (std::size_t at = from; at < from + Chunk; at += 32) {
        const char* const p = text.data() + at;
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        auto found = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, less)));
        if (found != 0 && ahead) {
            const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
            const __m256i b2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 2));
            const __m256i b3 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 3));
            __m256i letter[2];
            for (int k = 0; k < 2; ++k) {
                const __m256i c = _mm256_or_si256(k == 0 ? b1 : b2, lowered);
                letter[k] = _mm256_and_si256(
                    _mm256_shuffle_epi8(lowRows, _mm256_and_si256(c, nibble)),
                    _mm256_shuffle_epi8(highRows,
                                        _mm256_and_si256(_mm256_srli_epi16(c, 4), nibble)));
            }
            // Letters where the rows share a bit: not zero.
            const __m256i opening = _mm256_andnot_si256(_mm256_cmpeq_epi8(letter[0], zero),
                                                        _mm256_cmpeq_epi8(b2, close));
            const __m256i closing = _mm256_andnot_si256(
                _mm256_cmpeq_epi8(letter[1], zero),
                _mm256_and_si256(_mm256_cmpeq_epi8(b1, slash), _mm256_cmpeq_epi8(b3, close)));
            found &=
                ~static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(opening, closing)));
        }
        for (auto mask = found; mask != 0; mask &= mask - 1)
            places[count++] = static_cast<std::uint32_t>(at - from) +
                              static_cast<std::uint32_t>(__builtin_ctz(mask));
    }
    return count;
}
#endif

} // namespace

std::vector<std::size_t> strayLessThan(std::string_view text) {
    std::vector<std::size_t> stray;
    Ends ends(text);
    const Elements& known = elements();
    Openings openings;
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
#else
    constexpr bool wide = false;
#endif
    std::uint32_t places[Chunk];
    for (std::size_t from = 0; from < text.size(); from += Chunk) {
#if defined(__x86_64__)
        const std::size_t count =
            wide ? lessWide(text, from, places) : lessNarrow(text, from, places);
#else
        const std::size_t count = lessNarrow(text, from, places);
#endif
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = from + places[i];
            // The commonest tags, "<b>" and "</b>" of the one-letter elements, closed at once.
            if (at + 3 < text.size()) {
                const char* const p = text.data() + at;
                if ((p[2] == '>' && oneLetterElement(p[1])) ||
                    (p[1] == '/' && p[3] == '>' && oneLetterElement(p[2])))
                    continue;
            }
            const Opening opening = openings.at(text, at, known);
            const bool stays =
                opening.kind == Opening::Shown ||
                (opening.kind == Opening::Element && ends.closeFrom(at + opening.end)) ||
                (opening.kind == Opening::Comment && ends.commentCloseFrom(at + 4));
            if (!stays)
                stray.push_back(at);
        }
    }
    return stray;
}

std::vector<MarkupWarning> markupWarnings(const model::Task& task, Lang lang) {
    return markupWarnings(task, task.condition, lang);
}

std::vector<MarkupWarning> markupWarnings(const model::Task& task, std::string_view condition,
                                          Lang lang) {
    std::vector<MarkupWarning> warnings;
    // The field's name is worded only for a field that has a warning.
    auto check = [&](auto wordName, std::string_view text) {
        const auto stray = strayLessThan(text);
        if (stray.empty())
            return;
        const Text name = wordName();
        for (const auto at : stray)
            warnings.push_back({name, around(text, at)});
    };
    check([&] { return msg::task::fieldCondition.in(lang); }, condition);
    for (int i = 0; i < model::VariantCount; ++i)
        if (task.variants[i])
            check([&] { return msg::task::fieldVariant.in(lang, {std::string(1, char('A' + i))}); },
                  *task.variants[i]);
    for (std::size_t i = 0; i < task.subQuestions.size(); ++i)
        check([&] { return msg::task::fieldQuestion.in(lang, {std::string(1, char('A' + i))}); },
              task.subQuestions[i].question);
    return warnings;
}

Text markupQuestion(const std::vector<MarkupWarning>& warnings, Lang lang) {
    Text places;
    for (const auto& w : warnings)
        places += msg::task::markupPlace.in(lang, {w.field, w.text});
    return msg::task::markupQuestion.in(lang, {places});
}

} // namespace kavo::tasks
