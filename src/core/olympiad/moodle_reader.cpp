// SPDX-License-Identifier: MIT
#include "core/olympiad/moodle_reader.hpp"
#include "core/common/codepage.hpp"

#include "core/common/messages.hpp"
#include "core/common/text.hpp"
#include "core/olympiad/page_text.hpp"
#include "core/olympiad/source_text.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

namespace kavo::olympiad {

namespace {

namespace m = kavo::msg::olympiad;

// The bytes of the file by lines, for the columns of elements (libxml2 keeps lines only).
class Lines {
  public:
    explicit Lines(std::string_view bytes) : bytes_(bytes) {
        starts_.push_back(0);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n')
                starts_.push_back(i + 1);
    }
    std::string_view line(long number) const {
        if (number < 1 || static_cast<std::size_t>(number) > starts_.size())
            return {};
        const auto begin = starts_[static_cast<std::size_t>(number - 1)];
        const auto end = static_cast<std::size_t>(number) < starts_.size()
                             ? starts_[static_cast<std::size_t>(number)]
                             : bytes_.size();
        return bytes_.substr(begin, end - begin);
    }
    // The line of a byte offset, from 1.
    int lineOf(std::size_t offset) const {
        return static_cast<int>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                starts_.begin());
    }
    // The place of an element: its line, and the column (in characters) of "<name" there.
    SourcePos posOf(long line, std::string_view name) const {
        const auto text = this->line(line);
        const auto at = text.find("<" + std::string(name));
        int column = 1;
        if (at != std::string_view::npos)
            for (std::size_t i = 0; i < at; ++i)
                column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        return {static_cast<int>(std::max(1L, line)), column};
    }

  private:
    std::string_view bytes_;
    std::vector<std::size_t> starts_;
};

struct ParseState {
    std::optional<Problem> failure;
};

void onError(void* data, xmlErrorPtr error) {
    auto* state = static_cast<ParseState*>(data);
    if (!error || error->level < XML_ERR_ERROR || state->failure)
        return;
    std::string text = error->message ? error->message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    state->failure = Problem{Severity::Error,
                             {std::max(1, error->line), std::max(1, error->int2)},
                             {m::xmlNotWellFormed, {text}}};
}

// The offset of a document type declaration in the prolog (before the root element), if
// there is one. A document type is where entities (billion laughs) and external files come
// from: Moodle XML never has one, so the file is refused before the parser sees it.
std::optional<std::size_t> doctypeAt(std::string_view bytes) {
    std::size_t i = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (true) {
        i = bytes.find_first_not_of(" \t\r\n", i);
        if (i == std::string_view::npos)
            return std::nullopt;
        const auto rest = bytes.substr(i);
        std::size_t end = std::string_view::npos;
        std::string_view close;
        if (rest.starts_with("<?"))
            end = bytes.find(close = "?>", i + 2);
        else if (rest.starts_with("<!--"))
            end = bytes.find(close = "-->", i + 4);
        else if (rest.starts_with("<!DOCTYPE"))
            return i;
        else
            return std::nullopt;
        if (end == std::string_view::npos)
            return std::nullopt; // not well-formed: the parser says where
        i = end + close.size();
    }
}

struct ReaderFree {
    void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};

std::string_view nameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

const xmlNode* child(const xmlNode* node, std::string_view name) {
    for (const xmlNode* c = node ? node->children : nullptr; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && nameOf(c) == name)
            return c;
    return nullptr;
}

std::vector<const xmlNode*> children(const xmlNode* node, std::string_view name) {
    std::vector<const xmlNode*> out;
    for (const xmlNode* c = node ? node->children : nullptr; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && nameOf(c) == name)
            out.push_back(c);
    return out;
}

std::string contentOf(const xmlNode* node) {
    if (!node)
        return {};
    xmlChar* content = xmlNodeGetContent(node);
    std::string out = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return out;
}

std::string attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string out = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

std::string trimmed(std::string_view s) {
    const auto a = s.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos)
        return {};
    const auto b = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(a, b - a + 1));
}

// The text of <element><text>...</text></element>.
std::string textOf(const xmlNode* node) {
    return contentOf(child(node, "text"));
}

TextFormat formatOf(const xmlNode* node, TextFormat otherwise) {
    const auto format = attribute(node, "format");
    if (format == "html")
        return TextFormat::Html;
    if (format == "moodle_auto_format")
        return TextFormat::Moodle;
    if (format == "plain_text")
        return TextFormat::Plain;
    if (format == "markdown")
        return TextFormat::Markdown;
    return otherwise;
}

