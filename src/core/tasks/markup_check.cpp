// SPDX-License-Identifier: MIT
#include "core/tasks/markup_check.hpp"

#include "core/common/messages.hpp"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

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

bool isKnownElement(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return std::find(std::begin(knownElements), std::end(knownElements), lower) !=
           std::end(knownElements);
}

// Whether the "<" at `at` begins a tag that the browser takes whole: a known element
// (opening or closing) or a comment, closed by ">" ("-->" for a comment). Any other "<!"
// (a doctype, "<!b>") is hidden by the browser up to its ">": the teacher is asked.
bool beginsTag(std::string_view text, std::size_t at) {
    const auto rest = text.substr(at + 1);
    if (rest.starts_with("!--"))
        return text.find("-->", at + 4) != std::string_view::npos;
    const std::size_t start = at + 1 + (rest.starts_with("/") ? 1 : 0);
    std::size_t end = start;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    if (end == start || !isKnownElement(text.substr(start, end - start)))
        return false;
    if (end < text.size() &&
        std::string_view(" \t\r\n>/").find(text[end]) == std::string_view::npos)
        return false;
    return text.find('>', end) != std::string_view::npos;
}

Text around(std::string_view text, std::size_t at) {
    const std::size_t from = at > 10 ? at - 10 : 0;
    Text stretch(text.substr(from, 30));
    std::replace(stretch.begin(), stretch.end(), '\r', ' ');
    std::replace(stretch.begin(), stretch.end(), '\n', ' ');
    return stretch;
}

} // namespace

std::vector<std::size_t> strayLessThan(std::string_view text) {
    std::vector<std::size_t> stray;
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        // Only a letter, "/" or "!" can open a tag; "<%" is the web system's own.
        if ((isLetter(next) || next == '/' || next == '!') && !beginsTag(text, at))
            stray.push_back(at);
    }
    return stray;
}

std::vector<MarkupWarning> markupWarnings(const model::Task& task, Lang lang) {
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
    check([&] { return msg::task::fieldCondition.in(lang); }, task.condition);
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