std::optional<double> numberOf(std::string_view text) {
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isFull(double weight) {
    return std::abs(weight - 100) < 1e-6;
}

// Whether a short answer holds Moodle's wildcard: a '*' not written "\*".
bool hasWildcard(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        else if (text[i] == '*')
            return true;
    }
    return false;
}

// A cloze gap {N:TYPE:answers}: its place in the text and its answers, escapes resolved.
struct Gap {
    std::size_t begin = 0, end = 0; // end: after the '}'
    std::string type;
    std::vector<std::pair<double, std::string>> answers; // weight and text
    bool wildcard = false;
};

std::vector<Gap> gapsOf(const std::string& text) {
    std::vector<Gap> gaps;
    std::size_t i = 0;
    while ((i = text.find('{', i)) != std::string::npos) {
        std::size_t j = i + 1;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9')
            ++j;
        std::size_t typeEnd =
            j < text.size() && text[j] == ':' ? text.find(':', j + 1) : std::string::npos;
        if (typeEnd == std::string::npos || typeEnd - j > 20) {
            ++i;
            continue;
        }
        Gap gap;
        gap.begin = i;
        gap.type = text.substr(j + 1, typeEnd - j - 1);
        // Answers separated by '~', each "=text", "%W%text" or "text", feedback after '#'.
        std::string current;
        bool feedback = false;
        std::size_t k = typeEnd + 1;
        auto finish = [&] {
            std::string a = current;
            double weight = 0;
            if (a.starts_with("=")) {
                weight = 100;
                a.erase(0, 1);
            } else if (a.starts_with("%")) {
                const auto close = a.find('%', 1);
                if (close != std::string::npos) {
                    weight = numberOf(a.substr(1, close - 1)).value_or(0);
                    a.erase(0, close + 1);
                }
            }
            gap.answers.emplace_back(weight, a);
            current.clear();
            feedback = false;
        };
        std::string raw; // the answer as written, escapes kept, for the wildcard
        for (; k < text.size() && text[k] != '}'; ++k) {
            if (text[k] == '\\' && k + 1 < text.size()) {
                if (!feedback)
                    current += text[k + 1];
                raw += text.substr(k, 2);
                ++k;
            } else if (text[k] == '~') {
                gap.wildcard = gap.wildcard || hasWildcard(raw);
                raw.clear();
                finish();
            } else if (text[k] == '#') {
                feedback = true;
            } else if (!feedback) {
                current += text[k];
                raw += text[k];
            }
        }
        if (k >= text.size())
            break;
        gap.wildcard = gap.wildcard || hasWildcard(raw);
        finish();
        gap.end = k + 1;
        gaps.push_back(std::move(gap));
        i = k + 1;
    }
    return gaps;
}

class Reader {
  public:
    Reader(const Lines& lines, std::vector<Problem>& problems, const ImportOptions& options,
           std::size_t& severalAccepted)
        : lines_(lines), problems_(problems), options_(options), severalAccepted_(severalAccepted) {
    }

    void question(const xmlNode* node, std::vector<GiftItem>& items);

  private:
    SourcePos pos(const xmlNode* node) const {
        return lines_.posOf(xmlGetLineNo(node), nameOf(node));
    }
    void problem(Severity severity, SourcePos at, Note note) {
        problems_.push_back({severity, at, std::move(note)});
    }
    void answers(const xmlNode* node, GiftQuestion& q, TextFormat format);
    void cloze(const xmlNode* node, GiftQuestion& head, std::vector<GiftItem>& items);

    const Lines& lines_;
    std::vector<Problem>& problems_;
    const ImportOptions& options_;
    std::size_t& severalAccepted_;
};

// Whether any feedback of the question has text: a task has none.
bool hasFeedback(const xmlNode* node) {
    for (const char* name :
         {"generalfeedback", "correctfeedback", "partiallycorrectfeedback", "incorrectfeedback"})
        if (!trimmed(textOf(child(node, name))).empty())
            return true;
    for (const auto* a : children(node, "answer"))
        if (!trimmed(textOf(child(a, "feedback"))).empty())
            return true;
    for (const auto* h : children(node, "hint"))
        if (!trimmed(textOf(h)).empty())
            return true;
    return false;
}

void Reader::answers(const xmlNode* node, GiftQuestion& q, TextFormat format) {
    for (const auto* a : children(node, "answer")) {
        GiftAnswer answer;
        answer.pos = pos(a);
        answer.text.pos = answer.pos;
        answer.text.format = formatOf(a, format);
        answer.text.text = textOf(a);
        answer.marker = '~';
        if (const auto weight = numberOf(attribute(a, "fraction")); weight && *weight != 0)
            answer.weight = weight;
        q.answers.push_back(std::move(answer));
    }
}

void Reader::question(const xmlNode* node, std::vector<GiftItem>& items) {
    const std::string type = attribute(node, "type");
    const SourcePos at = pos(node);
    if (type == "category") {
        std::string path = trimmed(textOf(child(node, "category")));
        // "$course$/top/kavo/parts/5,3,2": the context and "top" are Moodle's own.
        if (path.starts_with("$"))
            path.erase(0, path.find('/') == std::string::npos ? path.size() : path.find('/') + 1);
        if (path.starts_with("top/"))
            path.erase(0, 4);
        items.push_back(GiftCategory{path, at});
        return;
    }
    GiftQuestion q;
    q.pos = at;
    q.blockPos = at;
    q.title = trimmed(textOf(child(node, "name")));
    q.titlePos = at;
    const xmlNode* text = child(node, "questiontext");
    q.stem.format = formatOf(text, TextFormat::Html);
    q.stem.text = textOf(text);
    q.stem.pos = at;
    q.feedback = hasFeedback(node);
    if (!children(text, "file").empty())
        problem(Severity::Warning, at, {m::filesDropped, {}});

    if (type == "description") {
        q.kind = AnswerKind::None;
    } else if (type == "essay") {
        q.kind = AnswerKind::Essay;
    } else if (type == "matching") {
        q.kind = AnswerKind::Matching;
    } else if (type == "truefalse") {
        q.kind = AnswerKind::TrueFalse;
        double right = -1;
        for (const auto* a : children(node, "answer")) {
            const auto weight = numberOf(attribute(a, "fraction")).value_or(0);
            if (weight > right) {
                right = weight;
                q.truth = trimmed(textOf(a)) == "true";
            }
        }
    } else if (type == "multichoice") {
        q.kind = AnswerKind::Choice;
        answers(node, q, TextFormat::Html);
        const std::string single = trimmed(contentOf(child(node, "single")));
        if (single != "false" && single != "0") {
            bool right = false;
            for (auto& a : q.answers)
                if (a.weight && isFull(*a.weight)) {
                    a.marker = '=';
                    a.weight.reset();
                    right = true;
                }
            if (!right) {
                problem(Severity::LeftOut, at, {m::singleNoRight, {}});
                return;
            }
        }
    } else if (type == "shortanswer" || type == "numerical") {
        q.kind = type == "numerical" ? AnswerKind::Numeric : AnswerKind::Short;
        answers(node, q, TextFormat::Moodle);
        for (std::size_t i = 0; i < q.answers.size(); ++i) {
            auto& a = q.answers[i];
            a.text.text = trimmed(a.text.text); // Moodle trims what is typed too
            a.marker = '=';
            if (!a.weight)
                a.weight = 0.0; // Moodle gives no credit to an answer of fraction 0
            if (q.kind == AnswerKind::Numeric) {
                const auto* element = children(node, "answer")[i];
                const auto tolerance = trimmed(contentOf(child(element, "tolerance")));
                if (!tolerance.empty() && numberOf(tolerance) != 0.0)
                    a.text.text += ":" + tolerance;
                continue;
            }
            if (*a.weight > 0 && hasWildcard(a.text.text)) {
                problem(Severity::LeftOut, at, {m::wildcard, {a.text.text}});
                return;
            }
            a.text.text = replaceAll(a.text.text, "\\*", "*");
        }
        const auto usecase = trimmed(contentOf(child(node, "usecase")));
        if (q.kind == AnswerKind::Short && usecase != "1")
            problem(Severity::Warning, at, {m::caseSensitive, {}});
    } else if (type == "cloze") {
        cloze(node, q, items);
        return;
    } else {
        problem(Severity::LeftOut, at, {m::unfitType, {type}});
        return;
    }
    items.push_back(std::move(q));
}

// A cloze of typed gaps as an Edits task: our own export's layout ("\n<p>A) question
// {1:SHORTANSWER_C:=answer}</p>" after the main condition) comes back as it was; any other
// gives the main condition before the line of the first gap and a sub-question per gap.
void Reader::cloze(const xmlNode* node, GiftQuestion& head, std::vector<GiftItem>& items) {
    const std::string text = head.stem.text;
    const auto gaps = gapsOf(text);
    const SourcePos at = head.pos;
    if (gaps.size() < 2 || gaps.size() > 4) {
        problem(Severity::LeftOut, at, {m::clozeGaps, {std::to_string(gaps.size())}});
        return;
    }
    bool ignoringCase = false;
    std::vector<std::string> answers;
    for (const auto& gap : gaps) {
        const bool exact = gap.type == "SHORTANSWER_C" || gap.type == "SAC";
        if (!exact && gap.type != "SHORTANSWER" && gap.type != "SA" && gap.type != "MW") {
            problem(Severity::LeftOut, at, {m::clozeGapKind, {gap.type}});
            return;
        }
        ignoringCase = ignoringCase || !exact;
        if (gap.wildcard) {
            problem(Severity::LeftOut, at, {m::wildcard, {gap.answers.front().second}});
            return;
        }
        std::vector<std::string> accepted;
        for (const auto& [weight, answer] : gap.answers)
            if (isFull(weight))
                accepted.push_back(answer);
        if (accepted.empty()) {
            problem(Severity::LeftOut, at, {m::twoTyped, {"0"}});
            return;
        }
        if (accepted.size() > 1) {
            ++severalAccepted_;
            if (!options_.firstAnswer) {
                problem(Severity::LeftOut, at, {m::twoTyped, {std::to_string(accepted.size())}});
                return;
            }
            std::string others;
            for (std::size_t i = 1; i < accepted.size(); ++i)
                others += (i > 1 ? ", \"" : "\"") + accepted[i] + "\"";
            problem(Severity::Warning, at, {m::firstKept, {accepted[0], others}});
        }
        answers.push_back(accepted[0]);
    }
    if (ignoringCase)
        problem(Severity::Warning, at, {m::caseSensitive, {}});

    // Our own layout first.
    std::vector<std::string> questions;
    std::size_t conditionEnd = text.rfind("\n<p>A) ", gaps[0].begin);
    bool own = conditionEnd != std::string::npos;
    for (std::size_t i = 0; own && i < gaps.size(); ++i) {
        const std::string label = "<p>" + std::string(1, static_cast<char>('A' + i)) + ") ";
        const std::size_t from = i == 0 ? conditionEnd + 1 : gaps[i - 1].end;
        const std::string lead = i == 0 ? label : "</p>\n" + label;
        own = text.compare(from, lead.size(), lead) == 0 &&
              gaps[i].begin >= from + lead.size() + 1 && text[gaps[i].begin - 1] == ' ';
        if (own)
            questions.push_back(
                text.substr(from + lead.size(), gaps[i].begin - 1 - from - lead.size()));
    }
    own = own && text.substr(gaps.back().end) == "</p>";
    if (!own) {
        questions.clear();
        const auto lineStart = text.rfind('\n', gaps[0].begin);
        conditionEnd = lineStart == std::string::npos ? gaps[0].begin : lineStart;
        for (std::size_t i = 0; i < gaps.size(); ++i) {
            const std::size_t from = i == 0 ? conditionEnd : gaps[i - 1].end;
            std::string q = trimmed(text.substr(from, gaps[i].begin - from)) + " _____";
            if (i + 1 == gaps.size())
                q += " " + trimmed(text.substr(gaps[i].end));
            questions.push_back(trimmed(q));
        }
    }

    head.stem.text = trimmed(text.substr(0, conditionEnd));
    head.kind = AnswerKind::None;
    head.options.push_back({"edits", std::nullopt, at});
    // The question's name is the Edits task's name, which every Edits task needs.
    const std::string name = head.title.value_or("");
    if (!name.empty() && !looksLikePath(name))
        head.options.push_back({"name", name, at});
    const auto format = head.stem.format;
    const std::string title = head.title.value_or("");
    items.push_back(std::move(head));
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        GiftQuestion sub;
        sub.pos = sub.blockPos = sub.titlePos = at;
        sub.options.push_back({"sub", std::nullopt, at});
        sub.title = title;
        sub.stem = {questions[i], format, at};
        sub.kind = AnswerKind::Short;
        GiftAnswer answer;
        answer.pos = at;
        answer.text = {answers[i], TextFormat::Plain, at};
        sub.answers.push_back(std::move(answer));
        items.push_back(std::move(sub));
    }
    (void)node;
}

// The encoding the XML declaration names, lowercase; empty when it names none.
std::string declaredEncoding(std::string_view bytes) {
    if (!bytes.starts_with("<?xml"))
        return {};
    const auto end = bytes.find("?>");
    const auto decl = bytes.substr(0, end);
    const auto at = decl.find("encoding");
    if (at == std::string_view::npos)
        return {};
    const auto quote = decl.find_first_of("\"'", at);
    if (quote == std::string_view::npos)
        return {};
    const auto close = decl.find(decl[quote], quote + 1);
    std::string name(
        decl.substr(quote + 1, close == std::string_view::npos ? 0 : close - quote - 1));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return name;
}

// The text must be in the code page it declares: the bytes of another one would be read
// as wrong letters without a word.
bool encodingMatches(std::string_view bytes, const Lines& lines, std::vector<Problem>& problems) {
    std::string_view body = bytes;
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    const std::string declared = declaredEncoding(body);
    const std::size_t offset = bytes.size() - body.size();
    const bool utf8 = declared.empty() || declared == "utf-8" || declared == "utf8";
    if (utf8 || offset > 0) {
        // Line by line, to name the first line that is not UTF-8.
        std::size_t begin = offset;
        while (begin < bytes.size()) {
            const auto end = std::min(bytes.find('\n', begin), bytes.size());
            if (!isValidUtf8(bytes.substr(begin, end - begin))) {
                problems.push_back(
                    {Severity::Error, {lines.lineOf(begin), 1}, {m::xmlNotUtf8, {}}});
                return false;
            }
            begin = end + 1;
        }
        return true;
    }
    if (declared.starts_with("utf-16") || declared.starts_with("ucs"))
        return true; // libxml2 reads these, and says so when the bytes are not
    const auto high = std::find_if(body.begin(), body.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (high != body.end() && isValidUtf8(body)) {
        problems.push_back(
            {Severity::Error,
             {lines.lineOf(offset + static_cast<std::size_t>(high - body.begin())), 1},
             {m::xmlIsUtf8, {declared}}});
        return false;
    }
    return true;
}

} // namespace

std::vector<GiftItem> readMoodleXml(std::string_view bytes, std::vector<Problem>& problems,
                                    const ImportOptions& options, std::size_t& severalAccepted) {
    std::vector<GiftItem> items;
    const Lines lines(bytes);
    if (!encodingMatches(bytes, lines, problems))
        return items;

    if (const auto doctype = doctypeAt(bytes)) {
        problems.push_back({Severity::Error, {lines.lineOf(*doctype), 1}, {m::xmlDoctype, {}}});
        return items;
    }
    // One question at a time, each freed before the next: memory stays that of a question.
    // No network, no entity expansion, no DTD loading; CDATA read as text; lines above 65535.
    ParseState state;
    std::unique_ptr<xmlTextReader, ReaderFree> xml(
        xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOCDATA | XML_PARSE_BIG_LINES |
                               XML_PARSE_NOWARNING | XML_PARSE_COMPACT));
    if (!xml)
        throw std::bad_alloc();
    xmlTextReaderSetStructuredErrorHandler(xml.get(), onError, &state);
    auto failed = [&] {
        problems.push_back(
            state.failure.value_or(Problem{Severity::Error, {1, 1}, {m::xmlNotWellFormed, {"?"}}}));
        items.clear();
        return items;
    };
    int step = 0;
    while ((step = xmlTextReaderRead(xml.get())) == 1 &&
           xmlTextReaderNodeType(xml.get()) != XML_READER_TYPE_ELEMENT) {
    }
    if (step != 1)
        return failed();
    const std::string root = reinterpret_cast<const char*>(xmlTextReaderConstName(xml.get()));
    if (root != "quiz") {
        problems.push_back({Severity::Error,
                            lines.posOf(xmlGetLineNo(xmlTextReaderCurrentNode(xml.get())), root),
                            {m::xmlNotQuiz, {root}}});
        return items;
    }
    Reader reader(lines, problems, options, severalAccepted);
    const auto before = problems.size();
    step = xmlTextReaderRead(xml.get());
    while (step == 1) {
        const bool question =
            xmlTextReaderNodeType(xml.get()) == XML_READER_TYPE_ELEMENT &&
            xmlTextReaderDepth(xml.get()) == 1 &&
            std::string_view(reinterpret_cast<const char*>(xmlTextReaderConstName(xml.get()))) ==
                "question";
        if (!question) {
            step = xmlTextReaderRead(xml.get());
            continue;
        }
        const xmlNode* node = xmlTextReaderExpand(xml.get());
        if (!node)
            break;
        reader.question(node, items);
        step = xmlTextReaderNext(xml.get());
    }
    if (step != 0 || state.failure) {
        // The rows of a file that cannot be read say nothing.
        problems.erase(problems.begin() + static_cast<std::ptrdiff_t>(before), problems.end());
        return failed();
    }
    return items;
}

} // namespace kavo::olympiad
